; The installer of 3D Mereflow: puts the saver where the display control panel looks for 32-bit
; savers, offers to make it the current one, and registers an uninstaller.
;
; makensis /DVERSION=x.y.z /DSAVER=path\to\mereflow.scr /DREADME=path\to\README.txt
;          /DLICENSE=path\to\LICENSE.txt /DOUTFILE=path\to\setup.exe mereflow.nsi
; Silent install: setup.exe /S (add /CURRENT to make it the current saver as well).
; Silent uninstall: Uninstall.exe /S (add /SETTINGS to remove the settings as well).

Unicode true
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "3D Mereflow"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mereflow"
!define SETTINGS_KEY "Software\Quorvane\ss\dr\10"
; Where Windows keeps the settings of users without administrator rights: a 32-bit program's
; copy lies under WOW6432Node on 64-bit Windows.
!define VIRTUAL_STORE_KEY "Software\Classes\VirtualStore\MACHINE\SOFTWARE\Quorvane\ss\dr\10"
!define VIRTUAL_STORE_WOW_KEY "Software\Classes\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\Quorvane\ss\dr\10"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Quorvane"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Quorvane, MIT licence"

; A silent install (/S) shows no page, so it needs no answer here either.
LicenseData "${LICENSE}"
Page license
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
    ; The installer is a 32-bit program, so on 64-bit Windows file-system redirection sends
    ; $SYSDIR to SysWOW64: the folder whose savers the control panel runs as 32-bit programs.
    SetOutPath "$SYSDIR"
    File "/oname=mereflow.scr" "${SAVER}"

    SetOutPath "$INSTDIR"
    File "/oname=README.txt" "${README}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quorvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\mereflow.scr"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/CURRENT" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION "Make ${PRODUCT} your screen saver?" /SD IDNO IDNO done
    ${EndIf}
    WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" "$SYSDIR\mereflow.scr"
    WriteRegStr HKCU "Control Panel\Desktop" "ScreenSaveActive" "1"
    done:
SectionEnd

Section "Uninstall"
    Delete "$SYSDIR\mereflow.scr"
    ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
    ${If} $0 == "$SYSDIR\mereflow.scr"
        DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
    ${EndIf}

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SETTINGS" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION "Remove the settings of ${PRODUCT} too?" /SD IDNO IDNO kept
    ${EndIf}
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Quorvane\ss\dr"
    DeleteRegKey /ifempty HKLM "Software\Quorvane\ss"
    DeleteRegKey /ifempty HKLM "Software\Quorvane"
    DeleteRegKey HKCU "${VIRTUAL_STORE_KEY}"
    DeleteRegKey HKCU "${VIRTUAL_STORE_WOW_KEY}"
    kept:

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd

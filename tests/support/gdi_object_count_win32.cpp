// Counting the process's live GDI objects, for the handle-leak tests.
#include <windows.h>

#include "support/gdi_object_count_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// NOTE: Wine's GetGuiResources is a stub that returns 0. Wine keeps its GDI handle table where
// the process can read it (the PEB's GdiSharedHandleTable): 24-byte entries, the handle's upper
// word at offset 12 and the object type at offset 14. A slot counts only when GetObjectType
// accepts the handle rebuilt from it.
int countGdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return static_cast<int>(reported);
    }
    constexpr size_t kEntryBytes = 24;
    constexpr size_t kEntryCount = 0x10000;
    // NOTE: read the PEB's address straight from the TEB; NtCurrentTeb() trips GCC 12's
    // array-bounds warning in the mingw-w64 headers.
    const uint8_t* peb = nullptr;
#if defined(__i386__)
    constexpr size_t kPebHandleTableOffset = 0x94;
    asm("movl %%fs:0x30, %0" : "=r"(peb));
#else
    constexpr size_t kPebHandleTableOffset = 0xF8;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
#endif
    const uint8_t* table = nullptr;
    std::memcpy(&table, peb + kPebHandleTableOffset, sizeof table);
    if (table == nullptr) {
        return -1;
    }
    MEMORY_BASIC_INFORMATION region = {};
    VirtualQuery(table, &region, sizeof region);
    const size_t readable =
        static_cast<const uint8_t*>(region.BaseAddress) + region.RegionSize - table;
    const size_t entries = std::min(kEntryCount, readable / kEntryBytes);
    int count = 0;
    for (size_t index = 0; index < entries; ++index) {
        const uint8_t* entry = table + index * kEntryBytes;
        if (entry[14] == 0) {
            continue;
        }
        uint16_t upper = 0;
        std::memcpy(&upper, entry + 12, sizeof upper);
        const uintptr_t handle = index | (static_cast<uintptr_t>(upper) << 16);
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0) {
            ++count;
        }
    }
    return count;
}

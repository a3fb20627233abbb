// The configuration dialog's controls and the settings they edit, for the dialog's own files.
#pragma once

#include <windows.h>

#include "settings/slider_binding.h"

// The trackbar and static-text calls of the dialog's sliders.
SliderControls dialogSliderControls(HWND dialog);

// Appends the dialog's four slider bindings to the process's list.
void addDialogSliderBindings();

// Reads an edit's text into its real setting; false when the id is not a bound edit's.
bool readEditSetting(HWND dialog, int controlId);

// Inverts a check box's flag; false when the id is not a bound check box's.
bool toggleCheckBoxSetting(int controlId);

// Takes the Width or Height list's selection into its setting when the notification says the
// user changed it; false for any other id.
bool readTextureSizeSetting(HWND dialog, int controlId, int notification);

// The user confirmed an entry of the Source Texture list.
void chooseSourceTexture(HWND dialog);

// Shows the custom picture path in the status line, or the empty text.
void setStatusLine(HWND dialog, bool showPath);

// Repaints the colour swatches, and the colour chooser for swatch 1123 or 1124.
void repaintSwatches(HWND dialog);
void chooseSwatchColor(HWND dialog, int swatchId);

// Paints both swatches when the dialog has something to update; returns FALSE as dialogs do.
INT_PTR paintSwatches(HWND dialog);

// Lets the user pick the custom picture; the path changes only when the user confirms a file.
void choosePictureFile(HWND dialog);

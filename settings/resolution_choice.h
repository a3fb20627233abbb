// The Change Resolution dialog's rules: which modes it lists, what it selects, what OK stores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Positions of the mode list's two fixed items; the display's modes follow from position 2.
constexpr int kCurrentResolutionItem = 0;
constexpr int kCustomResolutionItem = 1;
constexpr int kFirstModeItem = 2;

// A mode's item text, "%ldx%ldx%ld" of width, height and bits per pixel. Returns an empty text
// for modes of 8 bits per pixel or fewer, which the list leaves out.
std::string modeItemText(uint32_t width, uint32_t height, uint32_t bitsPerPixel);

// The item to select when the dialog opens, from the display settings and every item's text:
// "Current Resolution" when any of the three is 0, otherwise the last item that reads exactly
// like the three settings, or "Custom (Enter below)" when none does.
int initialModeItem(int32_t width, int32_t height, int32_t depth,
                    const std::vector<std::string>& itemTexts);

// Applies OK's rule to the display settings: the current mode stores 0, 0, 0; the custom item
// or no selection (a negative one) keeps what the edit boxes stored; a listed mode stores the
// numbers its text reads.
void storeModeChoice(int selectedItem, const std::string& selectedText);

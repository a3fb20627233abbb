// Common colour names, for a host without an X server to ask: the values X gives them.
#pragma once

#include <cstdint>
#include <string>

// The colour of a common name ("red", "Dark Gray"), case and spaces aside; false for any other
// name, which only the X server knows.
bool lookUpCommonColor(const std::string& name, uint8_t rgb[3]);

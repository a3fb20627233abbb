// Loading and storing the settings under the registry key.
#pragma once

// Puts the defaults in place, then overlays whatever the store holds. Returns true when the
// key was opened and its marker value read; callers may ignore the result.
bool loadSettings();

// Writes the whole settings record; failures are silent.
void saveSettings();

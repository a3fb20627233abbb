// loadSettings and saveSettings on the settings key under HKEY_LOCAL_MACHINE.
#include <windows.h>

#include "settings/registry_store.h"
#include "settings/saver_settings.h"
#include "settings/settings_values.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Quorvane\\ss\\dr\\10";

// Reads one value into its field. Any stored type is accepted if the data fits the encoding;
// a value that is missing or too long leaves the field as it was.
bool readValue(HKEY key, const SettingsValue& value) {
    // NOTE: the query lands in a buffer of our own: after a failed query (ERROR_MORE_DATA) the
    // buffer's contents are undefined, and the field must keep its value.
    BYTE data[kPathBufferSize] = {};
    DWORD size = valueCapacity(value);
    if (RegQueryValueExA(key, value.name, nullptr, nullptr, data, &size) != ERROR_SUCCESS) {
        return false;
    }
    return decodeValue(saverSettings, value, data, size);
}

void writeValue(HKEY key, const SettingsValue& value) {
    const ValueData data = encodeValue(saverSettings, value);
    const DWORD type = value.encoding == ValueEncoding::kPath ? REG_SZ : REG_DWORD;
    RegSetValueExA(key, value.name, 0, type, data.bytes, data.size);
}

} // namespace

bool loadSettings() {
    applyDefaults();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    // Without its marker the key counts as absent, whatever else it holds.
    const bool marked = readValue(key, kSettingsValues[0]);
    for (int i = 1; marked && i < kSettingsValueCount; ++i) {
        readValue(key, kSettingsValues[i]);
    }
    RegCloseKey(key);
    return marked;
}

void saveSettings() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (const SettingsValue& value : kSettingsValues) {
        writeValue(key, value);
    }
    RegCloseKey(key);
}

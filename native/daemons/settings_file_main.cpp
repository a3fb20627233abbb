// Writes mereflow.xml, the settings file of the daemon's settings dialog, to standard output.
#include "native/daemons/settings_file.h"

#include <cstdio>

int main() {
    const std::string xml = settingsFileXml();
    return std::fwrite(xml.data(), 1, xml.size(), stdout) == xml.size() ? 0 : 1;
}

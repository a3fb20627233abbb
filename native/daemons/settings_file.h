// The settings file of the daemon's settings dialog, made from the option table.
#pragma once

#include <string>

// mereflow.xml: the command the daemon runs, then one element per option that the dialog shows.
std::string settingsFileXml();

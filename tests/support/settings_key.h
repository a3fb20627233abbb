// The registry key the settings live under, written out here on purpose rather than taken
// from the program, so that a slip in the program's own key fails the tests.
#pragma once

constexpr char kTestSettingsKey[] = "Software\\Quorvane\\ss\\dr\\10";

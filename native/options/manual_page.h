// The manual page, mereflow.6, made from the option table.
#pragma once

#include <string>

// mereflow.6 in the man macros: NAME, SYNOPSIS, DESCRIPTION, OPTIONS (one entry per row of
// --help), ENVIRONMENT, EXIT STATUS and FILES. version goes into the page's title line.
std::string manualPage(const std::string& version);

// Writes mereflow.6, the manual page, to standard output.
#include "native/options/manual_page.h"

#include <cstdio>

int main() {
    const std::string page = manualPage(MEREFLOW_VERSION);
    return std::fwrite(page.data(), 1, page.size(), stdout) == page.size() ? 0 : 1;
}

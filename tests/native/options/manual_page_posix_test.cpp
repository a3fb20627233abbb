#include "native/options/manual_page.h"

#include "native/options/saver_options.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// What a command prints on standard output, and its exit status.
std::string output(const std::string& command, int& status) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return text;
    }
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
    status = pclose(pipe);
    return text;
}

// Whether the text holds the word on its own, not as part of a longer one.
bool holdsWord(const std::string& text, const std::string& word) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const char after = at + word.size() < text.size() ? text[at + word.size()] : ' ';
        if ((at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1]))) &&
            !std::isalnum(static_cast<unsigned char>(after)) && after != '-') {
            return true;
        }
    }
    return false;
}

// groff as man runs it, with every warning on, and the page as plain text.
TEST(ManualPage, TheManualPageRendersWithoutWarnings) {
    const std::string path = ::testing::TempDir() + "mereflow_manual.6";
    std::ofstream(path) << manualPage("1.2.3");
    int status = 0;
    EXPECT_EQ(output("groff -man -ww -z " + path + " 2>&1", status), "");
    EXPECT_EQ(status, 0);
    const std::string text = output("groff -man -Tascii -P-cbou " + path + " 2>&1", status);
    ASSERT_EQ(status, 0);
    EXPECT_NE(text.find("Mereflow 1.2.3"), std::string::npos);
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "ENVIRONMENT",
                                "EXIT STATUS", "FILES", "XSCREENSAVER_WINDOW", "~/.xscreensaver"}) {
        EXPECT_NE(text.find(section), std::string::npos) << section;
    }
    for (int i = 0; i < kSaverOptionCount; ++i) {
        const std::string name = std::string("-") + kSaverOptions[i].name;
        EXPECT_TRUE(holdsWord(text, name)) << name;
    }
}

} // namespace

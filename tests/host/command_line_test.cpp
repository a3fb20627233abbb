#include "host/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr WindowNumber kWindow = 1234;
constexpr WindowNumber kForeground = 777;

bool fakeIsWindow(WindowNumber window) {
    return window == kWindow;
}

WindowNumber fakeForeground() {
    return kForeground;
}

const WindowChecks kChecks = {fakeIsWindow, fakeForeground};

struct CommandRow {
    const char* arguments;
    bool onWin9x;
    HostMode mode;
    WindowNumber window;
};

const CommandRow kCommandForms[] = {
    {"", false, HostMode::Configure, 0},
    {"/s", false, HostMode::Saver, 0},
    {"-s", false, HostMode::Saver, 0},
    {"s", false, HostMode::Saver, 0},
    {"/S", false, HostMode::Saver, 0},
    {"  /s 1234 trailing words", false, HostMode::Saver, 0},
    {"-/-/s", false, HostMode::Saver, 0},
    {"/ - /s", false, HostMode::Saver, 0},
    {"/p 1234", false, HostMode::Preview, kWindow},
    {"/l 1234", false, HostMode::Preview, kWindow},
    {"/P1234", false, HostMode::Preview, kWindow},
    {"-L    1234", false, HostMode::Preview, kWindow},
    {"/p", false, HostMode::Invalid, 0},
    {"/l", false, HostMode::Invalid, 0},
    {"/p 0", false, HostMode::Invalid, 0},
    {"/p 999", false, HostMode::Invalid, 0},
    {"/p\t1234", false, HostMode::Invalid, 0},
    {"/c", false, HostMode::Configure, kForeground},
    {"/C", false, HostMode::Configure, kForeground},
    {"/c:1234", false, HostMode::Configure, kWindow},
    {"/c:0", false, HostMode::Configure, kForeground},
    {"/c:x", false, HostMode::Configure, kForeground},
    {"/c:999", false, HostMode::Configure, kForeground},
    {"/c 1234", false, HostMode::Configure, kForeground},
    {"/c: 1234", false, HostMode::Configure, kForeground},
    {"/a 1234", true, HostMode::ChangePassword, kWindow},
    {"/A1234", true, HostMode::ChangePassword, kWindow},
    {"/a", true, HostMode::ChangePassword, kForeground},
    {"/a 0", true, HostMode::ChangePassword, kForeground},
    {"/a 999", true, HostMode::ChangePassword, kForeground},
    {"/a 1234", false, HostMode::Invalid, 0},
    {"/a", false, HostMode::Invalid, 0},
    {"/x", false, HostMode::Invalid, 0},
    {"1234", false, HostMode::Invalid, 0},
    {"\t/s", false, HostMode::Invalid, 0},
    {"/\ts", false, HostMode::Invalid, 0},
    {"\xE9", false, HostMode::Invalid, 0},
    {"/\x80s", false, HostMode::Invalid, 0},
    // 4294968530 is 2^32 + 1234: the number wraps and the wrapped value is what gets checked.
    {"/p 4294968530", false, HostMode::Preview, kWindow},
    {"/c:4294968530", false, HostMode::Configure, kWindow},
    {"/p 00000000000001234", false, HostMode::Preview, kWindow},
    {"/p 99999999999999999999", false, HostMode::Invalid, 0},
};

TEST(CommandLine, EachFormSelectsItsModeAndWindow) {
    for (const CommandRow& row : kCommandForms) {
        SCOPED_TRACE(std::string("\"") + row.arguments +
                     "\" on 9x: " + (row.onWin9x ? "yes" : "no"));
        const HostCommand command = readHostCommand(row.arguments, row.onWin9x, kChecks);
        EXPECT_EQ(command.mode, row.mode);
        EXPECT_EQ(command.window, row.window);
    }
}

TEST(CommandLine, NumbersStopAtTheFirstNonDigitAndWrap) {
    EXPECT_EQ(ParseWindowHandle("1234"), 1234u);
    EXPECT_EQ(ParseWindowHandle("12ab"), 12u);
    EXPECT_EQ(ParseWindowHandle(""), 0u);
    EXPECT_EQ(ParseWindowHandle(" 12"), 0u);
    EXPECT_EQ(ParseWindowHandle("-12"), 0u);
    EXPECT_EQ(ParseWindowHandle("+12"), 0u);
    EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
    EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
    EXPECT_EQ(ParseWindowHandle("12345678901"), 3755744309u);
}

struct ProgramNameRow {
    const char* commandLine;
    const char* arguments;
};

const ProgramNameRow kProgramNames[] = {
    {"\"C:\\Program Files\\My Savers\\mereflow.scr\" /s", "/s"},
    {"\"C:\\Program Files\\mereflow.scr\"/p 12", "/p 12"},
    {"C:\\WINDOWS\\MEREFL~1.SCR /c:42", "/c:42"},
    {"mereflow.scr", ""},
    {"", ""},
    {"\"C:\\unterminated path /s", ""},
    {"\"\" /s", "/s"},
    {"mereflow.scr\t \t/p 12", "/p 12"},
    {"   /s", "/s"},
    {"caf\xE9.scr /s", "/s"},
    {"mereflow.scr \x01\x1F /s", "/s"},
};

TEST(CommandLine, ProgramNameIsSkippedQuotedOrNot) {
    for (const ProgramNameRow& row : kProgramNames) {
        SCOPED_TRACE(row.commandLine);
        EXPECT_STREQ(skipProgramName(row.commandLine, nullptr), row.arguments);
    }
}

// A double-byte code page whose lead byte 0x81 swallows the byte after it, even a quote.
const char* doubleByteNext(const char* text) {
    if (*text == '\0') {
        return text;
    }
    if (static_cast<unsigned char>(*text) == 0x81 && text[1] != '\0') {
        return text + 2;
    }
    return text + 1;
}

TEST(CommandLine, ProgramNameIsSteppedByCharactersOfTheCodePage) {
    EXPECT_STREQ(skipProgramName("\"C:\\a\x81\"b.scr\" /s", doubleByteNext), "/s");
    EXPECT_STREQ(skipProgramName("\"C:\\a\x81\"b.scr\" /s", nullptr), "b.scr\" /s");
}

TEST(CommandLine, QuotedPathWithSpacesStillRunsFullScreen) {
    const char* arguments =
        skipProgramName("\"C:\\Program Files\\3D Mereflow\\mereflow.scr\" /s", nullptr);
    EXPECT_EQ(readHostCommand(arguments, false, kChecks).mode, HostMode::Saver);
}

} // namespace

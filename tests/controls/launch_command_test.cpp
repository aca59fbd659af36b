#include "controls/launch_command.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

TEST(LaunchCommandTest, CutsAtThePlaceholderAndAppendsTheUrlOrRefusesWhatDoesNotFit) {
    const std::string c300(300, 'c'), u217(217, 'u'); // 300 + 2 spaces + 217 + zero == 520
    // Enough of the lead bytes of code page 932 (Shift-JIS).
    const LeadBytePredicate sjis = [](unsigned char by) { return by >= 0x81 && by <= 0x9F; };
    // Registered command, URL, buffer size, lead bytes and the command line ("": refused).
    const std::tuple<std::string, std::string, std::size_t, LeadBytePredicate, std::string>
        cases[] = {
            {"\"C:\\b.exe\" \"%1\" -nohome", "http://a/", 520, nullptr, "\"C:\\b.exe\"  http://a/"},
            {"b.exe -url %1,0,0 /dde", "u", 520, nullptr, "b.exe -url  u"},
            {"b.exe %1 -x \"%1\" %1", "u", 520, nullptr, "b.exe %1 -x  u"}, // quoted first
            {"b.exe -new %2 %", "u", 520, nullptr, "b.exe -new %2 % u"},
            {c300 + " %1 tail", u217, 520, nullptr, c300 + "  " + u217},
            {c300 + " %1", u217 + "u", 520, nullptr, ""},
            {std::string(4000, 'c'), std::string(4000, 'u'), 520, nullptr, ""},
            {"", "", 1, nullptr, ""},
            {"%1", "", 2, nullptr, " "},
            {"\"%1\" -x", "u", 520, nullptr, " u"},
            // A trail byte never starts a match; a lead byte at the end keeps the terminator.
            {"prog \x81%1", "u", 520, sjis, "prog \x81%1 u"},
            {"\x81\x81%1", "u", 520, sjis, "\x81\x81 u"},
            {"prog \x81", "u", 520, sjis, "prog \x81 u"},
            {"prog \x81%1", "u", 520, nullptr, "prog \x81 u"},
        };
    for (const auto& [strCommand, strUrl, cbOut, pfnIsLead, expected] : cases) {
        std::string buf(cbOut + 8, 'Z');
        const bool bOk =
            MakeLaunchCommandLine(strCommand.c_str(), strUrl.c_str(), buf.data(), cbOut, pfnIsLead);
        EXPECT_EQ(bOk, !expected.empty()) << strCommand;
        EXPECT_EQ(buf.data(), expected) << strCommand;
        EXPECT_STREQ(buf.data() + cbOut, "ZZZZZZZZ") << strCommand; // nothing past the end
    }
}

TEST(LaunchCommandTest, WorksInPlaceAndRefusesNullArgumentsAndEmptyBuffers) {
    char sz[520] = "browse.exe \"%1\" -nohome";
    // In place; then not a byte written to an empty buffer.
    ASSERT_TRUE(MakeLaunchCommandLine(sz, "http://a/", sz, sizeof(sz)) &&
                !MakeLaunchCommandLine(sz, "u", sz, 0));
    EXPECT_STREQ(sz, "browse.exe  http://a/");
    EXPECT_FALSE(MakeLaunchCommandLine(nullptr, "u", sz, 8) ||
                 MakeLaunchCommandLine("c", nullptr, sz, 8) ||
                 MakeLaunchCommandLine("c", "u", nullptr, 8));
    EXPECT_STREQ(sz, "");
}

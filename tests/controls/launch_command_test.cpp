#include "controls/launch_command.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kCommandBuffer = 520;
constexpr char kCanary = '\x5A';

// Lead bytes of code page 932 (Shift-JIS).
bool IsShiftJisLead(unsigned char by) {
    return (by >= 0x81 && by <= 0x9F) || (by >= 0xE0 && by <= 0xFC);
}

// Runs the cut in a buffer of cbOut bytes with guard bytes after it; fails the
// test when anything past the buffer was touched.
std::optional<std::string> Make(const std::string& strCommand, const std::string& strUrl,
                                std::size_t cbOut = kCommandBuffer,
                                LeadBytePredicate pfnIsLeadByte = nullptr) {
    std::vector<char> buf(cbOut + 16, kCanary);
    const bool bOk =
        MakeLaunchCommandLine(strCommand.c_str(), strUrl.c_str(), buf.data(), cbOut, pfnIsLeadByte);
    for (std::size_t i = cbOut; i < buf.size(); ++i) {
        EXPECT_EQ(buf[i], kCanary) << "written past the buffer at " << i;
    }
    if (!bOk) {
        if (cbOut > 0) {
            EXPECT_EQ(buf[0], '\0') << "a refused command line must leave an empty text";
        }
        return std::nullopt;
    }
    return std::string(buf.data());
}

// Reference: split the command into characters first, then look for the
// placeholder at the start of each character.
std::string ReferenceCut(const std::string& strCommand, LeadBytePredicate pfnIsLeadByte) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < strCommand.size();) {
        starts.push_back(i);
        const bool bLead =
            pfnIsLeadByte != nullptr && pfnIsLeadByte(static_cast<unsigned char>(strCommand[i]));
        i += (bLead && i + 1 < strCommand.size()) ? 2 : 1;
    }
    for (const char* pszFind : {"\"%1\"", "%1"}) {
        for (std::size_t nStart : starts) {
            if (strCommand.compare(nStart, std::string(pszFind).size(), pszFind) == 0) {
                return strCommand.substr(0, nStart);
            }
        }
    }
    return strCommand;
}

} // namespace

TEST(LaunchCommandCutTest, QuotedPlaceholderEndsTheCommandWithItsOpeningQuote) {
    EXPECT_EQ(Make("\"C:\\Web\\browse.exe\" \"%1\"", "http://a/"),
              "\"C:\\Web\\browse.exe\"  http://a/");
    EXPECT_EQ(Make("browse.exe\"%1\"", "u"), "browse.exe u");
}

TEST(LaunchCommandCutTest, BarePlaceholderEndsTheCommand) {
    EXPECT_EQ(Make("browse.exe %1", "http://a/"), "browse.exe  http://a/");
    EXPECT_EQ(Make("%1", "u"), " u");
    // An unbalanced quote is no quoted placeholder: the bare one cuts.
    EXPECT_EQ(Make("browse.exe \"%1", "u"), "browse.exe \" u");
    EXPECT_EQ(Make("browse.exe %1\"", "u"), "browse.exe  u");
    EXPECT_EQ(Make("browse.exe %%1", "u"), "browse.exe % u");
    EXPECT_EQ(Make("browse.exe %10", "u"), "browse.exe  u");
}

TEST(LaunchCommandCutTest, QuotedPlaceholderIsFoundBeforeABareOne) {
    EXPECT_EQ(Make("browse.exe %1 -x \"%1\"", "u"), "browse.exe %1 -x  u");
    EXPECT_EQ(Make("a %1 \"%1\" %1", "u"), "a %1  u");
}

TEST(LaunchCommandCutTest, ArgumentsAfterThePlaceholderAreDropped) {
    EXPECT_EQ(Make("browse.exe \"%1\" -nohome", "u"), "browse.exe  u");
    EXPECT_EQ(Make("browse.exe -url %1,0,0 /dde", "u"), "browse.exe -url  u");
    EXPECT_EQ(Make("browse.exe \"%1\" \"%1\"", "u"), "browse.exe  u");
}

TEST(LaunchCommandCutTest, CommandWithoutPlaceholderStaysWhole) {
    EXPECT_EQ(Make("browse.exe -new", "http://a/"), "browse.exe -new http://a/");
    EXPECT_EQ(Make("browse.exe %2 %", "u"), "browse.exe %2 % u");
    EXPECT_EQ(Make("browse.exe ", "u"), "browse.exe  u");
}

TEST(LaunchCommandCutTest, EmptyCommandGivesOneSpaceAndTheUrl) {
    EXPECT_EQ(Make("", "http://a/"), " http://a/");
    EXPECT_EQ(Make("", ""), " ");
    EXPECT_EQ(Make("browse.exe %1", ""), "browse.exe  ");
}

TEST(LaunchCommandCutTest, UrlIsAppendedUnquotedAndUnchanged) {
    EXPECT_EQ(Make("browse.exe \"%1\"", "http://a/b c d?e=\"f\" %1"),
              "browse.exe  http://a/b c d?e=\"f\" %1");
}

TEST(LaunchCommandCutTest, CutWorksInPlace) {
    char szBuffer[kCommandBuffer] = "browse.exe \"%1\" -nohome";
    ASSERT_TRUE(MakeLaunchCommandLine(szBuffer, "http://a/", szBuffer, sizeof(szBuffer)));
    EXPECT_STREQ(szBuffer, "browse.exe  http://a/");

    char szNoCut[kCommandBuffer] = "browse.exe";
    ASSERT_TRUE(MakeLaunchCommandLine(szNoCut, "u", szNoCut, sizeof(szNoCut)));
    EXPECT_STREQ(szNoCut, "browse.exe u");
}

TEST(LaunchCommandLengthTest, ExactFitAtTheCommandBufferAndOneByteOver) {
    const std::string strCommand = std::string(300, 'c') + " %1 tail that is dropped";
    const std::size_t cchCut = 301;
    // cut + space + URL + NUL == 520
    const std::string strUrl(kCommandBuffer - cchCut - 2, 'u');
    const auto result = Make(strCommand, strUrl);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->size(), kCommandBuffer - 1);
    EXPECT_EQ(*result, std::string(300, 'c') + "  " + strUrl);

    EXPECT_EQ(Make(strCommand, strUrl + "u"), std::nullopt);
    // The dropped tail never counts against the buffer.
    EXPECT_TRUE(Make(strCommand + std::string(1000, 't'), strUrl).has_value());
}

TEST(LaunchCommandLengthTest, LongCommandOrLongUrlAloneIsRefused) {
    EXPECT_EQ(Make(std::string(519, 'c'), ""), std::nullopt);
    EXPECT_TRUE(Make(std::string(518, 'c'), "").has_value());
    EXPECT_EQ(Make("", std::string(519, 'u')), std::nullopt);
    EXPECT_TRUE(Make("", std::string(518, 'u')).has_value());
    EXPECT_EQ(Make(std::string(4000, 'c'), std::string(4000, 'u')), std::nullopt);
}

TEST(LaunchCommandLengthTest, TinyBuffers) {
    char by = kCanary;
    EXPECT_FALSE(MakeLaunchCommandLine("", "", &by, 0));
    EXPECT_EQ(by, kCanary) << "a zero-sized buffer must not be written";

    EXPECT_EQ(Make("", "", 1), std::nullopt);
    EXPECT_EQ(Make("", "", 2), " ");
    EXPECT_EQ(Make("%1", "", 2), " ");
    EXPECT_EQ(Make("a", "", 2), std::nullopt);
}

TEST(LaunchCommandLengthTest, NullArgumentsAreRefused) {
    char szOut[8] = "keep";
    EXPECT_FALSE(MakeLaunchCommandLine(nullptr, "u", szOut, sizeof(szOut)));
    EXPECT_STREQ(szOut, "");
    EXPECT_FALSE(MakeLaunchCommandLine("c", nullptr, szOut, sizeof(szOut)));
    EXPECT_FALSE(MakeLaunchCommandLine("c", "u", nullptr, 8));
}

TEST(LaunchCommandDbcsTest, TrailByteNeverStartsAMatch) {
    // 0x81 leads a double-byte character: the '%' after it is its trail byte.
    EXPECT_EQ(Make("prog \x81%1", "u", kCommandBuffer, IsShiftJisLead), "prog \x81%1 u");
    EXPECT_EQ(Make("prog \x81%%1", "u", kCommandBuffer, IsShiftJisLead), "prog \x81% u");
    // The quote after a lead byte is a trail byte, so only the bare "%1" matches.
    EXPECT_EQ(Make("p\x81\"%1\"", "u", kCommandBuffer, IsShiftJisLead), "p\x81\" u");
    // Characters are walked pairwise: the second 0x81 is a trail, the third a lead.
    EXPECT_EQ(Make("\x81\x81%1", "u", kCommandBuffer, IsShiftJisLead), "\x81\x81 u");
    EXPECT_EQ(Make("\x81\x81\x81%1", "u", kCommandBuffer, IsShiftJisLead), "\x81\x81\x81%1 u");
    // A lead byte at the very end does not swallow the terminator.
    EXPECT_EQ(Make("prog \x81", "u", kCommandBuffer, IsShiftJisLead), "prog \x81 u");
}

TEST(LaunchCommandDbcsTest, SingleByteCodePageMatchesEveryByte) {
    EXPECT_EQ(Make("prog \x81%1", "u"), "prog \x81 u");
    EXPECT_EQ(Make("\x81\x81\x81%1", "u"), "\x81\x81\x81 u");
}

// Every command of up to six characters over the bytes that matter, with and
// without a double-byte code page, against the reference cut.
TEST(LaunchCommandSweepTest, AllShortCommandsMatchTheReferenceCut) {
    const std::string strAlphabet = "\"%1 x\x81";
    const std::string strUrl = "h://a b";
    std::vector<std::string> commands = {""};
    std::size_t nChecked = 0;
    for (int nLength = 1; nLength <= 6; ++nLength) {
        std::vector<std::string> longer;
        for (const std::string& str : commands) {
            if (str.size() + 1 != static_cast<std::size_t>(nLength)) {
                continue;
            }
            for (char ch : strAlphabet) {
                longer.push_back(str + ch);
            }
        }
        commands.insert(commands.end(), longer.begin(), longer.end());
    }
    for (const std::string& strCommand : commands) {
        for (LeadBytePredicate pfn : {static_cast<LeadBytePredicate>(nullptr),
                                      static_cast<LeadBytePredicate>(IsShiftJisLead)}) {
            const auto result = Make(strCommand, strUrl, kCommandBuffer, pfn);
            ASSERT_TRUE(result.has_value()) << strCommand;
            ASSERT_EQ(*result, ReferenceCut(strCommand, pfn) + " " + strUrl)
                << "command \"" << strCommand << "\", lead bytes " << (pfn != nullptr);
            ++nChecked;
        }
    }
    EXPECT_EQ(nChecked, 2u * (1 + 6 + 36 + 216 + 1296 + 7776 + 46656));
}

// For every buffer size around the needed one: success exactly when it fits,
// never a byte past the buffer, an empty text on refusal.
TEST(LaunchCommandSweepTest, EveryBufferSizeAroundTheNeededOne) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"b.exe \"%1\" -x", "http://a/"},
        {"b.exe %1", "u v"},
        {"b.exe", std::string(40, 'u')},
        {std::string(60, 'c'), ""},
    };
    for (const auto& [strCommand, strUrl] : cases) {
        const std::string strExpected = ReferenceCut(strCommand, nullptr) + " " + strUrl;
        const std::size_t cbNeeded = strExpected.size() + 1;
        for (std::size_t cb = 0; cb <= cbNeeded + 3; ++cb) {
            const auto result = Make(strCommand, strUrl, cb);
            if (cb >= cbNeeded) {
                EXPECT_EQ(result, strExpected) << "size " << cb;
            } else {
                EXPECT_EQ(result, std::nullopt) << "size " << cb;
            }
        }
    }
}

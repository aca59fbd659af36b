#include "framework/cstring.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include <gtest/gtest.h>

namespace {

// The buffer keeps the text and has room for a terminator past the length asked for;
// releasing ends the text at the first NUL or at a length inside the buffer, nothing else.
TEST(CStringTest, BufferKeepsTheTextAndReleaseEndsIt) {
    CString str("hello");
    char* psz = str.GetBuffer(8);
    EXPECT_EQ(std::strncmp(psz, "hello", 5), 0);
    std::memcpy(psz + 5, "!\0!\0", 4); // psz[8] is the terminator's slot
    str.ReleaseBuffer();
    EXPECT_EQ(str, "hello!");
    str.ReleaseBuffer(str.GetLength());
    EXPECT_EQ(str, "hello!");
    EXPECT_THROW(str.ReleaseBuffer(7), std::invalid_argument);
    EXPECT_THROW(str.GetBuffer(-1), std::invalid_argument);
    EXPECT_EQ(str.GetBuffer(0), str.GetString());
    str.ReleaseBuffer(2);
    EXPECT_EQ(str, "he");
    str.ReleaseBuffer(0);
    EXPECT_TRUE(str.IsEmpty());
}

// Every occurrence, left to right and not overlapping; inserted text is not scanned again.
TEST(CStringTest, ReplaceTable) {
    const struct {
        const char *pszText, *pszOld, *pszNew;
        int nCount;
        const char* pszResult;
    } cases[] = {
        {"aaaa", "aa", "b", 2, "bb"},
        {"aaa", "aa", "x", 1, "xa"},
        {"%k%-%k%", "%k%", "%k%%k%", 2, "%k%%k%-%k%%k%"},
        {"Key key KEY", "key", "", 1, "Key  KEY"},
        {"abc", "", "x", 0, "abc"},
        {"abc", "absent", "x", 0, "abc"},
    };
    for (const auto& c : cases) {
        CString str(c.pszText);
        EXPECT_EQ(str.Replace(c.pszOld, c.pszNew), c.nCount) << c.pszText << " " << c.pszOld;
        EXPECT_EQ(str, c.pszResult);
    }
}

TEST(CStringSecret, WipingOneHolderLeavesEveryOtherWholeAndCopiesStaySecret) {
    // A short text lives inside the string itself, a longer one on the heap.
    for (const char* psz : {"short", "a secret longer than a string keeps inline"}) {
        CString strSecret;
        strSecret.MarkSecret();
        strSecret = psz;
        CString strCopy(strSecret);
        CString strAssigned;
        strAssigned = strSecret;
        CString strMoved(std::move(strSecret));
        strCopy.Empty();
        EXPECT_TRUE(strSecret.IsEmpty()) << psz;
        EXPECT_EQ(strMoved, psz);
        EXPECT_EQ(strAssigned, psz);
        EXPECT_TRUE(strCopy.IsSecret() && strMoved.IsSecret() && strAssigned.IsSecret() &&
                    ("x" + strMoved).IsSecret());
        CString strMoveAssigned;
        strMoveAssigned = std::move(strMoved);
        EXPECT_TRUE(strMoveAssigned.IsSecret() && strMoveAssigned == psz) << psz;
    }
}

TEST(CStringTest, ValueOperations) {
    CString str("abc");
    const CString strLonger = str + "def";
    EXPECT_EQ(strLonger.GetLength(), 6);
    EXPECT_TRUE(strLonger == "abcdef" && "abcdef" == strLonger && str != strLonger);
    EXPECT_TRUE(str < strLonger && str.Compare("abd") < 0);
    str += CString("!");
    str += '?';
    EXPECT_EQ(str, "abc!?");
    str.Empty();
    EXPECT_TRUE(str.IsEmpty() && str.GetLength() == 0);
    str.Format("Unknown Error (%d) occurred.", -7);
    EXPECT_EQ(str, "Unknown Error (-7) occurred.");
    str.Format("%s", "");
    EXPECT_TRUE(str.IsEmpty());
}

// An explicit length keeps embedded NULs; a zero length needs no characters.
TEST(CStringTest, ExplicitLengthAndIndex) {
    const CString str("a\0b", 3);
    EXPECT_EQ(str.GetLength(), 3);
    EXPECT_EQ(str.GetAt(0), 'a');
    EXPECT_EQ(str.GetAt(2), 'b');
    EXPECT_THROW(str.GetAt(3), std::out_of_range);
    EXPECT_THROW(str.GetAt(-1), std::out_of_range);
    EXPECT_TRUE(CString(nullptr, 0).IsEmpty() && CString("x", 0).IsEmpty());
    EXPECT_THROW(CString("x", -1), std::invalid_argument);
    EXPECT_THROW(CString(nullptr, 1), std::invalid_argument);
}

} // namespace

#include "framework/cstring.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include <gtest/gtest.h>

namespace {

TEST(CStringBuffer, ReleaseBufferEndsTheTextAtTheFirstNul) {
    CString str;
    char* psz = str.GetBuffer(10);
    std::memcpy(psz, "abc\0def", 8);
    str.ReleaseBuffer();
    EXPECT_EQ(3, str.GetLength());
    EXPECT_STREQ("abc", str);
}

TEST(CStringBuffer, BufferKeepsTheTextAndHasRoomForATerminator) {
    CString str("hello");
    char* psz = str.GetBuffer(8);
    EXPECT_EQ(0, std::strncmp(psz, "hello", 5));
    psz[8] = '\0'; // the terminator slot beyond the requested length is writable
    std::memcpy(psz + 5, "!!!", 3);
    str.ReleaseBuffer();
    EXPECT_STREQ("hello!!!", str);
}

TEST(CStringBuffer, ExplicitLengthAndBadLengthsAreRefused) {
    CString str;
    std::memcpy(str.GetBuffer(4), "wxyz", 4);
    str.ReleaseBuffer(2);
    EXPECT_STREQ("wx", str);
    EXPECT_THROW(str.ReleaseBuffer(5), std::invalid_argument);
    EXPECT_STREQ("wx", str);
    EXPECT_THROW(str.GetBuffer(-1), std::invalid_argument);
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
    }
}

TEST(CStringReplace, ReplacesEveryNonOverlappingOccurrenceLeftToRight) {
    CString str("aaaa");
    EXPECT_EQ(2, str.Replace("aa", "b"));
    EXPECT_STREQ("bb", str);

    CString strOverlap("aaa");
    EXPECT_EQ(1, strOverlap.Replace("aa", "x"));
    EXPECT_STREQ("xa", strOverlap);
}

TEST(CStringReplace, InsertedTextIsNotScannedAgain) {
    CString str("%k%-%k%");
    EXPECT_EQ(2, str.Replace("%k%", "%k%%k%"));
    EXPECT_STREQ("%k%%k%-%k%%k%", str);
}

TEST(CStringReplace, CaseMattersAndEmptyPatternsChangeNothing) {
    CString str("Key key KEY");
    EXPECT_EQ(1, str.Replace("key", ""));
    EXPECT_STREQ("Key  KEY", str);
    EXPECT_EQ(0, str.Replace("", "x"));
    EXPECT_EQ(0, str.Replace("absent", "x"));
    EXPECT_STREQ("Key  KEY", str);
}

TEST(CStringValue, LengthEmptinessComparisonAndConcatenation) {
    CString strEmpty;
    EXPECT_TRUE(strEmpty.IsEmpty());
    EXPECT_EQ(0, strEmpty.GetLength());
    EXPECT_STREQ("", strEmpty);

    CString strA("abc");
    const CString strB = strA + "def";
    EXPECT_EQ(6, strB.GetLength());
    EXPECT_TRUE(strB == "abcdef");
    EXPECT_TRUE("abcdef" == strB);
    EXPECT_TRUE(strA != strB);
    EXPECT_TRUE(strA < strB);
    EXPECT_LT(strA.Compare("abd"), 0);

    strA += CString("!");
    strA += '?';
    EXPECT_STREQ("abc!?", strA);
    strA.Empty();
    EXPECT_TRUE(strA.IsEmpty());
}

TEST(CStringValue, KeepsEmbeddedNulBytesOfAnExplicitLength) {
    const CString str("a\0b", 3);
    EXPECT_EQ(3, str.GetLength());
    EXPECT_EQ('b', str.GetAt(2));
    EXPECT_THROW(str.GetAt(3), std::out_of_range);
    EXPECT_THROW(CString("x", -1), std::invalid_argument);
}

TEST(CStringFormat, FormatsSignedNumbers) {
    CString str;
    str.Format("Unknown Error (%d) occurred.", -7);
    EXPECT_STREQ("Unknown Error (-7) occurred.", str);
    str.Format("%s", "");
    EXPECT_TRUE(str.IsEmpty());
}

} // namespace

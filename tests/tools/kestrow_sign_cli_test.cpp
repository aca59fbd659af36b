// kestrow-sign end to end: the built program run as a child process.
//
// Known signatures were computed independently with Python 3:
//   ts  = datetime.fromtimestamp(t, timezone.utc).strftime('%Y-%m-%dT%H:%M:%S.000Z')
//   b64 = base64.b64encode(hmac.new(key, prefix + ts, hashlib.sha1).digest())
//   url = urllib.parse.quote(b64, safe='')
// and t from calendar.timegm.

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "app/sample_request.h"
#include "child_process.h"
#include "engine/utc_timestamp.h"
#include "json_reader.h"

namespace {

struct SKnownSignature {
    const char* pszKey;
    const char* pszPrefix; // nullptr: the default prefix
    const char* pszTime;
    const char* pszTimestamp;
    const char* pszBase64;
    const char* pszUrlEncoded;
};

const SKnownSignature g_known[] = {
    {"kestrow-secret", nullptr, "2026-12-05T22:26:06Z", "2026-12-05T22:26:06.000Z",
     "ClcVShun84K+qTqvE25mfgEO5bI=", "ClcVShun84K%2BqTqvE25mfgEO5bI%3D"},
    {"Jefe", "UrlInfo", "0", "1970-01-01T00:00:00.000Z",
     "MDGBQkMM7+0pzyBkyw88Iu6yxZc=", "MDGBQkMM7%2B0pzyBkyw88Iu6yxZc%3D"},
    {"k\xC3\xA9y \x01\xFF", "", "3000-12-31T23:59:59Z", "3000-12-31T23:59:59.000Z",
     "8eqSBPnX/W4IazDugJtb7xG7ceo=", "8eqSBPnX%2FW4IazDugJtb7xG7ceo%3D"},
    {"kestrow-secret", "AlexaUrlInfo", "2000-02-29T12:34:56.000Z", "2000-02-29T12:34:56.000Z",
     "7hKV8AIkvWIYlDMGstqIyj6Ohn4=", "7hKV8AIkvWIYlDMGstqIyj6Ohn4%3D"},
    {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
     "xxxxxxxx",
     "UrlInfo", "1796509566", "2026-12-05T22:26:06.000Z",
     "iF6kihCSYvS+Arw4XUpsagGDi78=", "iF6kihCSYvS%2BArw4XUpsagGDi78%3D"},
};

// Signatures at 2026-12-05T22:26:06Z, prefix UrlInfo, for keys with line breaks kept.
const char g_szSigKeyPlainLf[] = "GyoDeG%2BItdEtN1WbqVDJJIInz90%3D"; // "kestrow-secret\n"
const char g_szSigKeyPlainCr[] = "e4pLub9a9bJhIwIdsFf7RridftQ%3D";   // "kestrow-secret\r"
const char g_szSigKeyPlain[] = "ClcVShun84K%2BqTqvE25mfgEO5bI%3D";   // "kestrow-secret"

std::string ExpectedUrl(const std::string& strKeyId, const std::string& strTimestamp,
                        const std::string& strSignature) {
    return std::string("http://") + g_szSampleEndpointHost +
           "?Operation=UrlInfo&ResponseGroup=Rank&AWSAccessKeyId=" +
           (strKeyId.empty() ? "%key%" : strKeyId) + "&Url=" + g_szSampleSiteHost +
           "&Timestamp=" + strTimestamp + "&Signature=" + strSignature;
}

SChildRun Sign(std::vector<std::string> args, std::vector<std::string> environment,
               const std::string* pstrStdin = nullptr) {
    SChildInput input;
    input.args = std::move(args);
    input.environment = std::move(environment);
    if (pstrStdin != nullptr) {
        input.bHaveStdin = true;
        input.strStdin = *pstrStdin;
    }
    return RunChild(KESTROW_SIGN_EXE, input);
}

std::string SecretVar(const std::string& strKey) {
    return "KESTROW_SECRET_KEY=" + strKey;
}

// A file in the test's temporary folder holding exactly strContent.
std::string WriteTempFile(const std::string& strName, const std::string& strContent) {
    const std::string strPath = ::testing::TempDir() + "kestrow_sign_cli_" + strName;
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    EXPECT_NE(pFile, nullptr) << strPath;
    if (pFile != nullptr) {
        std::fwrite(strContent.data(), 1, strContent.size(), pFile);
        std::fclose(pFile);
    }
    return strPath;
}

// "Name: value" lines; an empty map when the output is not exactly such lines.
std::map<std::string, std::string> ParseTextOutput(const std::string& strOut,
                                                   std::vector<std::string>& names) {
    std::map<std::string, std::string> fields;
    std::size_t nPos = 0;
    while (nPos < strOut.size()) {
        const std::size_t nEnd = strOut.find('\n', nPos);
        const std::size_t nColon = strOut.find(": ", nPos);
        if (nEnd == std::string::npos || nColon == std::string::npos || nColon > nEnd) {
            return {};
        }
        const std::string strName = strOut.substr(nPos, nColon - nPos);
        names.push_back(strName);
        fields[strName] = strOut.substr(nColon + 2, nEnd - nColon - 2);
        nPos = nEnd + 1;
    }
    return fields;
}

SJsonValue ParseJsonOutput(const SChildRun& run) {
    SJsonValue value;
    std::string strError;
    EXPECT_TRUE(ParseJson(run.strStdout, value, strError)) << strError << "\n" << run.strStdout;
    EXPECT_EQ(value.nKind, SJsonValue::JSON_OBJECT);
    const std::vector<std::string> expected = {"timestamp", "signature", "sampleUrl", "complete"};
    EXPECT_EQ(value.memberOrder, expected);
    for (const char* pszName : {"timestamp", "signature", "sampleUrl"}) {
        EXPECT_EQ(value.members[pszName].nKind, SJsonValue::JSON_STRING) << pszName;
    }
    EXPECT_EQ(value.members["complete"].nKind, SJsonValue::JSON_BOOL);
    EXPECT_EQ(run.strStdout.back(), '\n');
    return value;
}

std::vector<std::string> KnownArgs(const SKnownSignature& known) {
    std::vector<std::string> args = {"--time", known.pszTime};
    if (known.pszPrefix != nullptr) {
        args.push_back(std::string("--prefix=") + known.pszPrefix);
    }
    return args;
}

TEST(KestrowSignCli, PrintsKnownSignaturesAsText) {
    for (const SKnownSignature& known : g_known) {
        const SChildRun run = Sign(KnownArgs(known), {SecretVar(known.pszKey)});
        ASSERT_EQ(run.nExitStatus, 0) << run.strStderr;
        EXPECT_EQ(run.strStderr, "");
        std::vector<std::string> names;
        auto fields = ParseTextOutput(run.strStdout, names);
        const std::vector<std::string> expected = {"Timestamp", "Signature", "Sample URL",
                                                   "Complete"};
        EXPECT_EQ(names, expected) << run.strStdout;
        EXPECT_EQ(fields["Timestamp"], known.pszTimestamp);
        EXPECT_EQ(fields["Signature"], known.pszUrlEncoded) << known.pszTime;
        EXPECT_EQ(fields["Sample URL"], ExpectedUrl("", known.pszTimestamp, known.pszUrlEncoded));
        EXPECT_EQ(fields["Complete"], "no");
    }
}

TEST(KestrowSignCli, PrintsKnownSignaturesAsJsonPlainOrEncoded) {
    for (const SKnownSignature& known : g_known) {
        for (const bool bPlain : {false, true}) {
            std::vector<std::string> args = KnownArgs(known);
            args.insert(args.end(), {"--format", "json", "--access-key-id", "AKIDEXAMPLE"});
            if (bPlain) {
                args.push_back("--no-url-encode");
            }
            const SChildRun run = Sign(args, {SecretVar(known.pszKey)});
            ASSERT_EQ(run.nExitStatus, 0) << run.strStderr;
            SJsonValue value = ParseJsonOutput(run);
            EXPECT_EQ(value.members["timestamp"].strValue, known.pszTimestamp);
            EXPECT_EQ(value.members["signature"].strValue,
                      bPlain ? known.pszBase64 : known.pszUrlEncoded);
            // The URL always carries the URL-encoded signature.
            EXPECT_EQ(value.members["sampleUrl"].strValue,
                      ExpectedUrl("AKIDEXAMPLE", known.pszTimestamp, known.pszUrlEncoded));
            EXPECT_TRUE(value.members["complete"].bValue);
        }
    }
}

TEST(KestrowSignCli, JsonCarriesAnyAccessKeyIdAndMatchesTheDialogsGenerate) {
    const std::string strKey = "kestrow-secret";
    const char* const apszKeyIds[] = {
        "AKIDEXAMPLE",
        "  ",
        "a\"b\\c",
        "line\nbreak\r\ttab",
        "\x01\x1F\x7F",
        "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
        "%timestamp%&%signature%=%key%",
        "a&b=c d?e#f",
    };
    const std::int64_t t = 1796509566;
    for (const char* pszKeyId : apszKeyIds) {
        const SChildRun run = Sign({"--format=json", "--time=1796509566", "--prefix=Pre fix",
                                    std::string("--access-key-id=") + pszKeyId},
                                   {SecretVar(strKey)});
        ASSERT_EQ(run.nExitStatus, 0) << run.strStderr;
        SJsonValue value = ParseJsonOutput(run);
        CString strTimestamp;
        CString strSignature;
        CString strUrl;
        const bool bComplete = ComposeSampleRequestAt(t, strKey.c_str(), pszKeyId, "Pre fix",
                                                      strTimestamp, strSignature, strUrl);
        EXPECT_EQ(value.members["timestamp"].strValue, strTimestamp.str());
        EXPECT_EQ(value.members["signature"].strValue, strSignature.str());
        EXPECT_EQ(value.members["sampleUrl"].strValue, strUrl.str());
        EXPECT_EQ(value.members["sampleUrl"].strValue,
                  ExpectedUrl(pszKeyId, strTimestamp.str(), strSignature.str()));
        EXPECT_EQ(value.members["complete"].bValue, bComplete);
    }
    // Bytes that are not UTF-8 come back as the characters of their Latin-1 reading.
    const SChildRun run =
        Sign({"--format", "json", "--time", "0", "--access-key-id", "\xE9t\xE9\xFF"},
             {SecretVar("Jefe")});
    ASSERT_EQ(run.nExitStatus, 0) << run.strStderr;
    SJsonValue value = ParseJsonOutput(run);
    EXPECT_EQ(value.members["sampleUrl"].strValue,
              ExpectedUrl("\xC3\xA9t\xC3\xA9\xC3\xBF", "1970-01-01T00:00:00.000Z",
                          "MDGBQkMM7%2B0pzyBkyw88Iu6yxZc%3D"));
}

TEST(KestrowSignCli, ReadsTheSecretFromAFileOrStandardInputDroppingOneLineBreak) {
    struct SCase {
        std::string strContent;
        const char* pszSignature;
    };
    const SCase cases[] = {
        {"kestrow-secret", g_szSigKeyPlain},         {"kestrow-secret\n", g_szSigKeyPlain},
        {"kestrow-secret\r\n", g_szSigKeyPlain},     {"kestrow-secret\n\n", g_szSigKeyPlainLf},
        {"kestrow-secret\n\r\n", g_szSigKeyPlainLf}, {"kestrow-secret\r", g_szSigKeyPlainCr},
        {"kestrow-secret\r\r\n", g_szSigKeyPlainCr},
    };
    int nFile = 0;
    for (const SCase& c : cases) {
        const std::string strPath = WriteTempFile("secret" + std::to_string(nFile++), c.strContent);
        // The file wins over the environment.
        const SChildRun fromFile =
            Sign({"--time", "1796509566", "--secret-key-file", strPath}, {SecretVar("Jefe")});
        const SChildRun fromStdin =
            Sign({"--time", "1796509566", "--secret-key-file=-"}, {}, &c.strContent);
        for (const SChildRun* pRun : {&fromFile, &fromStdin}) {
            ASSERT_EQ(pRun->nExitStatus, 0) << pRun->strStderr;
            std::vector<std::string> names;
            EXPECT_EQ(ParseTextOutput(pRun->strStdout, names)["Signature"], c.pszSignature)
                << (pRun == &fromFile ? "file: " : "stdin: ") << c.strContent;
        }
    }
}

TEST(KestrowSignCli, SignsAtTheCurrentTimeWithoutTime) {
    const std::string strBefore = FormatUtcTimestamp(std::time(nullptr)).str();
    const SChildRun run = Sign({"--format=json"}, {SecretVar("kestrow-secret")});
    const std::string strAfter = FormatUtcTimestamp(std::time(nullptr)).str();
    ASSERT_EQ(run.nExitStatus, 0) << run.strStderr;
    SJsonValue value = ParseJsonOutput(run);
    const std::string strTimestamp = value.members["timestamp"].strValue;
    // Same fixed-width format: text order is time order.
    EXPECT_LE(strBefore, strTimestamp);
    EXPECT_LE(strTimestamp, strAfter);
    EXPECT_EQ(strTimestamp.size(), 24u);
    EXPECT_FALSE(value.members["complete"].bValue);
}

TEST(KestrowSignCli, HelpAndVersionNeedNoSecret) {
    const SChildRun help = Sign({"--help"}, {});
    EXPECT_EQ(help.nExitStatus, 0);
    EXPECT_EQ(help.strStdout.rfind("Usage: kestrow-sign", 0), 0u) << help.strStdout;
    EXPECT_EQ(help.strStderr, "");
    const SChildRun version = Sign({"--version"}, {});
    EXPECT_EQ(version.nExitStatus, 0);
    EXPECT_EQ(version.strStdout, "kestrow-sign " KESTROW_VERSION "\n");
    EXPECT_EQ(version.strStderr, "");
}

TEST(KestrowSignCli, BadInputGetsItsExitStatusOneLineOnStderrAndNothingOnStdout) {
    const std::string strEmpty = WriteTempFile("empty", "");
    const std::string strOnlyBreak = WriteTempFile("only_break", "\r\n");
    const std::string strNul = WriteTempFile("nul", std::string("kestrow\0secret\n", 15));
    const std::string strLongest = std::string(64 * 1024, 's');
    const std::string strTooLong = WriteTempFile("too_long", strLongest + "s\n");
    const std::string strMissing = ::testing::TempDir() + "kestrow_sign_cli_no_such_file";
    const std::string strNulStdin("\0", 1);
    const std::string strEmptyStdin;
    const std::string strSecret = SecretVar("kestrow-secret");
    struct SCase {
        std::vector<std::string> args;
        std::vector<std::string> environment;
        const std::string* pstrStdin;
        int nStatus;
        const char* pszMessagePart;
    };
    const SCase cases[] = {
        {{"--bogus"}, {strSecret}, nullptr, 2, "unknown option"},
        {{"-h"}, {strSecret}, nullptr, 2, "unexpected argument"},
        {{"UrlInfo"}, {strSecret}, nullptr, 2, "unexpected argument"},
        {{"--prefix"}, {strSecret}, nullptr, 2, "needs a value"},
        {{"--access-key-id", "--time", "0"}, {strSecret}, nullptr, 2, "needs a value"},
        {{"--time", "0", "--time", "1"}, {strSecret}, nullptr, 2, "more than once"},
        {{"--format", "xml"}, {strSecret}, nullptr, 2, "'text' or 'json'"},
        {{"--no-url-encode=no"}, {strSecret}, nullptr, 2, "takes no value"},
        {{"--access-key-id", "AK\nID"}, {strSecret}, nullptr, 2, "line break"},
        {{"--time", "yesterday"}, {strSecret}, nullptr, 4, "expected YYYY-MM-DDTHH:MM:SSZ"},
        {{"--time", "2026-02-30T00:00:00Z"}, {strSecret}, nullptr, 4, "no valid date"},
        {{"--time", "3001-01-01T00:00:00Z"}, {strSecret}, nullptr, 4, "outside"},
        {{"--time", "1969-12-31T23:59:59Z"}, {strSecret}, nullptr, 4, "outside"},
        {{"--time", "32535216000"}, {strSecret}, nullptr, 4, "outside"},
        {{"--time", "-1"}, {strSecret}, nullptr, 4, "outside"},
        {{"--time", "2026-12-05T22:26:06.5Z"}, {strSecret}, nullptr, 4, "fraction"},
        {{"--time", "nonsense"}, {}, nullptr, 4, "expected"}, // the time is checked first
        {{}, {}, nullptr, 3, "no secret key"},
        {{}, {"KESTROW_SECRET_KEY="}, nullptr, 3, "empty"},
        {{"--secret-key-file", strMissing}, {strSecret}, nullptr, 3, "cannot open"},
        {{"--secret-key-file", ::testing::TempDir()}, {strSecret}, nullptr, 3, "cannot"},
        {{"--secret-key-file", strEmpty}, {strSecret}, nullptr, 3, "empty"},
        {{"--secret-key-file", strOnlyBreak}, {strSecret}, nullptr, 3, "empty"},
        {{"--secret-key-file", "-"}, {strSecret}, &strEmptyStdin, 3, "empty"},
        {{"--secret-key-file", "-"}, {strSecret}, nullptr, 3, "empty"}, // /dev/null
        {{"--secret-key-file", strNul}, {strSecret}, nullptr, 5, "NUL byte at offset 7"},
        {{"--secret-key-file", "-"}, {}, &strNulStdin, 5, "NUL byte at offset 0"},
        {{"--secret-key-file", strTooLong}, {strSecret}, nullptr, 5, "longer than 65536"},
    };
    for (const SCase& c : cases) {
        const std::string strWhat = c.args.empty() ? "(no arguments)" : c.args.front();
        const SChildRun run = Sign(c.args, c.environment, c.pstrStdin);
        EXPECT_EQ(run.nExitStatus, c.nStatus) << strWhat << ": " << run.strStderr;
        EXPECT_EQ(run.strStdout, "") << strWhat;
        EXPECT_EQ(run.strStderr.rfind("kestrow-sign: ", 0), 0u) << strWhat;
        EXPECT_EQ(run.strStderr.find('\n'), run.strStderr.size() - 1) << strWhat;
        EXPECT_NE(run.strStderr.find(c.pszMessagePart), std::string::npos)
            << strWhat << ": " << run.strStderr;
    }
    // The longest accepted secret, with its line break.
    const std::string strLongestFile = WriteTempFile("longest", strLongest + "\r\n");
    const SChildRun longest =
        Sign({"--time", "0", "--secret-key-file", strLongestFile}, {strSecret});
    EXPECT_EQ(longest.nExitStatus, 0) << longest.strStderr;
}

TEST(KestrowSignCli, AFailedWriteIsAFailure) {
    SChildInput input;
    input.args = {"--time", "0"};
    input.environment = {SecretVar("Jefe")};
    input.bStdoutFull = true;
    const SChildRun run = RunChild(KESTROW_SIGN_EXE, input);
    EXPECT_EQ(run.nExitStatus, 1);
    EXPECT_NE(run.strStderr.find("cannot write"), std::string::npos) << run.strStderr;
}

} // namespace

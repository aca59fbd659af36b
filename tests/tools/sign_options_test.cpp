#include "tools/kestrow_sign/sign_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Parse(std::vector<const char*> args, SSignOptions& options, SSignError& error) {
    args.insert(args.begin(), "kestrow-sign");
    return ParseSignOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(SignOptions, DefaultsWithoutArguments) {
    SSignOptions options;
    SSignError error;
    ASSERT_TRUE(Parse({}, options, error));
    EXPECT_EQ(options.strPrefix, "UrlInfo");
    EXPECT_EQ(options.strAccessKeyId, "");
    EXPECT_FALSE(options.bHaveTime);
    EXPECT_TRUE(options.bUrlEncode);
    EXPECT_EQ(options.nFormat, SIGN_FORMAT_TEXT);
    EXPECT_FALSE(options.bHaveSecretKeyFile);
    EXPECT_FALSE(options.bHelp);
    EXPECT_FALSE(options.bVersion);
}

TEST(SignOptions, TakesValuesAsNextArgumentOrAfterEquals) {
    SSignOptions options;
    SSignError error;
    ASSERT_TRUE(Parse({"--prefix", "Alexa=Info", "--access-key-id=AK=ID", "--time", "0",
                       "--no-url-encode", "--format=json", "--secret-key-file", "-"},
                      options, error))
        << error.strMessage;
    EXPECT_EQ(options.strPrefix, "Alexa=Info");
    EXPECT_EQ(options.strAccessKeyId, "AK=ID");
    EXPECT_TRUE(options.bHaveTime);
    EXPECT_EQ(options.strTime, "0");
    EXPECT_FALSE(options.bUrlEncode);
    EXPECT_EQ(options.nFormat, SIGN_FORMAT_JSON);
    EXPECT_TRUE(options.bHaveSecretKeyFile);
    EXPECT_EQ(options.strSecretKeyFile, "-");

    SSignOptions other;
    // Empty values are values; a value after '=' may start with "--".
    ASSERT_TRUE(Parse({"--prefix=", "--access-key-id", "", "--format", "text", "--help",
                       "--version", "--time=--1"},
                      other, error))
        << error.strMessage;
    EXPECT_EQ(other.strPrefix, "");
    EXPECT_EQ(other.strAccessKeyId, "");
    EXPECT_EQ(other.strTime, "--1");
    EXPECT_TRUE(other.bHelp);
    EXPECT_TRUE(other.bVersion);
}

TEST(SignOptions, RejectsBadUsageAndLeavesTheOptionsAlone) {
    const std::vector<std::vector<const char*>> badLines = {
        {"--bogus"},
        {"-p", "x"},
        {"prefix"},
        {"--"},
        {"--prefix"},
        {"--prefix", "--time", "0"},
        {"--time", "0", "--time", "1"},
        {"--no-url-encode", "--no-url-encode"},
        {"--no-url-encode=1"},
        {"--help=yes"},
        {"--format", "xml"},
        {"--format=JSON"},
        {"--format="},
        {"--secret-key-file="},
        {"--secret-key-file"},
        {"--prefix", "x", "stray"},
        {"--PREFIX", "x"},
        {"--prefix-x=1"},
        {"--secret-key", "s3cret"},
    };
    for (const auto& line : badLines) {
        SSignOptions options;
        options.strPrefix = "untouched";
        SSignError error;
        EXPECT_FALSE(Parse(line, options, error)) << line[0];
        EXPECT_EQ(error.nStatus, SIGN_EXIT_USAGE) << line[0];
        EXPECT_FALSE(error.strMessage.empty());
        EXPECT_EQ(error.strMessage.find('\n'), std::string::npos);
        EXPECT_EQ(options.strPrefix, "untouched") << line[0];
    }
}

TEST(SignOptions, UsageNamesEveryOptionAndTheSecretVariable) {
    const std::string strUsage = SignUsage();
    for (const char* pszName :
         {"--prefix", "--access-key-id", "--time", "--no-url-encode", "--format",
          "--secret-key-file", "--help", "--version", "KESTROW_SECRET_KEY"}) {
        EXPECT_NE(strUsage.find(pszName), std::string::npos) << pszName;
    }
    EXPECT_EQ(strUsage.back(), '\n');
}

} // namespace

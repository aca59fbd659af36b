#pragma once
// Runs a test once on each SHA-1 compression path. The SHA-extensions run is skipped on a CPU
// without them, and each run first makes sure it is on the path it names.

#include <gtest/gtest.h>

#include "crypto/sha1_path.h"

class CSha1PathTest : public ::testing::TestWithParam<ESha1Path> {
protected:
    void SetUp() override {
        if (GetParam() == ESha1Path::ShaExtensions && !Sha1ShaExtensionsAvailable()) {
            GTEST_SKIP() << "this CPU has no SHA extensions";
        }
        Sha1ForceIntegerPath(GetParam() == ESha1Path::Integer);
        ASSERT_EQ(Sha1CurrentPath(), GetParam());
        ASSERT_STREQ(Sha1PathName(GetParam()),
                     GetParam() == ESha1Path::Integer ? "integer" : "SHA extensions");
    }
    void TearDown() override { Sha1ForceIntegerPath(false); }
};

#define KESTROW_ON_BOTH_SHA1_PATHS(suite)                                                          \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Sha1Path, suite, ::testing::Values(ESha1Path::Integer, ESha1Path::ShaExtensions),          \
        [](const ::testing::TestParamInfo<ESha1Path>& info) {                                      \
            return info.param == ESha1Path::Integer ? "Integer" : "ShaExtensions";                 \
        })

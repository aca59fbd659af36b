// The entry point of the Windows test programs: the wide one, so that neither the C
// runtime's start-up nor the arguments pass through the system's code page.

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Entry point of the tests that run under Wine.
#include <gtest/gtest.h>
#include <objbase.h>

namespace testing_support {
void InstallUnexpectedBoxGuard();
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing_support::InstallUnexpectedBoxGuard();
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}

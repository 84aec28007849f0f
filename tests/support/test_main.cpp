// Entry point of the core tests: a fresh data folder around the run.
#include "fresh_app_data.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    const kerbina::FreshAppData appData;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// main() for tests that need the toolkit.
#include <gtest/gtest.h>

#include "tests/support/headless.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const testing_support::HeadlessToolkit toolkit(argc, argv);
    return RUN_ALL_TESTS();
}

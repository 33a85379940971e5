#include <gtest/gtest.h>

#include "platform/Application.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    rz::Application.Initialize();
    return RUN_ALL_TESTS();
}

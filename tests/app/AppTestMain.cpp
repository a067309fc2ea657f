// The main of the main window's tests: they run inside the program's own application object on
// the offscreen platform, so no screen is needed and nothing waits for a person.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "app/Startup.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::setlocale(LC_ALL, "");
    TOrvelApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

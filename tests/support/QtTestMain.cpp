// The main of the window tests: the tests run inside a QApplication on the offscreen platform,
// so no screen is needed and nothing waits for a person.
#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

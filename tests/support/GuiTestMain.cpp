#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>

// The main of the widget tests: a QApplication on the offscreen platform,
// also when the build lists the tests, numbers in the C locale as the
// program has them.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

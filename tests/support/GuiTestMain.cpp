#include "GuiMessages.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {

std::unique_ptr<ScriptedMessageService> g_messages;

// Installs a fresh message service before each test.
class FreshMessages : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override
    {
        g_messages = std::make_unique<ScriptedMessageService>();
        setMessageService(g_messages.get());
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        setMessageService(nullptr);
        g_messages.reset();
    }
};

} // namespace

ScriptedMessageService &messages()
{
    return *g_messages;
}

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshMessages);
    return RUN_ALL_TESTS();
}

#include "DesktopTest.h"

#include "TNrOutlookBar.h"

#include <QTest>

void DesktopTest::TearDown()
{
    stop();
    ReturnDatabaseTest::TearDown();
}

void DesktopTest::start()
{
    stop();
    m_commands = std::make_unique<TdmElhAttivazioni>();
    m_main = std::make_unique<TfmElhMain>(connection(), params(), *m_commands);
    m_main->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_main->outlookBar()->count() > 0; }));
}

void DesktopTest::stop()
{
    if (m_main)
        m_main->close();
    m_main.reset();
    m_commands.reset();
}

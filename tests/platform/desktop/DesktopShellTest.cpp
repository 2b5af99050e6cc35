#include "DesktopShell.h"
#include "ShellOpen.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Stands in for the desktop's handler of local files.
class FileHandler : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

} // namespace

// Tests and the command line open nothing.
TEST(ShellOpen, SwitchedOffWithoutAService)
{
    ShellOpen::setService(nullptr);
    EXPECT_TRUE(ShellOpen::openFile(u"/tmp/stampa.pdf"_s));
    EXPECT_TRUE(ShellOpen::openFolder(u"/tmp/"_s));
}

TEST(DesktopShell, HandsLocalFilesToTheDesktop)
{
    FileHandler handler;
    QDesktopServices::setUrlHandler(u"file"_s, &handler, "open");
    DesktopShell shell;
    EXPECT_TRUE(shell.openFile(u"/tmp/Stp/RiepilogoINPS.pdf"_s));
    EXPECT_TRUE(shell.openFolder(u"/tmp/Stp/"_s));
    QDesktopServices::unsetUrlHandler(u"file"_s);
    ASSERT_EQ(handler.opened.size(), 2);
    EXPECT_EQ(handler.opened[0], QUrl::fromLocalFile(u"/tmp/Stp/RiepilogoINPS.pdf"_s));
    EXPECT_EQ(handler.opened[1].toLocalFile(), u"/tmp/Stp/"_s);
}

#include "DesktopShellTest.moc"

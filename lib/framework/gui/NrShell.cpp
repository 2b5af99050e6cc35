#include "NrShell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace {

class DesktopShell : public NrShellService
{
public:
    bool openDocument(const QString &path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

    QString chooseFolder(const QString &caption) override
    {
        return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption);
    }
};

NrShellService *g_service = nullptr;

} // namespace

NrShellService &shellService()
{
    static DesktopShell desktop;
    return g_service ? *g_service : desktop;
}

NrShellServiceScope::NrShellServiceScope(NrShellService *service)
    : m_previous(g_service)
{
    g_service = service;
}

NrShellServiceScope::~NrShellServiceScope()
{
    g_service = m_previous;
}

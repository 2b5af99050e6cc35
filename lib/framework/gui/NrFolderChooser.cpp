#include "NrFolderChooser.h"

#include <QApplication>
#include <QFileDialog>

namespace {

NrFolderChooser *g_chooser = nullptr;

} // namespace

QString NrChooseFolder(const QString &caption)
{
    if (g_chooser)
        return g_chooser->chooseFolder(caption);
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption);
}

NrFolderChooserScope::NrFolderChooserScope(NrFolderChooser *chooser)
    : m_previous(g_chooser)
{
    g_chooser = chooser;
}

NrFolderChooserScope::~NrFolderChooserScope()
{
    g_chooser = m_previous;
}

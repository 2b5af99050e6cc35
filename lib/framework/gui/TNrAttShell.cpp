#include "TNrAttShell.h"

#include "NrMessages.h"
#include "ShellOpen.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

bool TNrAttShell::run()
{
    const QString path = QDir(Directory).filePath(FileName);
    if (!QFileInfo::exists(path)) {
        NrMessageDlg(
            u"Impossibile aprire «%1»: il documento %2 non esiste."_s.arg(Caption, QDir::toNativeSeparators(path)),
            MsgDlgType::Error);
        return false;
    }
    if (!ShellOpen::openFile(path)) {
        NrMessageDlg(u"Impossibile aprire il documento %1: nessun programma associato ai file di questo tipo."_s.arg(
                         QDir::toNativeSeparators(path)),
                     MsgDlgType::Error);
        return false;
    }
    return true;
}

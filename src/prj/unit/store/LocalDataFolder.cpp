#include "LocalDataFolder.h"

#include "DataPaths.h"
#include "NrMessages.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace LocalDataFolder {

QString path()
{
    return DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\"_s);
}

void prepare()
{
    const QString folder = path();
    if (QDir(folder).exists())
        return;
    QDir().mkpath(folder);
    const QString initial = DataPaths::fromRoot(u"USR\\FL2023\\DbIniziale\\"_s);
    for (const QString &name : {u"TFIFI_FIELDSFILE.CDS"_s, u"TFILE_FILETELEM.CDS"_s}) {
        const QString source = DataPaths::resolve(initial, name);
        if (!QFile::copy(source, folder + name))
            NrMessageDlg(u"Errore nella creazione dei dati di partenza: %1"_s.arg(name), MsgDlgType::Error, MsgDlgBtn::OK);
    }
}

} // namespace LocalDataFolder

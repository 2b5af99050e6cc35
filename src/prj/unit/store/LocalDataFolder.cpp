#include "LocalDataFolder.h"

#include "AtomicFile.h"
#include "DataPaths.h"
#include "Exceptions.h"
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
        QFile source(DataPaths::resolve(initial, name));
        try {
            if (!source.open(QIODevice::ReadOnly))
                throw EInOutError(u"Impossibile aprire il file «%1»: %2"_s.arg(
                    QDir::toNativeSeparators(source.fileName()), source.errorString()));
            AtomicFile::save(folder + name, source.readAll());
        } catch (const EInOutError &e) {
            NrMessageDlg(u"Errore nella creazione dei dati di partenza: %1\n\n%2"_s.arg(name, e.message()),
                         MsgDlgType::Error, MsgDlgBtn::OK);
        }
    }
}

} // namespace LocalDataFolder

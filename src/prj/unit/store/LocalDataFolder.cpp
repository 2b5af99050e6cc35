#include "LocalDataFolder.h"

#include "AtomicFile.h"
#include "DataPaths.h"
#include "Exceptions.h"
#include "NrFindings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace LocalDataFolder {

QString path()
{
    return DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\"_s);
}

namespace {

// Temporary files of the atomic writer left by an interrupted run; nothing
// else of the folder is touched.
void removeLeftovers(const QString &folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &file : files) {
        if (isTemporaryName(file.fileName()))
            QFile::remove(file.absoluteFilePath());
    }
}

} // namespace

void prepare(FindingSink &findings)
{
    const QString folder = path();
    if (QDir(folder).exists()) {
        removeLeftovers(folder);
        return;
    }
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
            findings.error(u"Errore nella creazione dei dati di partenza: %1\n\n%2"_s.arg(name, e.message()));
        }
    }
}

} // namespace LocalDataFolder

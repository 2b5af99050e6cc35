#include "THlmCds.h"

#include "AtomicFile.h"
#include "ClientDataSet.h"
#include "Exceptions.h"
#include "NrFindings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(
            u"Impossibile aprire il file «%1»: %2"_s.arg(QDir::toNativeSeparators(path), file.errorString()));
    return file.readAll();
}

} // namespace

QString THlmCds::backupPath(const QString &path)
{
    const QFileInfo info(path);
    return info.path() + u'/' + info.completeBaseName() + u".BAK"_s;
}

void THlmCds::loadFromFile(ClientDataSet &dataSet, const QString &path, FindingSink &findings)
{
    const QString backup = backupPath(path);
    if (!QFile::exists(path) && QFile::exists(backup)) {
        AtomicFile::save(path, readAll(backup));
        findings.warning(
            u"Il file «%1» mancava: è stato ripristinato dalla copia «%2» lasciata da un salvataggio interrotto."_s.arg(
                QDir::toNativeSeparators(path), QDir::toNativeSeparators(backup)));
    }
    dataSet.loadFromFile(path);
}

void THlmCds::saveToFile(ClientDataSet &dataSet, const QString &path)
{
    const QString backup = backupPath(path);
    if (QFile::exists(path)) {
        try {
            AtomicFile::save(backup, readAll(path));
        } catch (const EInOutError &) {
            // The copy is a courtesy: the file itself is never missing while
            // it is written.
        }
    }
    dataSet.mergeChangeLog();
    dataSet.saveToFile(path);
    QFile::remove(backup);
}

#include "THlmCds.h"

#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QFile>
#include <QFileInfo>

void THlmCds::loadFromFile(ClientDataSet &dataSet, const QString &path)
{
    dataSet.loadFromFile(path);
}

void THlmCds::saveToFile(ClientDataSet &dataSet, const QString &path)
{
    const QFileInfo info(path);
    const QString backup = info.path() + u'/' + info.completeBaseName() + u".BAK";
    QFile::remove(backup);
    const bool movedAside = QFile::rename(path, backup);
    dataSet.mergeChangeLog();
    try {
        dataSet.saveToFile(path);
    } catch (...) {
        if (movedAside)
            QFile::rename(backup, path);
        throw;
    }
    QFile::remove(backup);
}

void THlmCds::loadFromBlob(ClientDataSet &dataSet, const QByteArray &blob, const QString &source)
{
    dataSet.loadFromBytes(blob, source);
}

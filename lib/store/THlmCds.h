#pragma once

#include <QByteArray>
#include <QString>

class ClientDataSet;

// Client datasets kept as local files: the reference tables and the working
// files of the telematic supply.
class THlmCds
{
public:
    static void loadFromFile(ClientDataSet &dataSet, const QString &path);
    // Moves the old file aside as ".BAK", merges the change log, writes the
    // dataset under the path through a temporary file, then deletes the
    // ".BAK". A failed move or delete does not stop the save; a failed write
    // puts the old file back and raises EInOutError.
    static void saveToFile(ClientDataSet &dataSet, const QString &path);
    // The packed structure or data held in a blob field.
    static void loadFromBlob(ClientDataSet &dataSet, const QByteArray &blob, const QString &source);
};

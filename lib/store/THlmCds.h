#pragma once

#include <QString>

class ClientDataSet;
class FindingSink;

// Client datasets kept as local files: the reference tables and the working
// files of the telematic supply.
class THlmCds
{
public:
    // A file that is missing while its ".BAK" copy is there (a save of an
    // older version of the program stopped half-way) is first put back from
    // the copy, and a warning to the findings says so.
    static void loadFromFile(ClientDataSet &dataSet, const QString &path, FindingSink &findings);
    // Copies the old file to ".BAK", merges the change log, writes the
    // dataset through a temporary file that replaces the old one only when
    // whole, then deletes the ".BAK". The file is there at every moment, old
    // or new, whenever the program stops. A failed copy or delete does not
    // stop the save; a failed write keeps the old file and raises
    // EInOutError.
    static void saveToFile(ClientDataSet &dataSet, const QString &path);
    // The ".BAK" copy that a save keeps while it writes the file.
    static QString backupPath(const QString &path);
};

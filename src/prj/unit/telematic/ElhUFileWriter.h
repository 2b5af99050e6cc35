#pragma once

#include <QString>
#include <QStringList>

class ClientDataSet;
class FindingSink;

// A supply file holds at most this many data records (D, I, J); a larger
// supply is split into several files.
inline constexpr int kDataRecordsPerFile = 8275;

// What the record builders leave for the writer: the Prospetti that the
// supply carries, for the boxes of record B.
struct SupplyContents
{
    bool stPresent = false;
    bool svPresent = false;
    bool sxPresent = false;
    bool syPresent = false; // record I has a module
    bool diPresent = false;
};

// What the writer left on disk.
struct SupplyFiles
{
    QStringList written; // in order: the chosen name, then "_2", "_3", ...
    QStringList removed; // parts of an earlier, larger supply under the same name
};

// Writes the records of TFILE_FILETELEM (`records`) to the supply file
// `fileName`, in Windows-1252, one record per line ended by CR LF. Each file of
// a split supply has its own A, B and Z: A carries the index of the file and
// the number of files at 522-525 and 526-529, Z the counts of its own D, I
// and J records. Record B carries the presence of the Prospetti at
// 1141-1144 and 1146. The second file is named after the chosen one with
// "_2", and so on; a supply of more than one file is first reported to the
// findings ("ATTENZIONE. La fornitura supera il limite previsto, ..."). Every file is written whole to a temporary file
// first, and the old files are replaced only when all of them were written: an error leaves the old supply as it was
// and no temporary file. Then the
// "_N" files that an earlier, larger supply left under the same name are
// removed, so that a stale part is never sent with the new ones.
SupplyFiles WriteSupplyFiles(ClientDataSet &records, const SupplyContents &contents, const QString &fileName,
                             FindingSink &findings);

// The message that closes a generation, naming every file written and every
// stale part removed.
QString SupplyFilesMessage(const SupplyFiles &files);

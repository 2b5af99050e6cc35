#pragma once

#include <QString>
#include <QStringList>

class FileWizard;

// A supply file holds at most this many data records (D, I, J); a larger
// supply is split into several files.
inline constexpr int kDataRecordsPerFile = 8275;

// What the writer left on disk.
struct SupplyFiles
{
    QStringList written; // in order: the chosen name, then "_2", "_3", ...
    QStringList removed; // parts of an earlier, larger supply under the same name
};

// Writes the records of TFILE_FILETELEM to the supply file chosen on the
// wizard, in Windows-1252, one record per line ended by CR LF. Each file of
// a split supply has its own A, B and Z: A carries the index of the file and
// the number of files at 522-525 and 526-529, Z the counts of its own D, I
// and J records. Record B carries the presence of the Prospetti at
// 1141-1144 and 1146. The second file is named after the chosen one with
// "_2", and so on. Every file is written whole to a temporary file first,
// and the old files are replaced only when all of them were written: an
// error leaves the old supply as it was and no temporary file. Then the
// "_N" files that an earlier, larger supply left under the same name are
// removed, so that a stale part is never sent with the new ones.
SupplyFiles WriteSupplyFiles(FileWizard &wizard);

// The message that closes a generation, naming every file written and every
// stale part removed.
QString SupplyFilesMessage(const SupplyFiles &files);

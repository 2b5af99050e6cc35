#pragma once

#include <QStringList>

class FileWizard;

// A supply file holds at most this many data records (D, I, J); a larger
// supply is split into several files.
inline constexpr int kDataRecordsPerFile = 8275;

// Writes the records of TFILE_FILETELEM to the supply file chosen on the
// wizard, in Windows-1252, one record per line ended by CR LF. Each file of
// a split supply has its own A, B and Z: A carries the index of the file and
// the number of files at 522-525 and 526-529, Z the counts of its own D, I
// and J records. Record B carries the presence of the Prospetti at
// 1141-1144 and 1146. The second file is named after the chosen one with
// "_2", and so on. Each file is written to a temporary file and renamed into
// place: an error leaves the files already complete and nothing else.
// Returns the files written, in order.
QStringList WriteSupplyFiles(FileWizard &wizard);

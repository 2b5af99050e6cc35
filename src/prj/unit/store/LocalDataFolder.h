#pragma once

#include <QString>

class FindingSink;

// The local data folder of the year (data root + "USR\FLDati\FL2023\"):
// the working files of the telematic supply and the import selections.
namespace LocalDataFolder {

// The folder, ending in a separator.
QString path();

// Creates the folder when it does not exist, with the initial copies of the
// working files from "USR\FL2023\DbIniziale\". A copy that fails is
// reported as the error "Errore nella creazione dei dati di partenza: %s"
// with the file name and the preparation goes on. Of an existing folder only the temporary files
// that an interrupted write left behind are removed.
void prepare(FindingSink &findings);

} // namespace LocalDataFolder

#pragma once

#include "NrConnection.h"
#include "NrFindings.h"
#include "THlmQueryText.h"

#include <QString>

// The connection to the school database of the payroll library: settings
// from "KbrPar.ini" of the installation folder (program folder +
// "..\usr\kbr\"), the named statements from the definitions folder (program
// folder + "..\etc\kbr\"), and the opening sequence of the library.
class TdmkbrConnessione : public TdmNrConnection
{
public:
    // The application whose statements the connection checks.
    static constexpr const char16_t *kApplication = u"Gestione emolumenti";
    static constexpr const char16_t *kSettingsFile = u"KbrPar.ini";

    // The framework's creation (this becomes the global connection), the
    // settings of the installation and the named statements.
    TdmkbrConnessione();
    ~TdmkbrConnessione() override;

    static QString definitionsFolder();
    static QString installationFolder();
    // Reads "KbrPar.ini", writing it with the embedded default (SQLite, a
    // database file in the installation folder) when missing:
    //   [Database]
    //   Driver=QSQLITE | QPSQL
    //   Database=kbr.sqlite | <database name>
    //   Host=, Port=, User=     (PostgreSQL; the password comes from
    //                            PGPASSWORD or .pgpass, never from the file)
    //   Attesa=30               seconds to wait for a database held by
    //                            another program or a server that does not answer
    //   Silenzio=30             seconds after which a PostgreSQL server that
    //                            stops answering during a statement is given up
    // A relative SQLite file is in the installation folder. A file without
    // the [Database] section is refused rather than read as the default.
    static NrConnectionSettings loadSettings();

    THlmQueryText &queryText() { return m_queryText; }
    // Where the opening reports statements that are not valid, a schema
    // brought up to date and, in openOrGoOn(), why the connection did not
    // open. Until one is set nobody is told.
    void setFindings(FindingSink &findings) { m_findings = &findings; }

    // The statements must be valid for "Gestione emolumenti"; then the
    // database is opened, its schema upgraded, the start-up statements run,
    // the reports registered and the compensation register's report family
    // written. False, with the reason reported, when the statements are not
    // valid; an exception with the database's text when a step fails (the
    // connection is then closed). A database that does not exist, an empty
    // file or a database without the program's tables is refused, naming it:
    // only createDatabase() makes one.
    bool OpenConnection() override;
    // The same for "elh770 crea-database": a SQLite file that does not exist
    // is made, and a database without the program's tables gets them.
    bool createDatabase();
    // Opens the connection as the program does at start: when it does not
    // open, the reason is reported, the global connection is cleared and the
    // program goes on without the school database.
    bool openOrGoOn();

private:
    THlmQueryText m_queryText;
    bool m_statementsValid = false;
    bool m_creating = false;
    FindingSink *m_findings = &standardErrorFindings();
};

#pragma once

#include "NrFindings.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class ClientDataSet;
class HlmWaitWindow;
class TdmNrConnection;

// The table store: every table of a return is held in the school database
// in a generic layout and handled in memory as a client dataset.
//   TCDS_STRUTTURA   one row per table structure and version (an empty
//                    dataset packet, the person field map, the last record
//                    number given out)
//   TCRF_CROFISCALE  one row per return instance (program, year, month)
//   TAFI_ANAFISCALE  one row per person of an instance
//   TFIS_DATIFISCALI one row per filled field of a record
// A program code separates the programs sharing the database ("elh" for the
// return, "eli" for the payroll certifications).
class THlmDBCds
{
public:
    // A structure version as createStructure() stores it.
    struct StructureDef
    {
        QString program;
        QString table;
        int year = 0;      // the first year the version serves
        int month = 0;     // the first month it serves
        QByteArray schema; // the empty dataset packet
        QString fieldMap;  // "saficognome=Cognome;safigruppoana=Matricola+Qualifica2"
        bool registry = false;
        bool fieldMapReadOnly = false;
    };

    THlmDBCds(int year, const QString &programCode, int month);

    void setConnection(TdmNrConnection *connection) { m_connection = connection; }
    TdmNrConnection *connection() const { return m_connection; }
    // Loads show the wait window when the switch is on and a window is given.
    void setShowWait(bool on) { m_showWait = on; }
    bool showWait() const { return m_showWait; }
    void setWaitWindow(HlmWaitWindow *window) { m_waitWindow = window; }
    // Where the store reports what its owner must be told: texts cut to
    // their field and records without a person when a table is loaded, an
    // export folder that cannot be made. Until one is set nobody is told.
    void setFindings(FindingSink &findings) { m_findings = &findings; }
    FindingSink &findings() const { return *m_findings; }
    void setProgramCode(const QString &code) { m_program = code; }
    const QString &programCode() const { return m_program; }
    int year() const { return m_year; }
    int month() const { return m_month; }

    // Loads the table of the store's year and month into the dataset, which
    // takes the table's structure; the records come in record-number order
    // with an empty change log.
    void open(ClientDataSet &dataSet, const QString &table);
    // The same for another period; month -1 means every month of the year.
    void openFor(ClientDataSet &dataSet, const QString &table, int month, int year);
    // Only the records of one person (IAFIID), or of all with -1.
    void openForPerson(ClientDataSet &dataSet, const QString &table, int person, int month, int year);

    // Writes the dataset's change log to the table of the store's year and
    // month. Without a transaction on the connection the save runs in one of
    // its own; in the caller's transaction it neither commits nor rolls back.
    // On an error the store's transaction is rolled back, the dataset's
    // pending changes are discarded and EDatabaseError carries the text.
    void save(ClientDataSet &dataSet, const QString &table);
    // Several tables saved as one: their value rows go out together, in few
    // statements, and an error discards the pending changes of them all.
    void save(const QList<std::pair<ClientDataSet *, QString>> &tables);
    bool hasError() const { return m_error; }

    // A new person of the store's return instance, with no values yet: a
    // registry record given its id (IAFIID) before its first save keeps it,
    // so that its detail records can point to it without saving it first.
    qint64 newPerson();
    const QString &errorText() const { return m_errorText; }

    // Writes every table of the program for the period into the folder as
    // <table>.cds, in descending order of table name; returns the tables
    // written in that order. The folder is replaced whole at the end, so a
    // failure leaves it as it was (EInOutError says what and where); a
    // folder holding other files is refused. A folder whose parent cannot
    // be created is reported to the findings and nothing is written.
    QStringList exportAll(const QString &programCode, int year, const QString &folder, int month);

    // Stores a structure version; returns its identifier.
    qint64 createStructure(const StructureDef &def);

    // The return instance of a program, year and month, created when missing
    // (the procedure phlm_getcrofiscale on PostgreSQL, the same contract in
    // code on SQLite). A year or month below 1 stands for none.
    static qint64 returnInstance(TdmNrConnection &connection, const QString &programCode, int year, int month);

private:
    struct Structure
    {
        qint64 id = 0;
        qint64 lastRecord = 0;
        bool registry = false;
        bool fieldMapReadOnly = false;
        QStringList fieldMap;
        QByteArray schema;
    };

    TdmNrConnection &requireConnection() const;
    Structure findStructure(const QString &table, int year, int month, ClientDataSet *dataSet);
    void load(ClientDataSet &dataSet, const QString &table, int person, int month, int year);
    // The last record number of a structure, its counter locked for the
    // transaction.
    static qint64 lockCounter(TdmNrConnection &connection, qint64 structure);

    int m_year;
    QString m_program;
    int m_month;
    TdmNrConnection *m_connection = nullptr;
    HlmWaitWindow *m_waitWindow = nullptr;
    FindingSink *m_findings = &standardErrorFindings();
    bool m_showWait = true;
    bool m_error = false;
    QString m_errorText;
    // The structures found, while the connection's cache epoch stays the one
    // they were read under.
    QHash<QString, Structure> m_structures;
    quint64 m_structuresEpoch = 0;
    QHash<QString, QString> m_personColumns; // of TAFI_ANAFISCALE, lower case -> as the database names it
};

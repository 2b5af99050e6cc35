#pragma once

#include <QString>
#include <QStringList>

class THlmDBCds;

// One Prospetto of the F24EP payments import: the table it fills, the named
// statement that gives its rows, the statement that refuses the import when
// it finds rows (none for ST I), the field of the tax code, the section of
// the F24EP form it reads ("E" Erario, "R" Regioni, "EL" Enti locali) and
// the result of the last run.
class TImportProspetto
{
public:
    // Invalid: lines of the payroll were refused.
    enum class Outcome { Imported, Refused, NothingToImport, Invalid, Failed };

    TImportProspetto(QString header, QString table, QString mainQuery, QString testQuery, QString taxCodeField,
                     QString section);

    const QString &header() const { return m_header; }
    const QString &table() const { return m_table; }

    // Replaces the rows of the table in the store with the rows of the main
    // statement for the year (ANNO, and DATA_INIZIALE its first of January),
    // in one transaction: the table keeps its rows when the test statement
    // finds rows for the financial year (IANFID), when a line of the payroll
    // that the Prospetto reads is not sound (each is named with the reason),
    // when the main statement gives none, and when anything fails on the way.
    Outcome run(THlmDBCds &store, int financialYear);

    // "Importati N righi", the refusal or the failure with its cause, and
    // the warnings on the lines (a delegation found twice).
    const QString &result() const { return m_result; }
    int count() const { return m_count; }
    // Whether the rows imported (or, when lines were refused, kept) hold payments of employees, of the
    // self-employed (tax codes 104E, 1019, 1020, 1040).
    bool employeePayments() const { return m_employees; }
    bool selfEmployedPayments() const { return m_selfEmployed; }

private:
    bool refusedByTest(THlmDBCds &store, int financialYear);
    // Notes the payments of the rows a refused import leaves in place.
    void noteKeptRows(THlmDBCds &store);
    // The lines refused and the warnings, one text each.
    void checkLines(THlmDBCds &store, QStringList &refused, QStringList &warnings) const;
    void replaceRows(THlmDBCds &store);

    QString m_header;
    QString m_table;
    QString m_mainQuery;
    QString m_testQuery;
    QString m_taxCodeField;
    QString m_section;
    QString m_result;
    int m_count = 0;
    bool m_employees = false;
    bool m_selfEmployed = false;
};

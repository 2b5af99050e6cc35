#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class ClientDataSet;
class THlmDBCds;

// The employees and the self-employed workers of the return. Each is a
// person (IAFIID) of a registry table, identified by a fiscal code and a
// group letter that keeps an employee and a self-employed worker with the
// same code apart; the rows of his sections carry his IAFIID and his code.
namespace PersonTables {

enum class Kind { Employee, SelfEmployed };

struct Registry
{
    QString table;        // "TDIP7_ANAGRFISCALI"
    QString codeField;    // "SDIP7CODFIS", also in every section row
    QString groupField;   // "SDIP7GRUPPOANA"
    QString group;        // "D"
    QString surnameField; // "SDIP7COGNOME"
    QString nameField;    // "SDIP7NOME"
    QStringList sections; // the section tables, in the order they are loaded
    // The person's own data, which his record carries into the next year's
    // return: (field of the new record, field of last year's record). The
    // amounts and what belongs to one year (its events, its extinct agent,
    // its flags) stay behind.
    QList<std::pair<QString, QString>> carried;
};

const Registry &registry(Kind kind);

// "IAFIID = n": the filter that shows only one person's rows.
QString personFilter(qint64 person);

// The copy of a registry record into the next year's return: appends to `to`
// the carried data of the current record of `from` (the fields both have) in
// the person's group, and posts it; the store gives the record number and the
// person anew. A person already in `to` (same fiscal code) is not added
// again: returns false.
bool copyRegistryRecord(const ClientDataSet &from, ClientDataSet &to, Kind kind);

// Deletes every row of a person from a loaded table, whatever its filter,
// and returns how many there were.
int deletePersonRows(ClientDataSet &table, qint64 person);

// Deletes a person from the store: his registry record and his rows in
// every section, all or nothing, in one transaction (the caller's, when one
// is open). A failure raises EDatabaseError and leaves the store as it was.
void deletePerson(THlmDBCds &store, Kind kind, qint64 person);

} // namespace PersonTables

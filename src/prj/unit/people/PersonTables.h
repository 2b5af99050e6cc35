#pragma once

#include <QString>
#include <QStringList>

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
};

const Registry &registry(Kind kind);

// "IAFIID = n": the filter that shows only one person's rows.
QString personFilter(qint64 person);

// The copy of a registry record: appends to `to` the current record of
// `from` (every field both have, but the record number and the person,
// which the store gives anew) in the person's group, and posts it. A person
// already in `to` (same fiscal code) is not added again: returns false.
bool copyRegistryRecord(const ClientDataSet &from, ClientDataSet &to, Kind kind);

// Deletes every row of a person from a loaded table, whatever its filter,
// and returns how many there were.
int deletePersonRows(ClientDataSet &table, qint64 person);

// Deletes a person from the store: his registry record and his rows in
// every section, all or nothing, in one transaction (the caller's, when one
// is open). A failure raises EDatabaseError and leaves the store as it was.
void deletePerson(THlmDBCds &store, Kind kind, qint64 person);

} // namespace PersonTables

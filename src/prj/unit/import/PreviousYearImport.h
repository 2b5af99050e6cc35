#pragma once

#include "PersonTables.h"

#include <QString>

class ClientDataSet;
class THlmDBCds;

// The registry of the employees or of the self-employed workers of last
// year's return brought into this year's, so that the office need not type
// its people again. Last year's registry is the previous year's return in
// the store, or the file that "Esporta dati " wrote into a folder. Each
// person comes with his own data (PersonTables::copyRegistryRecord); people
// already in this year's registry, by fiscal code, are left as they are, so
// that importing twice adds no one.
//
// The whole run is one transaction of the store: the people are appended to
// this year's registry and saved together, so that a failure leaves the
// registry as it was and the run can simply be repeated.
class PreviousYearImport
{
public:
    struct Outcome
    {
        int read = 0;        // people of last year's registry
        int added = 0;       // brought into this year's
        int present = 0;     // already there
        int withoutCode = 0; // records with no fiscal code, left out
    };

    static const QString kFolderMissing;
    static const QString kFilesMissing;

    PreviousYearImport(THlmDBCds &store, PersonTables::Kind kind);

    // From the previous year's return in the store.
    Outcome fromStore();
    // From the registry file exported into the folder. A folder that does
    // not exist, or holds no registry file, raises Exception with
    // kFolderMissing or kFilesMissing and changes nothing.
    Outcome fromFolder(const QString &folder);

    // The outcome told to the user: how many people were read, added and
    // already present.
    static QString report(PersonTables::Kind kind, const Outcome &outcome);

private:
    Outcome copy(ClientDataSet &lastYear);

    THlmDBCds &m_store;
    PersonTables::Kind m_kind;
};

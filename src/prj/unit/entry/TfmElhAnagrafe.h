#pragma once

#include "TfmElhChildDB.h"

class TfrElhAnagrafe;

// The window of the employees or of the self-employed workers: the registry
// frame fills it and holds the section frames. On show the registry stands
// on its first person by fiscal code with his sections; every confirmed
// record is saved at once, and deleting a person removes him and his
// sections from the store in one transaction.
class TfmElhAnagrafe : public TfmElhChildDB
{
    Q_OBJECT

protected:
    TfmElhAnagrafe(THlmDBCds &store, TfrElhAnagrafe *registry, QWidget *parent = nullptr);

    void FormShow() override;

private:
    void deletePerson(qint64 person);

    TfrElhAnagrafe *m_registry;
};

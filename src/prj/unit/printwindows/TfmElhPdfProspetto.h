#pragma once

#include "TfmNrDialog.h"

#include <QList>

class THlmDBCds;
class TdmElhStampe;
class TfrElhPdfOutput;

// The print window of a Prospetto ("Stampa Prospetto ST", ...): the common
// part of the print windows over the Prospetto's print. The command table
// knows each by its own window class (TfmElhPdfST, TfmElhPdfSV, ...).
// Closing the windows of ST, SY, SV and DI closes the agent's record that
// the shared print module may hold.
class TfmElhPdfProspetto : public TfmNrDialog
{
    Q_OBJECT

public:
    enum class Prospetto { ST, SV, SX, SY, SS, DI };
    static const QList<Prospetto> &all();
    static QString className(Prospetto prospetto);

    TfmElhPdfProspetto(Prospetto prospetto, THlmDBCds &store, TdmElhStampe &stampe, QWidget *parent = nullptr);

    TfrElhPdfOutput *frOutput;

protected:
    void done(int result) override;

private:
    bool print(const QString &fullName);

    Prospetto m_prospetto;
    THlmDBCds &m_store;
    TdmElhStampe &m_stampe;
};

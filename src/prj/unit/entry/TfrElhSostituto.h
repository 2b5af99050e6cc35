#pragma once

#include "TfrElhFrontRecord.h"

#include <functional>

class TNrDBRadioGroup;

// The frame of the withholding agent and frontispiece (TSOS_DATOSOSTITUTO,
// a single record) on five pages: "Dati Sostituto", "Domicilio
// notificazioni" (kept, its tab not shown), "Rappresentante firmatario",
// "Redazione/Firma", "Impegno/Visto". A new record takes the school's fiscal
// code.
class TfrElhSostituto : public TfrElhFrontRecord
{
    Q_OBJECT

public:
    // `schoolFiscalCode` reads the school's fiscal code from the school
    // database (empty when unknown).
    explicit TfrElhSostituto(std::function<QString()> schoolFiscalCode, QWidget *parent = nullptr);

    QString tableName() const override;

    QTabWidget *pcSostituto;
    TNrDBRadioGroup *rgTipoSostituto;

protected:
    void cdsMainNewRecord() override;
    void dsMainStateChange() override;

private:
    QLayout *datiSostituto();
    QLayout *domicilioNotificazioni();
    QLayout *rappresentanteFirmatario();
    QLayout *redazioneFirma();
    QLayout *impegnoVisto();
    void tipoSostitutoChosen(const QString &value);
    void showTipoSostituto();
    void pageChanged(int index);

    std::function<QString()> m_schoolFiscalCode;
    QList<QWidget *> m_ufficio;
    QList<QWidget *> m_personaFisica;
};

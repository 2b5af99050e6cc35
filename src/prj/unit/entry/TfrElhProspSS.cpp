#include "TfrElhProspSS.h"

#include "DataSetTableModel.h"
#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The record belongs to an extinct agent or declares one of the amounts
// that the form's summary counts.
QString datiPresenti(const ClientDataSet &ss)
{
    static const QStringList amounts{u"FIOSADDREGTRA_SS"_s,   u"FIOSADDCOMSALTRA_SS"_s, u"FIOSADDCOMACC_SS"_s,
                                     u"FIOSSALIRPEF_SS"_s,    u"FIOSPRACCIRPEF_SS"_s,   u"FIOSADDREG_SS"_s,
                                     u"FIOSACCADDCOM_SS"_s,   u"FIOSSECACCIRPEF_SS"_s,  u"FIOSACCTAXSEP_SS"_s,
                                     u"FIOSIMPSOSPREPRO_SS"_s};
    return TfrElhProspetto::datiPresentiText(!ss.fieldByName(u"SSOE7CODICE"_s).asString().trimmed().isEmpty()
                                             || TfrElhProspetto::anyAmount(ss, amounts));
}

} // namespace

TfrElhProspSS::TfrElhProspSS(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE"_s, parent)
{
    setObjectName(u"TfrElhProspSS"_s);
    grFrame->setColumns({u"SSOE7CODICE"_s}, {u"Codice fiscale sostituto"_s});
    grFrame->dataModel()->addDrawnColumn(u"Dati presenti"_s, datiPresenti);

    const QString year = QString::number(kTaxYear);
    const QString previous = QString::number(kPreviousYear);
    FormLines *lines = formLines(5);
    addHeader(lines);
    lines->addHeading(u"Importi non prelevati a seguito di operazioni straordinarie"_s);
    FormLines::Box irpefBalance = edit(u"4"_s, u"FIOSSALIRPEF_SS"_s, u"Saldo IRPEF %1"_s.arg(previous));
    irpefBalance.heading = u"Assistenza %1"_s.arg(year);
    lines->addLine(
        u"SS"_s,
        {edit(u"1"_s, u"FIOSADDREGTRA_SS"_s, u"Addizionale regionale %1\nnon trattenuta nel %2"_s.arg(previous, year)),
         edit(u"2"_s, u"FIOSADDCOMSALTRA_SS"_s,
              u"Addizionale comunale %1\na saldo non trattenuta nel %2"_s.arg(previous, year)),
         edit(u"3"_s, u"FIOSADDCOMACC_SS"_s, u"Addizionale comunale\nacconto %1"_s.arg(year)), irpefBalance,
         edit(u"5"_s, u"FIOSPRACCIRPEF_SS"_s, u"Primo acconto IRPEF %1"_s.arg(year)),
         edit(u"6"_s, u"FIOSADDREG_SS"_s, u"Addizionale regionale %1"_s.arg(previous)),
         edit(u"7"_s, u"FIOSSALADDREG_SS"_s, u"Saldo addizionale\ncomunale %1"_s.arg(previous)),
         edit(u"8"_s, u"FIOSACCADDCOM_SS"_s, u"Acconto addizionale\ncomunale %1"_s.arg(year)),
         edit(u"9"_s, u"FIOSSECACCIRPEF_SS"_s, u"Secondo acconto IRPEF\n%1"_s.arg(year)),
         edit(u"10"_s, u"FIOSACCTAXSEP_SS"_s, u"Acconto tassazione\nseparata"_s),
         edit(u"11"_s, u"FIOSIMPSOSPREPRO_SS"_s, u"Imposta sostitutiva premi\ndi produttività"_s),
         edit(u"12"_s, u"FIOSCEDSECCLOC_SS"_s, u"Cedolare secca locazioni\n%1"_s.arg(previous)),
         edit(u"13"_s, u"FIOS1RACCCEDSECC_SS"_s, u"Prima rata acconto\ncedolare secca %1"_s.arg(year)),
         edit(u"14"_s, u"FIOS2RACCCEDSECC_SS"_s, u"Seconda rata acconto\ncedolare secca %1"_s.arg(year)),
         edit(u"15"_s, u"FIOSCONTSOL_SS"_s, u"Contributo di solidarietà"_s)});
    lines->finish();
}

QString TfrElhProspSS::tableName() const
{
    return u"TSS4_PROSPETTOSS4"_s;
}

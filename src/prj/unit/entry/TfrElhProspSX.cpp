#include "TfrElhProspSX.h"

#include "DataSetTableModel.h"
#include "SxData.h"
#include "TNrDBCheckBox.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A box of an SX line: its field and caption, the reference file when the
// code is looked up, or a check box whose caption carries its number.
struct SxBox
{
    const char16_t *field;
    QString caption;
    const char16_t *referenceFile = nullptr;
    bool check = false;
};

struct SxLine
{
    const char16_t *label;
    QString heading;
    QList<SxBox> boxes;
};

QList<SxLine> sxLines()
{
    const QString year = QString::number(TfrElhProspetto::kTaxYear);
    const QString previous = QString::number(TfrElhProspetto::kPreviousYear);
    const QString usedF24 = u"Credito utilizzato in F24"_s;
    const QString acquired = u"Credito acquisito"_s;
    const QString ceded = u"Credito ceduto"_s;
    const QString assignor = u"Codice fiscale del cedente"_s;
    const QString assignee = u"Codice fiscale del cessionario"_s;
    const QString remaining = u"Credito residuo"_s;
    const QString due = u"Credito spettante"_s;
    const QString accrued = u"Credito maturato"_s;
    const QString transferred = u"Parte trasferita al consolidato"_s;
    return {
        {u"SX1",
         QString(),
         {{u"FCRECONGCESSRAPP_SX", u"Credito da conguaglio di fine anno o cessazione del rapporto"_s},
          {u"FVERSECC_SX", u"Versamenti %1\nin eccesso"_s.arg(year)},
          {u"CRECONG2082015_SX1", u"Credito da conguaglio della liquidazione delle prestazioni in capitale"_s},
          {u"CREALTRI_SX1", u"Credito per l'IVIE versata dalla società fiduciaria"_s},
          {u"FCRESPERIPIND_SX", u"Credito per restituzione di somme indebite (art. 150 D.L. n. 34/2020)"_s},
          {u"TRATTINTSPE_SX1", u"Trattamento integrativo speciale"_s},
          {u"CREUTILF24_SX1", usedF24}}},
        {u"SX2",
         QString(),
         {{u"FCRECONGASSFIS_SX", u"Credito da conguaglio di assistenza fiscale"_s}, {u"CREUTILF24_SX2", usedF24}}},
        {u"SX3",
         QString(),
         {{u"CRECANLOC_SX1", u"Credito per canoni di locazione"_s},
          {u"CREMARIMB_SX1", u"Credito marittimi"_s},
          {u"CREAPE_SX3", u"Credito APE"_s},
          {u"CREUTILF24_SX3", usedF24}}},
        {u"SX4",
         QString(),
         {{u"CRERISDICH_SX", u"Credito risultante dalla dichiarazione\nrelativa al %1"_s.arg(previous)},
          {u"CREUTILF24_SX4", usedF24},
          {u"CREDI_SX4", u"Credito da DI"_s},
          {u"CRERISDICHUTF24_SX", u"Credito risultante dalla presente dichiarazione"_s},
          {u"CREDUTCOMPENS_SX", u"Credito da utilizzare in compensazione"_s},
          {u"CREDCHIEDRIMB_SX", u"Credito di cui si chiede il rimborso"_s}}},
        {u"SX31",
         u"Regioni a statuto speciale"_s,
         {{u"LVA_SX", u"VA 1"_s, nullptr, true},
          {u"LSA_SX", u"SA 2"_s, nullptr, true},
          {u"LSI_SX", u"SI 3"_s, nullptr, true}}},
        {u"SX32",
         u"Crediti per ritenute su redditi di lavoro dipendente, assimilati e assistenza fiscale"_s,
         {{u"TRASFCONS32_SX", transferred}, {u"CRERITLAVDIPASSASSFIS_SX", u"Credito"_s}}},
        {u"SX33",
         u"Crediti per ritenute su redditi di lavoro autonomo, provvigioni e redditi diversi"_s,
         {{u"TRASFCONS33_SX", transferred}, {u"CRERITLAVAUTPROVRDIV_SX", u"Credito"_s}}},
        {u"SX34",
         u"Crediti per ritenute su redditi di capitale"_s,
         {{u"TRASFCONS34_SX", transferred}, {u"CRESCARITCAP34_SX", u"Credito"_s}}},
        {u"SX35",
         u"Credito per canoni di locazione"_s,
         {{u"CREMAT_SX", u"Credito maturato nel %1"_s.arg(year)},
          {u"CREUTF24_SX", usedF24},
          {u"AMMCREDRES_SX", u"Ammontare credito residuo"_s}}},
        {u"SX36",
         u"Credito per interessi"_s,
         {{u"CREMATINT_SX", u"Credito maturato nel %1"_s.arg(year)},
          {u"CREUTF24INT_SX", usedF24},
          {u"AMMCREDRESINT_SX", u"Ammontare credito residuo"_s}}},
        {u"SX37",
         QString(),
         {{u"CRESPETT_SX", u"Credito spettante al %1"_s.arg(year)},
          {u"CREACQUI_SX", acquired},
          {u"CRECED_SX", ceded},
          {u"CREANTCREUTF24_SX", usedF24},
          {u"CREANTAMMCRERES_SX", u"Ammontare credito residuo"_s}}},
        {u"SX40",
         QString(),
         {{u"RACCRERANNPREC_SX40", u"Credito residuo anno precedente"_s},
          {u"RACCREACQ_SX40", acquired},
          {u"FCREACQ_SX40", acquired},
          {u"CFISCEDENTE_SX40", assignor},
          {u"FCRECED_SX40", ceded},
          {u"CFISCESSION_SX40", assignee},
          {u"RACCREUTF24_SX40", usedF24},
          {u"RACCREMAT2011_SX40", u"Credito maturato per il %1"_s.arg(2014)},
          {u"RACAMMCRERES_SX40", u"Ammontare credito residuo"_s},
          {u"RACCREUMAT2011_SX40", u"Credito ulteriore\nmaturato per il %1"_s.arg(2014)}}},
        {u"SX41",
         QString(),
         {{u"RACUCMCRESPE_SX41", due},
          {u"FCREMATUR_SX41", accrued},
          {u"RACUCMCREACQ_SX41", acquired},
          {u"RACUCMCFCED_SX41", assignor},
          {u"RACUCMXRECED_SX41", ceded},
          {u"RACUCMCFCESS_SX41", assignee},
          {u"RACUCMCUF24_SX41", usedF24},
          {u"RACUCMCRERES_SX41", remaining}}},
        {u"SX42",
         QString(),
         {{u"RACCA1C2CRESPE_SX42", due},
          {u"FCREMATUR_SX42", accrued},
          {u"RACCA1C2CREACQ_SX42", acquired},
          {u"RACCA1C2CFCED_SX42", assignor},
          {u"RACCA1C2CRECED_SX42", ceded},
          {u"RACA1C2CFCESS_SX42", assignee},
          {u"RACA1C2CUF24_SX42", usedF24},
          {u"RACA1C2CRERES_SX42", remaining},
          {u"FCREUTCOMP_SX42", u"Credito utilizzato in compensazione"_s},
          {u"RACA1C2CRERIMB_SX42", u"Credito chiesto a rimborso"_s}}},
        {u"SX44",
         QString(),
         {{u"RACRIORISSPE_SX44", due},
          {u"RACRIORISUT_SX44", u"Credito utilizzato"_s},
          {u"RACRIOIMPSCO_SX44", u"Importo utilizzato a scomputo"_s},
          {u"RACRIORISCER_SX44", u"Credito certificato"_s},
          {u"RACRIORISCED_SX44", ceded},
          {u"RACRIORISACQ_SX44", acquired},
          {u"RACRIORISRES_SX44", remaining}}},
        {u"SX46",
         QString(),
         {{u"RACCAICRESPE_SX46", due},
          {u"RACCAICREMAT_SX46", accrued},
          {u"RACCAICREACQ_SX46", acquired},
          {u"RACCAICFCED_SX46", assignor},
          {u"RACCAICRECED_SX46", ceded},
          {u"RACCAICFCESS_SX46", assignee},
          {u"RACCAICREUT_SX46", u"Credito utilizzato"_s},
          {u"RACCAICRERES_SX46", remaining}}},
        {u"SX47",
         u"Credito bonus riconosciuto"_s,
         {{u"CRERESANPREC_SX47", u"Credito residuo anno precedente"_s},
          {u"CREUTIF24_SX47", usedF24},
          {u"CRERES_SX47", remaining}}},
        {u"SX48",
         u"Aiuti di Stato"_s,
         {{u"SCODAIUTO_SX48", u"Codice aiuto"_s, u"TCAS_CODAIUTOSX.cds"},
          {u"SFORMAGIU_SX48", u"Forma giuridica"_s, u"TFGI_FORMAGIURIDICA.cds"},
          {u"LDIMIMPRE_SX48", u"Dimensione impresa"_s, u"TDII_DIMENSIONEIMPRESA.cds"},
          {u"SCODATECO_SX48", u"Codice attività ATECO"_s},
          {u"LSETTORE_SX48", u"Settore"_s, u"TSAS_SETTOREAIUTISTATO.cds"},
          {u"FCOSTAGE_SX48", u"Costi agevolabili"_s},
          {u"FIMPSPET_SX58", u"Importo aiuto spettante"_s}}},
        {u"SX49",
         u"Trattamento integrativo"_s,
         {{u"FTICRERES1_SX", remaining},
          {u"FTICREMAT_SX", accrued},
          {u"FTICREREC_SX", u"Credito recuperato"_s},
          {u"FTICREDAREC_SX", u"Credito da recuperare"_s},
          {u"FTICRERECAP_SX", u"Credito recuperato da altri"_s},
          {u"FTICREUTF24_SX", usedF24},
          {u"FTICRERES_SX", remaining}}},
    };
}

// "Dati presenti": the record declares something.
QString datiPresenti(const ClientDataSet &sx)
{
    return TfrElhProspetto::datiPresentiText(SxData::present(sx));
}

} // namespace

TfrElhProspSX::TfrElhProspSX(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;"_s, parent)
{
    setObjectName(u"TfrElhProspSX"_s);
    FormLines *lines = formLines(4);
    addHeader(lines);
    for (const SxLine &line : sxLines()) {
        const QString label = QString::fromUtf16(line.label);
        if (!line.heading.isEmpty())
            lines->addHeading(line.heading);
        QList<FormLines::Box> boxes;
        int point = 0;
        for (const SxBox &box : line.boxes) {
            const QString field = QString::fromUtf16(box.field);
            const QString number = QString::number(++point);
            const QString caption = u"%1 (%2)"_s.arg(QString(box.caption).replace(u'\n', u' '), label);
            QWidget *control = nullptr;
            if (box.check)
                control = bareCheck(field, caption);
            else if (box.referenceFile)
                control = dbLookup(field, caption, QString::fromUtf16(box.referenceFile));
            else
                control = dbEdit(field, caption);
            boxes.append({box.check ? QString() : number, box.caption, {control}, QString()});
        }
        lines->addLine(label, boxes);
    }
    lines->finish();
    setGridColumns({u"SSOE7CODICE"_s, u"FCRECONGCESSRAPP_SX"_s, u"FVERSECC_SX"_s, u"CREUTILF24_SX1"_s},
                   {u"Codice fiscale sostituto"_s});
    grFrame->dataModel()->addDrawnColumn(u"Dati presenti"_s, datiPresenti);
}

QString TfrElhProspSX::tableName() const
{
    return u"TPSX_PROSPETTOSX"_s;
}

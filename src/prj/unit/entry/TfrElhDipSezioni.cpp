#include "TfrElhDipSezioni.h"

#include "DataPaths.h"
#include "FieldGrid.h"
#include "NrApplication.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TfmHlmRicerca.h"

#include <QGridLayout>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr PersonTables::Kind kEmployee = PersonTables::Kind::Employee;

} // namespace

TfrElhReddEst::TfrElhReddEst(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TREE7_REDDITOESTER"_s, u"Redd.Esteri"_s}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhReddEst"_s);
    static constexpr Item kFields[] = {{nullptr, u"REDDITI PRODOTTI ALL'ESTERO"},
                                       {u"SFIS7ANNOREDDESTER", u"115 Anno di produzione del reddito"},
                                       {u"FFIS7REDDESTERO", u"116 Reddito prodotto all'estero"},
                                       {u"FFIS7IMPESTERO", u"117 Imposta estera definitiva"},
                                       {u"IFIS7DETCRECODEST", u"118 Codice Stato estero"}};
    addCaptions({kFields});
    setDetail([this] {
        auto *grid = new FieldGrid;
        addItems(grid, kFields);
        return Columns{grid, nullptr};
    });
    setGridColumns({u"SFIS7ANNOREDDESTER"_s, u"FFIS7REDDESTERO"_s, u"FFIS7IMPESTERO"_s, u"IFIS7DETCRECODEST"_s});
}

TfrElhFamCar::TfrElhFamCar(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TCFF7_CFFAMILIARE"_s, u"Familiare carico"_s}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhFamCar"_s);
    static constexpr Item kFields[] = {{nullptr, u"PREVIDENZA COMPLEMENTARE PER I FAMILIARI A CARICO"},
                                       {u"SFIS7CODFISFAM", u"Codice fiscale del familiare a carico"},
                                       {u"FFIS7PREVFAMCARNDED", u"Contributi non dedotti"},
                                       {u"FFIS7PREVFAMCARDED", u"Contributi dedotti"},
                                       {u"FFIS7PREVFAMCARICO", u"Totale contributi versati"}};
    addCaptions({kFields});
    setDetail([this] {
        auto *grid = new FieldGrid;
        addItems(grid, kFields);
        return Columns{grid, nullptr};
    });
    setGridColumns({u"SFIS7CODFISFAM"_s, u"FFIS7PREVFAMCARNDED"_s, u"FFIS7PREVFAMCARDED"_s, u"FFIS7PREVFAMCARICO"_s});
}

TfrElhSommLavStra::TfrElhSommLavStra(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TSLS7_SOMEROLAVSTRA"_s, u"Somme er. per prestazioni di lavoro straordinario"_s}, kEmployee,
                    person, parent)
{
    setObjectName(u"TfrElhSommLavStra"_s);
    static constexpr Item kFields[] = {{nullptr, u"SOMME EROGATE PER INCREMENTO DELLA PRODUTTIVITÀ DEL LAVORO"},
                                       {u"FSLS7TOTREDD", u"Somme erogate"},
                                       {u"FSLS7TOTRITOP", u"Ritenute operate"},
                                       {u"FSLS7TOTRITSOS", u"Ritenute sospese"},
                                       {u"FSLS7REDDNIMPART511", u"Somme non imponibili (art. 51, c. 2 e 3 TUIR)"},
                                       {u"LSLS7TOTVEDISTR", u"Vedi istruzioni"}};
    addCaptions({kFields});
    setDetail([this] {
        auto *grid = new FieldGrid;
        addItems(grid, kFields);
        return Columns{grid, nullptr};
    });
    setGridColumns({u"FSLS7TOTREDD"_s, u"FSLS7TOTRITOP"_s, u"FSLS7TOTRITSOS"_s});
}

TfrElhReddAssRit::TfrElhReddAssRit(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TRAR7_REDASSTIRTIT"_s, u"redd.Assoggettati a ritenuta a titolo imposta"_s}, kEmployee, person,
                    parent)
{
    setObjectName(u"TfrElhReddAssRit"_s);
    static constexpr Item kLeft[] = {{nullptr, u"REDDITI ASSOGGETTATI A RITENUTA A TITOLO D'IMPOSTA"},
                                     {u"SRAR7CAUSALE", u"Causale", u"TRTI_CAUSALE.CDS"},
                                     {u"SRAR7TITOLO", u"Titolo", u"TRTI_TITOLO.CDS"},
                                     {u"FRAR7REDDITI", u"Redditi"},
                                     {u"FRAR7RITIRPEF", u"Ritenute IRPEF"},
                                     {u"FRAR7RITIRPEFSOS", u"Ritenute IRPEF sospese"},
                                     {u"FRAR7ALIQUOTE", u"Aliquota"},
                                     {u"FRAR7ANTREINT", u"Anticipazioni e reintegri"}};
    static constexpr Item kRight[] = {{nullptr, u"PERIODO E ALTRO SOSTITUTO"},
                                      {u"SRAR7ANNIPERPART", u"Periodo di partecipazione: anni"},
                                      {u"SRAR7MESIPERPART", u"Periodo di partecipazione: mesi"},
                                      {u"SRAR7CODFISSOS", u"Codice fiscale del sostituto"},
                                      {nullptr, u"TOTALI"},
                                      {u"FRAR7TOTREDD", u"Totale redditi"},
                                      {u"FRAR7TOTRITIRPEF", u"Totale ritenute IRPEF"},
                                      {u"FRAR7TOTRITIRPEFSOS", u"Totale ritenute IRPEF sospese"}};
    addCaptions({kLeft, kRight});
    setDetail([this] {
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(left, kLeft);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        return Columns{left, right};
    });
    setGridColumns({u"SRAR7CAUSALE"_s, u"FRAR7REDDITI"_s, u"FRAR7RITIRPEF"_s, u"FRAR7RITIRPEFSOS"_s});
}

TfrElhTaxSep::TfrElhTaxSep(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TTAS7_TASSAZIONESE"_s, u"Tass.Separata"_s}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhTaxSep"_s);
    static constexpr Item kLeft[] = {
        {nullptr, u"COMPENSI RELATIVI AGLI ANNI PRECEDENTI"},
        {u"STAS7PERIODOIMP", u"Periodo d'imposta"},
        {u"FTAS7COMPARRDETR", u"Emolumenti arretrati per i quali spettano le detrazioni"},
        {u"FTAS7COMPARRNODETR", u"Emolumenti arretrati per i quali non spettano le detrazioni"},
        {u"FTAS7RITOPERATE", u"Ritenute operate"},
        {u"FTAS7RITSOSPESE", u"Ritenute sospese"},
        {u"FTAS7DETRAZIONI", u"Detrazioni"},
        {u"FTAS7ANNOSUCC", u"Somme erogate nell'anno successivo"},
        {u"STAS7CODFISSOS", u"Codice fiscale del sostituto"}};
    static constexpr Item kRight[] = {{nullptr, u"TOTALI"},
                                      {u"FTAS7TCOMPARRDETR", u"Totale emolumenti con detrazioni"},
                                      {u"FTAS7TCOMPARRNODET", u"Totale emolumenti senza detrazioni"},
                                      {u"FTAS7TOTRITOPER", u"Totale ritenute operate"},
                                      {u"FTAS7TOTRITSOS", u"Totale ritenute sospese"}};
    addCaptions({kLeft, kRight});
    setDetail([this] {
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(left, kLeft);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        return Columns{left, right};
    });
    setGridColumns({u"STAS7PERIODOIMP"_s, u"FTAS7COMPARRDETR"_s, u"FTAS7COMPARRNODETR"_s, u"FTAS7RITOPERATE"_s});
}

TfrElhDtCong::TfrElhDtCong(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TCON7_DATICONGUAG"_s, u"Conguaglio"_s}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhDtCong"_s);
    static constexpr Item kLeft[] = {{nullptr, u"DATI RELATIVI AI CONGUAGLI"},
                                     {u"SCON7CODFISCONG", u"Codice fiscale del sostituto"},
                                     {u"SCAACODICE", u"Causa (A)", u"TCAA_CAUSAA.CDS"},
                                     {u"SCABCODICE", u"Causa (B)", u"TCAB_CAUSAB.CDS"},
                                     {u"FCON7IMPCONGUAGL", u"Redditi conguagliati"},
                                     {u"FCON7REDDCONGP3", u"Redditi conguagliati di pensione"},
                                     {u"FCON7REDDCONGP4", u"Altri redditi conguagliati"},
                                     {u"FCON7REDDCONGP5", u"Assegni periodici conguagliati"},
                                     {u"FCON7IMPONPTO1", u"Imponibile conguagliato"},
                                     {u"FCON7RITENUTE", u"Ritenute"},
                                     {u"FCON7RITSOS", u"Ritenute sospese"},
                                     {u"FCON7ADDREG", u"Addizionale regionale"},
                                     {u"FCON7ADDREGSOS", u"Addizionale regionale sospesa"},
                                     {u"FCON7ADDCOMSALDO", u"Addizionale comunale a saldo"},
                                     {u"FCON7ADDCOMSOS", u"Addizionale comunale a saldo sospesa"},
                                     {u"FCON7ADDCOM", u"Acconto addizionale comunale"},
                                     {u"FCON7ADDCOMACCSOS", u"Acconto addizionale comunale sospeso"}};
    static constexpr Item kRight[] = {{nullptr, u"PREMI DI RISULTATO E LAVORO STRAORDINARIO"},
                                      {u"FCON7STRACONG", u"Somme conguagliate"},
                                      {u"FCON7IMPSOST", u"Imposta sostitutiva"},
                                      {u"FCON7IMPSOSTSOS", u"Imposta sostitutiva sospesa"},
                                      {u"FCON7REDDNIMPART51AS", u"Somme non imponibili (art. 51 TUIR)"},
                                      {u"FCON7TOTREDDSTRAAS", u"Totale somme assoggettate"},
                                      {u"FCON7TOTRITOPEAS", u"Totale ritenute operate"},
                                      {u"FCON7TOTRITSOSS", u"Totale ritenute sospese"},
                                      {u"LCON7VEDISTRAS", u"Vedi istruzioni"},
                                      {nullptr, u"LAVORI SOCIALMENTE UTILI"},
                                      {u"FCON7LAVSOCCONGQE", u"Quota esente"},
                                      {u"FCON7LAVSOCCONGQI", u"Quota imponibile"},
                                      {u"FCON7LAVSOCCONGRI", u"Ritenute IRPEF"},
                                      {u"FCON7LAVSOCCONGARI", u"Addizionale regionale"},
                                      {u"FCON7LAVSOCCONGRIS", u"Ritenute IRPEF sospese"},
                                      {u"FCON7LAVSOCCONGARIS", u"Addizionale regionale sospesa"}};
    addCaptions({kLeft, kRight});
    setDetail([this] {
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(left, kLeft);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        return Columns{left, right};
    });
    setGridColumns({u"SCON7CODFISCONG"_s, u"FCON7IMPCONGUAGL"_s, u"FCON7RITENUTE"_s, u"FCON7ADDREG"_s});
}

TfrElhTFR::TfrElhTFR(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TTFR7_TFR"_s, u"TFR"_s, true}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhTFR"_s);
    static constexpr Item kLeft[] = {{nullptr, u"INDENNITÀ, ACCONTI, ANTICIPAZIONI E DETRAZIONI"},
                                     {u"DRL7DTINIZIRAPLAV", u"Data di inizio del rapporto"},
                                     {u"DRL7DTFINERAPLAV", u"Data di fine del rapporto"},
                                     {u"LRL7TEMPDETER", u"Rapporto a tempo determinato"},
                                     {u"FRL7INDENANNO", u"Indennità erogate nell'anno"},
                                     {u"FRL7ACCANNIPREC", u"Acconti e anticipazioni erogati negli anni precedenti"},
                                     {u"FRL7INDEROG05", u"Indennità erogate dal 2005"},
                                     {u"FRL7INDEROPREC", u"Indennità erogate negli anni precedenti"},
                                     {u"IRL7INDULTEROG", u"Anno dell'ultima erogazione"},
                                     {u"FRL7QUOTA2122", u"Quota maturata negli anni 2021 e 2022"},
                                     {u"FRL7QUOTAECCED", u"Quota eccedente"},
                                     {u"FRL7RITOPERATEANN", u"Ritenute operate nell'anno"},
                                     {u"FRL7RITOPERANNIPR", u"Ritenute operate negli anni precedenti"},
                                     {u"FRL7RITSOS", u"Ritenute sospese"},
                                     {u"FRL7RITANNPRECSOS", u"Ritenute sospese degli anni precedenti"},
                                     {u"FRL7DETRAZIONE", u"Detrazione"},
                                     {u"FRL7RATE1", u"Prima rata"},
                                     {u"FRL7RATE2", u"Seconda rata"},
                                     {u"CRL7CODFIS", u"Codice fiscale del sostituto che ha erogato"},
                                     {u"CRL7CODFISSTRA", u"Codice fiscale in operazioni straordinarie"},
                                     {nullptr, u"ANZIANITÀ E PERIODI"},
                                     {u"SRL7INDANNICOMMIS", u"Commisurata al periodo: anni"},
                                     {u"SRL7INDMESICOMMIS", u"Commisurata al periodo: mesi"},
                                     {u"SRL7INDANNICONVENZ", u"Periodo convenzionale: anni"},
                                     {u"SRL7INDMESICONVENZ", u"Periodo convenzionale: mesi"},
                                     {u"SRL7INDANNIPARZ", u"Part time: anni"},
                                     {u"SRL7INDMESIPARZ", u"Part time: mesi"},
                                     {u"SRL7INDPERCPARZ", u"Part time: percentuale"},
                                     {u"IRL7GGSOSPENLAV", u"Giorni di sospensione del lavoro"},
                                     {u"SRL7INDEQTITOLO", u"Indennità equipollenti: titolo", u"TTIE_TITEROINDEQ.cds"},
                                     {nullptr, u"ALTRE INDENNITÀ"},
                                     {u"SRL7AINDCODICE", u"Codice", u"TTAI_TIPOALTREIND.cds"},
                                     {u"FRL7AINDEROG05", u"Erogate dal 2005"},
                                     {u"FRL7AINDEROPREC", u"Erogate negli anni precedenti"},
                                     {u"IRL7AINDULTEROG", u"Anno dell'ultima erogazione"},
                                     {nullptr, u"TFR RIMBORSATO E VERSATO AL FONDO"},
                                     {u"FRL7TFRMATANNPRECRIM", u"Maturato negli anni precedenti e rimborsato"},
                                     {u"FRL7TFRVERSANNPREC", u"Versato negli anni precedenti"},
                                     {u"FRL7TFRMATANNREDDRIM", u"Maturato nell'anno e rimborsato"},
                                     {u"FRL7TFRVERANNREDD", u"Versato nell'anno"},
                                     {u"FRL7TFRMAT07VERFND", u"Maturato dal 2007 versato al fondo"}};
    static constexpr Item kRight[] = {{nullptr, u"TFR MATURATO FINO AL 2000"},
                                      {u"FTFR007CODICE", u"Tipo di erogazione", u"TTIT_TIPOEROGAZ.cds"},
                                      {u"FTFR007MATURATO", u"Maturato"},
                                      {u"FTFR007FONDO", u"Destinato al fondo"},
                                      {u"FTFR007FONDOPERC", u"Fondo: percentuale"},
                                      {u"FTFR007FONDORIDRIC", u"Fondo: riduzione"},
                                      {u"ITFR007ANNICOMM", u"Commisurato: anni"},
                                      {u"ITFR007MESICOMM", u"Commisurato: mesi"},
                                      {u"ITFR007ANNICONV", u"Convenzionale: anni"},
                                      {u"ITFR007MESICONV", u"Convenzionale: mesi"},
                                      {u"ITFR007ANNIPARZ", u"Part time: anni"},
                                      {u"ITFR007MESIPARZ", u"Part time: mesi"},
                                      {u"FTFR007PERCPARZ", u"Part time: percentuale"},
                                      {u"FTFR007EROG05", u"Erogato dal 2005"},
                                      {u"FTFR007EROGPREC", u"Erogato negli anni precedenti"},
                                      {u"FTFR007EROGULT", u"Erogato nell'ultimo anno"},
                                      {u"FTFR007RATE1", u"Prima rata"},
                                      {u"FTFR007RATE2", u"Seconda rata"},
                                      {u"STFR007AINDCODICE", u"Altre indennità: titolo", u"TTIE_TITOLOEROGAZ.cds"},
                                      {u"FTFR007AINDEROG05", u"Altre indennità erogate dal 2005"},
                                      {u"FTFR007AINDEROGPREC", u"Altre indennità erogate negli anni precedenti"},
                                      {u"ITFR007AINDULTEROG", u"Altre indennità: anno dell'ultima erogazione"},
                                      {u"CTFR007AINDCODFIS", u"Altre indennità: codice fiscale"},
                                      {nullptr, u"TFR MATURATO DAL 2001"},
                                      {u"FTFR017CODICE", u"Tipo di erogazione", u"TTPR_TITPRESTAZ.cds"},
                                      {u"FTFR017MATURATO", u"Maturato"},
                                      {u"FTFR017FOND0", u"Destinato al fondo"},
                                      {u"ITFR017ANNICOMM", u"Commisurato: anni"},
                                      {u"ITFR017MESICOMM", u"Commisurato: mesi"},
                                      {u"ITFR017ANNICONV", u"Convenzionale: anni"},
                                      {u"ITFR017MESICONV", u"Convenzionale: mesi"},
                                      {u"ITFR017ANNIPARZ", u"Part time: anni"},
                                      {u"ITFR017MESIPARZ", u"Part time: mesi"},
                                      {u"FTFR017PERCPARZ", u"Part time: percentuale"},
                                      {u"FTFR017EROG05", u"Erogato dal 2005"},
                                      {u"FTFR017EROGPREC", u"Erogato negli anni precedenti"},
                                      {u"FTFR017EROGULT", u"Erogato nell'ultimo anno"},
                                      {u"FTFR017RATE1", u"Prima rata"},
                                      {u"FTFR017RATE2", u"Seconda rata"},
                                      {u"STFR017AINDCODICE", u"Altre indennità: titolo", u"TTI2_TITOLOEROGAZ2.cds"},
                                      {u"FTFR017AINDEROG05", u"Altre indennità erogate dal 2005"},
                                      {u"FTFR017AINDEROGPREC", u"Altre indennità erogate negli anni precedenti"},
                                      {u"ITFR017AINDULTEROG", u"Altre indennità: anno dell'ultima erogazione"},
                                      {u"STFR017CODFISSOS", u"Codice fiscale del sostituto"},
                                      {u"LTFR01DATLAV", u"Erogato dal datore di lavoro"},
                                      {u"LTFR01FONDTESO", u"Erogato dal fondo di tesoreria"},
                                      {u"STFR01CODFISDATLAV", u"Codice fiscale del datore di lavoro"}};
    static constexpr Item kRight2[] = {{nullptr, u"PRESTAZIONI IN FORMA DI CAPITALE"},
                                       {u"Fpres007CODICE", u"Codice (fino al 2006)"},
                                       {u"Fpres007FOND0", u"Fondo (fino al 2006)"},
                                       {u"Fpres007EROG05", u"Erogato dal 2005 (fino al 2006)"},
                                       {u"Fpres007EROGPREC", u"Erogato negli anni precedenti (fino al 2006)"},
                                       {u"Fpres007EROGULT", u"Erogato nell'ultimo anno (fino al 2006)"},
                                       {u"Ipres007ANNICONT", u"Anni di contribuzione"},
                                       {u"Ipres007MESICONT", u"Mesi di contribuzione"},
                                       {u"Cpres007CODFIS", u"Codice fiscale del fondo"},
                                       {u"LPRES007ISTRUZ", u"Vedi istruzioni"},
                                       {u"IPRES007NATURAISCRITTO", u"Natura dell'iscritto", u"TNIS_ISCRITTO.cds"},
                                       {u"IPRES007ANNICONTR1101", u"Anni di contribuzione al 31/12/2000"},
                                       {u"IPRES007MESICONTR1101", u"Mesi di contribuzione al 31/12/2000"},
                                       {u"FPRES007VECCHIISCR", u"Vecchi iscritti"},
                                       {u"FPRES017CODICE", u"Codice (dal 2007)"},
                                       {u"Fpres017EROGAZ", u"Erogazioni (dal 2007)"},
                                       {u"FPRES017EROG05", u"Erogato dal 2005 (dal 2007)"},
                                       {u"FPRES017EROGPREC", u"Erogato negli anni precedenti (dal 2007)"},
                                       {u"Fpres017EROGULT", u"Erogato nell'ultimo anno (dal 2007)"},
                                       {u"Fpres017TOTIMPON", u"Totale imponibile"},
                                       {u"Fpres017REDDGIA", u"Reddito già tassato"},
                                       {u"Fpres017RETRMEDIA", u"Retribuzione media"},
                                       {u"Fpres017ALIQUOTA", u"Aliquota"},
                                       {nullptr, u"RIEPILOGO DELLA TASSAZIONE"},
                                       {u"FRIEP7TOTIMP", u"Totale imponibile"},
                                       {u"FRIEP7REDDRIF", u"Reddito di riferimento"},
                                       {u"FRIEP7ALIQUOTA1", u"Aliquota", u"TALQ_Aliquota.cds"},
                                       {u"FRIEP7ALIQUOTA2", u"Seconda aliquota", u"TALQ_Aliquota.cds"},
                                       {u"FRIEP7CLAALI1", u"Classe di aliquota"},
                                       {u"FRIEP7CLAALI2", u"Seconda classe di aliquota"},
                                       {u"FRIEP7IMPOSCOMPL", u"Imposta complessiva"},
                                       {u"FRIEP7DETRAZ", u"Detrazioni"},
                                       {u"FRIEP7DETRDECRETO", u"Detrazioni per decreto"},
                                       {u"FRIEP7RITEN2005", u"Ritenute dal 2005"},
                                       {u"FRIEP7RITENSOSP2005", u"Ritenute sospese dal 2005"},
                                       {u"FRIEP7RITENPREC", u"Ritenute degli anni precedenti"},
                                       {u"FRIEP7RITENSOSP", u"Ritenute sospese"},
                                       {u"FRIEP7RIVALUTAZ", u"Rivalutazione"},
                                       {u"FRIEP7QUOTASPETT", u"Quota spettante"},
                                       {u"FRIEP7COMPENSAZ", u"Compensazione"},
                                       {u"FRIEP7RIDUZ", u"Riduzione"},
                                       {u"FRIEP7CRITPOST", u"Criterio successivo"},
                                       {u"FRIEP7IMPCONCTASSORD", u"Importo in tassazione ordinaria"},
                                       {u"FRIEP7VEDISTR", u"Vedi istruzioni"},
                                       {u"CRIEP7CODFISDEC", u"Codice fiscale del deceduto"},
                                       {u"CRIEP7CODFISDIR", u"Codice fiscale dell'avente diritto"}};
    addCaptions({kLeft, kRight, kRight2});
    setDetail([this] {
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(left, kLeft);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        addItems(right, kRight2);
        return Columns{left, right};
    });
    setGridColumns({u"DRL7DTINIZIRAPLAV"_s, u"DRL7DTFINERAPLAV"_s, u"FRL7INDENANNO"_s, u"FRL7RITOPERATEANN"_s});
}

TfrELhDipAnn::TfrELhDipAnn(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TANN7_ANNOTAZIONI"_s, u"ANNOTAZIONI"_s}, kEmployee, person, parent)
{
    setObjectName(u"TfrELhDipAnn"_s);
    // The grid is the page to read; the codes are typed in their codes.

    setDetail([this] {
        auto *grid = new FieldGrid;
        grid->addHeading(u"CODICI DELLE ANNOTAZIONI"_s);
        auto *codes = new QGridLayout;
        codes->setHorizontalSpacing(10);
        constexpr int kColumns = 6;
        for (int n = 1; n <= 54; ++n) {
            const QString number = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
            TNrDBLookupEdit *code =
                dbLookup(u"SANN7"_s + number, u"Annotazione "_s + number, u"TANN_ANNOTAZIONI.cds"_s);
            const int row = (n - 1) / kColumns;
            const int column = (n - 1) % kColumns * 2;
            codes->addWidget(new QLabel(number), row, column, Qt::AlignRight);
            codes->addWidget(code, row, column + 1);
        }
        grid->addWide(codes);
        return Columns{grid, nullptr};
    });
    QStringList columns;
    for (int n = 1; n <= 54; ++n) {
        const QString number = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
        columns.append(u"SANN7"_s + number);
        setCaption(columns.last(), u"Annotazione "_s + number);
    }
    setGridColumns(columns);
}

TfrElhINPS::TfrElhINPS(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TINPS7_INPS"_s, u"INPS"_s, true}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhINPS"_s);
    static constexpr Item kFields[] = {{nullptr, u"INPS - DATI PREVIDENZIALI"},
                                       {u"sInps7MatrAzienda", u"Matricola azienda"},
                                       {u"lInps7EnteInps", u"INPS"},
                                       {u"LInps7EnteAltro", u"Altro ente"},
                                       {u"fInps7Imponibile", u"Imponibile previdenziale"},
                                       {u"FINPS7IMPIVS", u"Imponibile IVS"},
                                       {u"fInps7ContribTratt", u"Contributi a carico del lavoratore trattenuti"},
                                       {u"FINPS7BONUS", u"Bonus"},
                                       {u"LINPS7INTERAMVERS", u"Contributi interamente versati"},
                                       {u"LINPS7PARZIALVERS", u"Contributi parzialmente versati"},
                                       {u"LINPS7NONVERS", u"Contributi non versati"},
                                       {nullptr, u"MESI PER I QUALI È STATA PRESENTATA LA DENUNCIA (INPS 10)"},
                                       {u"lInps7MesiRetr", u"Tutti i mesi"}};
    static constexpr Item kFields2[] = {
        {nullptr, u"COLLABORATORI (INPS 16)"},         {u"fInps7CompCorrisp", u"Compensi corrisposti"},
        {u"fInps7CompDovuti", u"Contributi dovuti"},   {u"FInps7CompTratten", u"Contributi trattenuti"},
        {u"fInps7CompVersati", u"Contributi versati"}, {u"lInps7MesiRetr_C", u"Tutti i mesi"}};
    addCaptions({kFields, kFields2});
    setDetail([this] {
        auto *grid = new FieldGrid;
        addItems(grid, kFields);
        monthChecks(grid, u"Mesi esclusi"_s, u"lInps7"_s);
        addItems(grid, kFields2);
        monthChecks(grid, u"Mesi esclusi"_s, u"lInps7"_s, u"_C"_s);
        return Columns{grid, nullptr};
    });
    setGridColumns({u"sInps7MatrAzienda"_s, u"fInps7Imponibile"_s, u"fInps7ContribTratt"_s});
}

TfrElhInpdap::TfrElhInpdap(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TINP7_INPDAP"_s, u"INPDAP"_s, true}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhInpdap"_s);
    static constexpr Item kLeft[] = {{nullptr, u"INPS GESTIONE DIPENDENTI PUBBLICI"},
                                     {u"SINPDAP7CODFISAMMNE", u"Codice fiscale dell'amministrazione"},
                                     {u"IINPDAP7ANNORIF", u"Anno di riferimento"},
                                     {u"SINPDAP7CODINPDAP", u"Codice dell'ente"},
                                     {u"SINPDAP7CODMEF", u"Codice MEF"},
                                     {u"SINPDAP7GESASS_1", u"Cassa pensionistica", u"TGES_GESTIONIASS.CDS"},
                                     {u"SINPDAP7GESASS_2", u"Cassa previdenziale", u"TGES_GESTIONIASS.CDS"},
                                     {u"SINPDAP7GESASS_3", u"Cassa credito", u"TGES_GESTIONIASS.CDS"},
                                     {u"SINPDAP7GESASS_4", u"Cassa ENPDEP", u"TGES_GESTIONIASS.CDS"}};
    static constexpr Item kLeft2[] = {{u"SINP7CODSOTTOCOM", u"Sottocomparto"},
                                      {u"SINP7QUALIFICA", u"Qualifica"},
                                      {u"LINPDAP7MESIRETR", u"Tutti i mesi"}};
    static constexpr Item kRight[] = {{nullptr, u"IMPONIBILI E CONTRIBUTI"},
                                      {u"FINPDAP7_DMA_IMPPENS", u"Imponibile pensionistico"},
                                      {u"FINPDAP7_DMA_CONPENS", u"Contributi pensionistici"},
                                      {u"FINPDAP7_DMA_IMPTFS", u"Imponibile TFS"},
                                      {u"FINPDAP7_DMA_CONTFS", u"Contributi TFS"},
                                      {u"FINPDAP7_DMA_IMPTFR", u"Imponibile TFR"},
                                      {u"FINPDAP7_DMA_CONTFR", u"Contributi TFR"},
                                      {u"FINPDAP7_DMA_IMPCREDITO", u"Imponibile gestione credito"},
                                      {u"FINPDAP7_DMA_CONCREDITO", u"Contributi gestione credito"},
                                      {u"FINPDAP7_DMA_IMPENPDEP", u"Imponibile ENPDEP"},
                                      {u"FINPDAP7_DMA_CONENPDEDP", u"Contributi ENPDEP"}};
    addCaptions({kLeft, kLeft2, kRight});
    setDetail([this] {
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(left, kLeft);
        TNrDBLookupEdit *comparto = dbLookup(u"SINP7CODCOMPARTO"_s, u"Comparto"_s, QString());
        comparto->setOnLookup([this] { lookupInquadramento(); });
        left->addRow(u"Comparto"_s, comparto);
        addItems(left, kLeft2);
        monthChecks(left, u"Mesi esclusi"_s, u"LINPDAP7"_s);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        return Columns{left, right};
    });
    setGridColumns(
        {u"SINPDAP7CODFISAMMNE"_s, u"IINPDAP7ANNORIF"_s, u"FINPDAP7_DMA_IMPPENS"_s, u"FINPDAP7_DMA_CONPENS"_s});
}

void TfrElhInpdap::lookupInquadramento()
{
    if (cdsMain.state() == DataSetState::Inactive)
        return;
    TfmHlmRicerca search(this);
    if (!search.searchFile(DataPaths::fromRoot(u"USR\\FL2023\\Res\\Tabelle\\TINQ_INQUADRAMENTO.CDS"_s)))
        return;
    NrRunGuarded([&] {
        if (cdsMain.state() == DataSetState::Browse)
            cdsMain.edit();
        const std::pair<const char16_t *, const char16_t *> filled[] = {{u"SINP7CODCOMPARTO", u"CODCOMPARTO"},
                                                                        {u"SINP7CODSOTTOCOM", u"SOTTOCOMPARTO"},
                                                                        {u"SINP7QUALIFICA", u"CODQUALIFICA"}};
        for (const auto &[field, column] : filled)
            cdsMain.fieldByName(QString::fromUtf16(field))
                .setValue(search.cdsSearch.fieldByName(QString::fromUtf16(column)).value());
    });
}

TfrElhInail::TfrElhInail(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TINA7_INAIL"_s, u"INAIL"_s, true}, kEmployee, person, parent)
{
    setObjectName(u"TfrElhInail"_s);
    static constexpr Item kFields[] = {{nullptr, u"INAIL"},
                                       {u"SQUACODICE", u"Qualifica", u"TQUS_QUALIFICA.CDS"},
                                       {u"SINA7POSASSTERR", u"Posizione assicurativa territoriale"},
                                       {u"SINA7CODCOM", u"Codice comune"},
                                       {u"SINA7PERSVIAGG", u"Personale viaggiante"},
                                       {u"DINA7DTINIZIOINAIL", u"Data di inizio"},
                                       {u"DINA7DTFINEINAIL", u"Data di fine"}};
    addCaptions({kFields});
    setDetail([this] {
        auto *grid = new FieldGrid;
        addItems(grid, kFields);
        return Columns{grid, nullptr};
    });
    setGridColumns({u"SQUACODICE"_s, u"SINA7POSASSTERR"_s, u"DINA7DTINIZIOINAIL"_s, u"DINA7DTFINEINAIL"_s});
}

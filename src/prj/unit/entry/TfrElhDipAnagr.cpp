#include "TfrElhDipAnagr.h"

#include "FieldGrid.h"
#include "NrMessages.h"
#include "PageList.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TfrElhConFamCar.h"
#include "TfrElhDipSezioni.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>

using namespace Qt::Literals::StringLiterals;

TfrElhDipAnagr::TfrElhDipAnagr(THlmDBCds &store, QWidget *parent)
    : TfrElhAnagrafe(PersonTables::Kind::Employee, store, parent)
{
    setObjectName(u"TfrElhDipAnagr"_s);
    grFrame->setPositionColumn(u"Progressivo"_s);
    grFrame->setColumns({u"SDIP7CODFIS"_s, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s, u"DDIP7DATANAS"_s},
                        {u"Codice fiscale"_s, u"Cognome"_s, u"Nome"_s, u"Data di nascita"_s});

    pcDip = new QTabWidget(tsDetail);
    pcDip->setObjectName(u"pcDip"_s);
    auto *layout = new QHBoxLayout(tsDetail);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(pcDip);
    pcDip->addTab(lazyPage([this] { return anagrafica(); }), u"Anagrafica"_s);
    pcDip->addTab(lazyPage([this] { return datiFiscali(); }), u"Dati fiscali"_s);
    frReddEst = sectionPage<TfrElhReddEst>(u"Redd.Esteri"_s);
    pcDip->addTab(lazyPage([this] { return altriDati1(); }), u"Altri dati - 1"_s);
    frFamCar = sectionPage<TfrElhFamCar>(u"Familiare carico"_s);
    pcDip->addTab(lazyPage([this] { return altriDati2(); }), u"Altri dati - 2"_s);
    frSommLavStra = sectionPage<TfrElhSommLavStra>(u"Somme Ero. Incr. Produtt. lavoro"_s);
    frReddAssRit = sectionPage<TfrElhReddAssRit>(u"Redd.Assoggettati Rit. Imp."_s);
    frTaxSep = sectionPage<TfrElhTaxSep>(u"Comp. rel. anni precedenti"_s);
    frDtCong = sectionPage<TfrElhDtCong>(u"Dati rel. Conguagli"_s);
    frTFR = sectionPage<TfrElhTFR>(u"TFR"_s);
    frDipAnn = sectionPage<TfrELhDipAnn>(u"Annotazioni"_s);
    frConFamCar = sectionPage<TfrElhConFamCar>(u"Con. Fam. a carico"_s);
    frINPS = sectionPage<TfrElhINPS>(u"INPS"_s);
    frInpdap = sectionPage<TfrElhInpdap>(u"INPS gestione ex INPDAP"_s);
    frInail = sectionPage<TfrElhInail>(u"INAIL"_s);
    pcAssistenza = new QTabWidget;
    pcAssistenza->setObjectName(u"pcAssistenza"_s);
    pcAssistenza->addTab(lazyPage([this] { return assistenza1(); }), u"Pag.1"_s);
    pcAssistenza->addTab(lazyPage([this] { return assistenza2(); }), u"Pag.2"_s);
    pcAssistenza->addTab(lazyPage([this] { return assistenza3(); }), u"Pag.3"_s);
    pcDip->addTab(pcAssistenza, u"Assistenza"_s);
    setDetailPages(pcDip);
    // Two pages of dependants: their headings tell them apart.
    pcDip->setTabToolTip(pcDip->indexOf(frFamCar), u"Previdenza complementare per i familiari a carico"_s);
    pcDip->setTabToolTip(pcDip->indexOf(frConFamCar), u"Coniuge e familiari a carico"_s);
    // Seventeen pages: listed at the left, all in sight.
    lbPagine = new PageList(pcDip);
    layout->insertWidget(0, lbPagine);
    setBarCaption(u"Dipendente"_s);
}

void TfrElhDipAnagr::detailBuilt()
{
    TfrElhAnagrafe::detailBuilt();
    if (m_foreignTaxes)
        return;
    for (TNrDBEdit *edit : tsDetail->findChildren<TNrDBEdit *>()) {
        if (edit->dataSource() == dsMain && edit->dataField() == u"FFIS7IMPOSTEESTERO") {
            m_foreignTaxes = edit;
            connect(edit, &QLineEdit::editingFinished, this, &TfrElhDipAnagr::foreignTaxesLeft);
        }
    }
}

template<typename Frame>
Frame *TfrElhDipAnagr::sectionPage(const QString &caption)
{
    auto *frame = new Frame(person());
    addSection(frame);
    frame->setBarCaption(u"Sezione \"%1\""_s.arg(caption));
    pcDip->addTab(frame, caption);
    return frame;
}

QGridLayout *TfrElhDipAnagr::amounts(
    const QStringList &columns,
    std::initializer_list<std::pair<const char16_t *, std::initializer_list<const char16_t *>>> rows)
{
    auto *table = new QGridLayout;
    table->setHorizontalSpacing(8);
    for (qsizetype c = 0; c < columns.size(); ++c) {
        auto *title = new QLabel(columns[c]);
        title->setAlignment(Qt::AlignCenter);
        title->setWordWrap(true);
        table->addWidget(title, 0, static_cast<int>(c) + 1);
    }
    int row = 1;
    for (const auto &[caption, fields] : rows) {
        auto *label = new QLabel(QString::fromUtf16(caption));
        label->setWordWrap(true);
        table->addWidget(label, row, 0);
        int column = 1;
        for (const char16_t *field : fields) {
            if (field)
                table->addWidget(dbEdit(QString::fromUtf16(field),
                                        QString::fromUtf16(caption) + u" - "_s + columns.value(column - 1)),
                                 row, column);
            ++column;
        }
        ++row;
    }
    // The captions are read whole, on two lines where the page is narrow; the
    // cells keep to the left, the room left over goes after them.
    table->setColumnMinimumWidth(0, 150);
    table->setColumnStretch(static_cast<int>(columns.size()) + 1, 1);
    return table;
}

QWidget *TfrElhDipAnagr::anagrafica()
{
    auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    left->addHeading(u"DATI ANAGRAFICI"_s);
    addExtinctAgent(left);
    addItems(left, {{u"SDIP7CODFIS", u"Codice fiscale"},
                    {u"SDIP7COGNOME", u"Cognome"},
                    {u"SDIP7NOME", u"Nome"},
                    {u"SDIP7SEX", u"Sesso (M o F)"},
                    {u"DDIP7DATANAS", u"Data di nascita"},
                    {u"SDIP7COMNAS", u"Comune (o Stato estero) di nascita"},
                    {u"SDIP7PROVNAS", u"Provincia di nascita (sigla)"},
                    {u"SCAP7CODICE", u"Categorie particolari", u"TCAP_CATPARTICOL.CDS"},
                    {u"SDIP7EVENTIECC", u"Eventi eccezionali", u"TEEC_EVENTIECCEZIONALI.cds"},
                    {u"SCSP7CODICE", u"Casi particolari", u"TCSP_CASIPARTICOLARI.CDS"},
                    {u"SFIS7CASIESCPREC", u"Casi di esclusione dalla precompilata", u"TCEP_CASIESCLPRECOMPILATA.CDS"},
                    {nullptr, u"RISERVATO AI PERCIPIENTI ESTERI"},
                    {u"SDIP7CODSTAEST", u"Codice Stato estero"},
                    {nullptr, u"RAPPRESENTANTE"},
                    {u"SDIP7CODFISRAPPR", u"Codice fiscale del rappresentante"}});
    auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    yearHeading(right, u"DOMICILIO FISCALE ALL' 1/1/%1"_s, 2023);
    addItems(right, {{u"SDIP7DFCOMUNEPRECC", u"Comune"},
                     {u"SDIP7DFPROVPRECC", u"Provincia (sigla)"},
                     {u"SDIP7DFCODCOMPRECC", u"Codice comune"}});
    yearHeading(right, u"DOMICILIO FISCALE ALL' 1/1/%1"_s, 2024);
    addItems(right, {{u"SDIP7DFCOMUNE", u"Comune"},
                     {u"SDIP7DFPROV", u"Provincia (sigla)"},
                     {u"SDIP7DFCODCOM", u"Codice comune"},
                     {u"SDIP7DFCODSED", u"Fusione comuni"},
                     {nullptr, u"RAPPORTO DI LAVORO"},
                     {u"DFIS7DATINIRL", u"Data di inizio del rapporto"},
                     {u"DFIS7DATFINRL", u"Data di fine del rapporto"},
                     {u"SFIS7DETINDET", u"Tempo determinato / indeterminato", u"TCDI_DETINDET.cds"},
                     {u"IFIS7PERIODOLAV", u"Numero di giorni di lavoro dipendente"},
                     {u"IFIS7GGPENSIONE", u"Numero di giorni di pensione"},
                     {u"IFIS7PENSIONE", u"Tipo di pensione"},
                     {u"IFIS7GGMARITITMI", u"Giorni di lavoro dei marittimi"},
                     {u"SFIS7CODFISSOST2", u"Codice fiscale di un altro sostituto"},
                     {u"LFIS7CONINT", u"Conguaglio interno"}});
    return columnsPage(u"Anagrafica"_s, left, right);
}

QWidget *TfrElhDipAnagr::datiFiscali()
{
    auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    addItems(left, {{nullptr, u"REDDITI"},
                    {u"FFIS7REDDDETR", u"Redditi per i quali spettano le detrazioni"},
                    {u"FFIS7REDDNODETR", u"Redditi per i quali non spettano le detrazioni"},
                    {u"FFIS7ALTREDDASS", u"Altri redditi assimilati"},
                    {u"FFIS7ASSPERCON", u"Assegni periodici corrisposti dal coniuge"},
                    {u"FFIS7ALTRIREDD", u"Altri redditi"},
                    {u"FFIS7REDDESENTI", u"Redditi esenti"},
                    {u"FFIS7ABITAZPRINC", u"Reddito dell'abitazione principale"},
                    {u"FFIS7REDDFRONTA", u"Redditi dei lavoratori frontalieri"},
                    {u"SFIS7REDDESTCOD", u"Codice dei redditi esteri", u"TREC_REDDESTCOD.CDS"},
                    {u"FFIS7CTPREDDNET", u"Campione d'Italia: reddito netto"},
                    {u"FFIS7CTPTRATT", u"Campione d'Italia: imposta trattenuta"},
                    {u"FFIS7IMPONPTO1", u"Imponibile dei redditi di lavoro dipendente"},
                    {u"FFIS7IMPONPTO3", u"Imponibile dei redditi di pensione"},
                    {u"FFIS7IMPONPTO4", u"Imponibile degli altri redditi"},
                    {u"FFIS7IMPONPTO5", u"Imponibile degli assegni periodici"},
                    {u"LFIS7APPLMAGGRIT", u"Applicazione della maggiore ritenuta"},
                    {nullptr, u"IMPOSTA E DETRAZIONI"},
                    {u"FFIS7IMPOLORDA", u"Imposta lorda"},
                    {u"FFIS7DETLAVDIPPEN", u"Detrazioni per lavoro dipendente e pensione"},
                    {u"FFIS7DEDUZFAM", u"Detrazioni per familiari a carico"},
                    {u"FDETRSPETTFAMNUM", u"Percentuale di detrazione per familiari a carico"},
                    {u"FFIS7DETFAMNUM", u"Detrazione per famiglie numerose"},
                    {u"FFIS7DETCANLOC", u"Detrazione per canoni di locazione"},
                    {u"FFIS7DETRONERI", u"Detrazioni per oneri"},
                    {u"FFIS7TOTDETR", u"Totale detrazioni"},
                    {u"FFIS7DIFFERENZ", u"Detrazioni non fruite"},
                    {u"FFIS7IMPOSTEESTERO", u"Imposte pagate all'estero"},
                    {u"FFIS7CRERICFAMNUM", u"Famiglie numerose: credito riconosciuto"},
                    {u"FFIS7CRENORICFAMNUM", u"Famiglie numerose: credito non riconosciuto"},
                    {u"FFIS7CREFAMNUMRES", u"Famiglie numerose: credito residuo"},
                    {u"FFIS7CRERICCANLOC", u"Canoni di locazione: credito riconosciuto"},
                    {u"FFIS7CRENORICCANLOC", u"Canoni di locazione: credito non riconosciuto"},
                    {u"FFIS7CRENCANLOCRES", u"Canoni di locazione: credito residuo"}});
    auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    addItems(right, {{nullptr, u"RITENUTE E ADDIZIONALE REGIONALE"},
                     {u"FFIS7RITIRPEF", u"Ritenute IRPEF"},
                     {u"FFIS7RITIRPEFSOS", u"Ritenute IRPEF sospese"},
                     {u"FFIS7ADDREGIRPEF", u"Addizionale regionale all'IRPEF"},
                     {u"FFIS7ADDREGIRPEFSO", u"Addizionale regionale sospesa"},
                     {u"FFIS7ADDREGTRATT", u"Addizionale regionale trattenuta"},
                     {u"FFIS7ADDREGSOSTRAT", u"Addizionale regionale sospesa trattenuta"},
                     {u"FFIS7ADDREGRPCESS", u"Addizionale regionale: rate residue per cessazione"},
                     {nullptr, u"ADDIZIONALE COMUNALE"},
                     {u"FFIS7ADDCOMACC", u"Acconto 2023"},
                     {u"FFIS7ADDCOMSA", u"Saldo 2023"},
                     {u"FFIS7ADDCOMSAPREC", u"Saldo dell'anno precedente"},
                     {u"FFIS7ADDCOMIRPEFACC", u"Acconto 2024"},
                     {u"FFIS7ADDCOMIRPEFSOACC", u"Acconto 2024 sospeso"},
                     {u"FFIS7ADDCOMRPCESS", u"Rate residue per cessazione"},
                     {u"FFIS7ADDCOMISSA", u"Imposta sostitutiva: saldo"},
                     {u"FFIS7ADDCOMISTRATTASA", u"Imposta sostitutiva: trattenuto a saldo"},
                     {u"FFIS7ADDCOMISTRATTIAC", u"Imposta sostitutiva: trattenuto in acconto"},
                     {u"FFIS7ADDCOMISACCADD", u"Imposta sostitutiva: acconto"},
                     {u"FFIS7ADDCOMISACCADDSOS", u"Imposta sostitutiva: acconto sospeso"},
                     {nullptr, u"ACCONTI IRPEF"},
                     {u"FFIS7PRIMOACCIRPEF", u"Primo acconto"},
                     {u"FFIS7SECACCIRPEF", u"Secondo o unico acconto"},
                     {u"FFIS7ACCSOSPESI", u"Acconti sospesi"},
                     {nullptr, u"CREDITI NON RIMBORSATI"},
                     {u"FFIS7CRDIRPEFNORIM", u"Credito IRPEF"},
                     {u"FFIS7CRDARIRPEFNOR", u"Credito di addizionale regionale"},
                     {u"FFIS7CRDACIRPEFNOR", u"Credito di addizionale comunale"},
                     {u"FFIS7CREIRPEFNORIMCON", u"Credito IRPEF del coniuge"},
                     {u"FFIS7CREADDREGNORIMCON", u"Credito di addizionale regionale del coniuge"},
                     {u"FFIS7CREADDCOMNORIMCON", u"Credito di addizionale comunale del coniuge"},
                     {u"FFIS7CRECEDSECNORIMCON", u"Credito di cedolare secca del coniuge"}});
    return columnsPage(u"Dati fiscali"_s, left, right);
}

QWidget *TfrElhDipAnagr::altriDati1()
{
    auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    addItems(left, {{nullptr, u"PREVIDENZA COMPLEMENTARE"},
                    {u"SPRC7CODICE", u"Codice della previdenza complementare", u"TPRC_PREVCOMPLEM.CDS"},
                    {u"FFIS7CODFIS", u"Codice fiscale della forma pensionistica"},
                    {u"FFIS7CONTRESCLUSI", u"Contributi esclusi dai redditi"},
                    {u"FFIS7CONTRNOESCLUS", u"Contributi non esclusi dai redditi"},
                    {u"FFIS7TOTONERIESCLU", u"Totale oneri esclusi"},
                    {u"FFIS7TOTONSOSNESC12", u"Oneri sostenuti non esclusi"},
                    {u"FFIS7CONTRENTI", u"Contributi versati a enti e casse"},
                    {u"FFIS7ONDEDENTCASSNDED", u"Contributi a enti e casse non dedotti"},
                    {u"FFIS7PRECOMTFRFONDO", u"TFR destinato al fondo"},
                    {u"DDIP7DATAPRIOCC", u"Data di prima occupazione"},
                    {u"FFIS7CONPREVCOMPLPRIOCC", u"Contributi dei lavoratori di prima occupazione"},
                    {u"FFIS7CONPRECOMPRIOCIT", u"Contributi di prima occupazione: quota dell'anno"},
                    {u"FFIS7CPRVCL1OCCECC", u"Contributi di prima occupazione eccedenti"},
                    {u"FFIS7CPRVCL1OCCARES", u"Contributi di prima occupazione: residuo"},
                    {nullptr, u"ONERI DETRAIBILI"}});
    for (int n = 1; n <= 6; ++n) {
        const QString k = QString::number(n);
        left->addControls(u"Onere "_s + k,
                          {dbLookup(u"SFIS7CODONDETR"_s + k, u"Codice onere "_s + k, u"TCOD_CODONEREDETR.CDS"_s),
                           dbEdit(u"FFIS7IMPONDETR"_s + k, u"Importo onere "_s + k)});
    }
    auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    addItems(right, {{nullptr, u"BONUS IRPEF"},
                     {u"SFIS7DETANNCODBON", u"Codice bonus", u"TCOB_CODICEBONUSIRPEF.CDS"},
                     {u"FFIS7DETANNBONER", u"Bonus erogato"},
                     {u"FFIS7DETANNBONNOER", u"Bonus non erogato"},
                     {u"FFIS7DETANNBONREC", u"Bonus recuperato"},
                     {u"SFIS7DETANNCODBON2", u"Secondo codice bonus", u"TCOB_CODICEBONUSIRPEF.CDS"},
                     {u"FFIS7DETANNBONER2", u"Secondo bonus erogato"},
                     {u"FFIS7DETANNBONNOER2", u"Secondo bonus non erogato"},
                     {u"FFIS7DETANNBONREC2", u"Secondo bonus recuperato"},
                     {nullptr, u"ALTRI DATI"},
                     {u"FFIS7ANNOBONSTOCK", u"Stock option: importo dell'anno"},
                     {u"FFIS7ECCEBONSTOCK", u"Stock option: eccedenza"},
                     {u"FFIS7CONTRSOL", u"Contributo di solidarietà"},
                     {u"FFIS7CONTRSOLSOS", u"Contributo di solidarietà sospeso"},
                     {u"LFIS7ASSSANITARIE", u"Assicurazioni sanitarie"}});
    return columnsPage(u"Altri dati - 1"_s, left, right);
}

QWidget *TfrElhDipAnagr::altriDati2()
{
    auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    addItems(left, {{nullptr, u"RITENUTE SU SOMME RESTITUITE"},
                    {u"FFIS7IRPEFTRATT28F", u"IRPEF trattenuta"},
                    {u"FFIS7IRPEFVERSERAR", u"IRPEF versata all'Erario"},
                    {u"FFIS7IRPEFTRATTSUCC28F", u"IRPEF trattenuta successivamente"},
                    {nullptr, u"LAVORI SOCIALMENTE UTILI"},
                    {u"FFIS7LAVSOCQESE", u"Quota esente"},
                    {u"FFIS7LAVSOCQIMP", u"Quota imponibile"},
                    {u"FFIS7LAVSOCRIRP", u"Ritenute IRPEF"},
                    {u"FFIS7LAVSOCTRIRPSOS", u"Ritenute IRPEF sospese"},
                    {u"FFIS7LAVSOCADDREGIRP", u"Addizionale regionale"},
                    {u"FFIS7LAVSOCTARIRPSOS", u"Addizionale regionale sospesa"},
                    {nullptr, u"ACCONTI DEL CONIUGE"},
                    {u"FFIS71ACCIRPEFCON", u"Primo acconto IRPEF"},
                    {u"FFIS72ACCIRPEFCON", u"Secondo acconto IRPEF"},
                    {u"FFIS7ACCSOSCON", u"Acconti sospesi"},
                    {u"FFIS7AACOMIRPCON", u"Acconto addizionale comunale"},
                    {u"FFIS7AACOMIRPSCON", u"Acconto addizionale comunale sospeso"},
                    {u"FFIS7PRATACSECCON", u"Prima rata acconto cedolare secca"},
                    {u"FFIS7SURATACSECCON", u"Seconda rata acconto cedolare secca"},
                    {u"FFIS7ACSECCSOSCON", u"Acconto cedolare secca sospeso"}});
    auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    addItems(right, {{nullptr, u"IMPORTI SOSPESI DELL'ASSISTENZA FISCALE"},
                     {u"FFIS7ASSSOSSALIRPEF", u"Saldo IRPEF"},
                     {u"FFIS7ASSSOSADREGIRPEF", u"Addizionale regionale"},
                     {u"FFIS7ASSSOSADCOMIRPEF", u"Addizionale comunale"},
                     {u"FFIS7ASSSOSACCTAXSEP", u"Acconto tassazione separata"},
                     {u"FFIS7ASSSOSIMPSOS", u"Imposta sostitutiva"},
                     {u"FFIS71ASSSOSCSLOC", u"Cedolare secca locazioni"},
                     {u"FFIS71RTACCCEDSECC", u"Prima rata acconto cedolare secca"},
                     {u"FFIS72RTACCCEDSECC", u"Seconda rata acconto cedolare secca"},
                     {u"FFIS7ACCCEDSECCSOS", u"Acconto cedolare secca"},
                     {u"FFIS7ASSSOSCOTSOL", u"Contributo di solidarietà"},
                     {u"FFIS7ASSSOSCRECSNR", u"Crediti non rimborsati"}});
    return columnsPage(u"Altri dati - 2"_s, left, right);
}

namespace {

const QStringList kAssistance{u"Trattenuto"_s,     u"Interessi"_s,      u"Rimborsato"_s,
                              u"Non trattenuto"_s, u"Non rimborsato"_s, u"Effettivamente trattenuto"_s};

} // namespace

QWidget *TfrElhDipAnagr::assistenza1()
{
    auto *page1 = new FieldGrid;
    addItems(page1, {{nullptr, u"ASSISTENZA FISCALE"},
                     {u"LASS7MOD730", u"Modello 730"},
                     {u"LASS7INTREGATIVO", u"730 integrativo"},
                     {u"SASS7CFCAF", u"Codice fiscale del CAF o del professionista"},
                     {u"SASS7NUMISCRCAF", u"Numero di iscrizione all'albo del CAF"},
                     {u"DASS7DTRICEZ730", u"Data di ricezione del 730"},
                     {u"DASS7DTRICE730RETT", u"Data di ricezione del 730 rettificativo"},
                     {u"SCONCODICE", u"Tipo di conguaglio", u"TCON_TIPOCONGUAG.CDS"},
                     {u"SCRECODICE", u"Conguaglio rettificativo", u"TCRE_CONGRETTIFI.CDS"},
                     {u"SESICODICE", u"Esito del dichiarante", u"TESI_ESITO.CDS"},
                     {u"SESICONDICCODICE", u"Esito del coniuge", u"TESI_ESITO.CDS"},
                     {u"SECOCODICE", u"Esito del conguaglio", u"TECO_ESITOCONGUA.CDS"},
                     {u"LASS7VEDISTR", u"Vedi istruzioni"},
                     {nullptr, u"MESI E CODICI"},
                     {u"SMESCODICEIRPEF", u"Mese di trattenuta dell'IRPEF", u"TMES_MESI.CDS"},
                     {u"SMESCODICESR", u"Mese del secondo acconto", u"TMES_MESI.CDS"},
                     {u"SREGCODICEARD", u"Regione (dichiarante)", u"TREG_REGIONI.CDS"},
                     {u"SCOMCODICEACD", u"Comune del saldo (dichiarante)"},
                     {u"SCOMCODICEAACD", u"Comune dell'acconto (dichiarante)"},
                     {nullptr, u"DICHIARANTE"}});
    page1->addWide(amounts(kAssistance, {{u"IRPEF",
                                          {u"FASS7IMPTRATTIRPEF", u"FASS7INTERESSIRPEF", u"FASS7IMPORIMBIRPEF",
                                           u"FASS7NOTRATTIRPEF", u"FASS7NORIMBIRPEF", u"FASS7IMPEFFTRATTIRPEF"}},
                                         {u"Primo acconto IRPEF",
                                          {u"FASS7IMPATRATTPR", u"FASS7INTERESSIPR", u"FASS7IMPORIMBPR",
                                           u"FASS7NOTRATTPR", u"FASS7NORIMBPR", u"FASS7IMPEFFTRATRATAID"}},
                                         {u"Secondo acconto IRPEF",
                                          {u"FASS7IMPATRATTSR", u"FASS7INTERESSISR", u"FASS7IMPORIMBSR",
                                           u"FASS7NOTRATTSR", u"FASS7NORIMBSR", u"FASS7IMPEFTRATSRADIC"}},
                                         {u"Addizionale regionale",
                                          {u"FASS7IMPATRATTARD", u"FASS7INTERESSIARD", u"FASS7IMPORIMBARD",
                                           u"FASS7NOTRATTARD", u"FASS7NORIMBARD", u"FASS7IMPEFFTRATAREGDIC"}},
                                         {u"Addizionale comunale",
                                          {u"FASS7IMPATRATTACD", u"FASS7INTERESSIACD", u"FASS7IMPORIMBACD",
                                           u"FASS7NOTRATTACD", u"FASS7NORIMBACD", u"FASS7IMPEFTRATSADCOMDIC"}},
                                         {u"Acconto addizionale comunale",
                                          {u"FASS7IMPATRATTAACD", u"FASS7INTERESSIAACD", u"FASS7IMPORIMBAACD",
                                           u"FASS7NOTRATTAACD", u"FASS7NORIMBAACD", u"FASS7IMPEFTRATAADCOMDIC"}},
                                         {u"Tassazione separata",
                                          {u"FASS7IMPATRATTTS", u"FASS7INTERESSITS", u"FASS7IMPORIMBTS",
                                           u"FASS7NOTRATTTS", u"FASS7NORIMBTS", u"FASS7IMPEFTRATTAXSDIC"}}}));
    page1->finish();
    return scrollPage(u"Pag.1"_s, page1);
}

QWidget *TfrElhDipAnagr::assistenza2()
{
    auto *page2 = new FieldGrid;
    addItems(page2, {{nullptr, u"CODICI DEL CONIUGE"},
                     {u"SREGCODICEARC", u"Regione (coniuge)", u"TREG_REGIONI.CDS"},
                     {u"SCOMCODICEACC", u"Comune del saldo (coniuge)"},
                     {u"SCOMCODICEAACC", u"Comune dell'acconto (coniuge)"},
                     {nullptr, u"CONIUGE"}});
    page2->addWide(amounts(
        kAssistance.mid(0, 5),
        {{u"IRPEF",
          {u"FASS7IMPTRATIRPEFCON", u"FASS7INTERESSIRPEFCON", u"FASS7IMPRIMBIRPEFCON", u"FASS7NOTRATTIRPEFCON",
           u"FASS7NORIMBIRPEFCON"}},
         {u"Primo acconto IRPEF",
          {u"FASS7IMPATRATTPRCONDI", u"FASS7INTERESSIPRCONDI", u"FASS7IMPORIMBPRCONDI", u"FASS7NOTRATTPRCON",
           u"FASS7NORIMBPRCON"}},
         {u"Secondo acconto IRPEF",
          {u"FASS7IMPTRATSRACDIC", u"FASS7INTERESSSRACDIC", u"FASS7IMPRIMBSRACDIC", u"FASS7NOTRATTSRCON",
           u"FASS7NORIMBSRCON"}},
         {u"Addizionale regionale",
          {u"FASS7IMPATRATTARC", u"FASS7INTERESSIARC", u"FASS7IMPORIMBARC", u"FASS7NOTRATTARC", u"FASS7NORIMBARC"}},
         {u"Addizionale comunale",
          {u"FASS7IMPATRATTACC", u"FASS7INTERESSIACC", u"FASS7IMPORIMBACC", u"FASS7NOTRATTACC", u"FASS7NORIMBACC"}},
         {u"Acconto addizionale comunale",
          {u"FASS7IMPATRATTAACC", u"FASS7INTERESSIAACC", u"FASS7IMPORIMBAACC", u"FASS7NOTRATTAACC",
           u"FASS7NORIMBAACC"}},
         {u"Tassazione separata",
          {u"FASS7IMPTRATTAXSCONDIC", u"FASS7INTERESSTAXSCONDIC", u"FASS7IMPRIMBTAXSCONDIC", u"FASS7NOTRATTTSCON",
           u"FASS7NORIMBTSCON"}}}));
    addItems(page2, {{nullptr, u"RETTIFICHE"},
                     {u"SMESCODICERT", u"Mese della rettifica", u"TMES_MESI.CDS"},
                     {u"SMESCODICESRT", u"Mese della rettifica del secondo acconto", u"TMES_MESI.CDS"}});
    page2->addWide(amounts({u"Dichiarante"_s, u"Coniuge"_s},
                           {{u"Importo trattenuto", {u"FASS7IMPOTRATTRT", u"FASS7IMPOTRATTRTCON"}},
                            {u"Trattenuto a titolo di acconto", {u"FASS7TRATAITRT", u"FASS7TRATAITRTCON"}},
                            {u"Addizionale regionale", {u"FASS7ARDICHIRT", u"FASS7ARCONRT"}},
                            {u"Addizionale comunale", {u"FASS7ACDICHRT", u"FASS7ACCONRT"}},
                            {u"Acconto addizionale comunale", {u"FASS7ACCACDICHRT", u"FASS7ACCACCONIUG"}},
                            {u"Secondo acconto trattenuto", {u"FASS7IMPATRATTSRT", u"FASS7IMPATRATTSRTCON"}},
                            {u"Secondo acconto rettificato", {u"FASS7IMPATRATSRRT", u"FASS7IMPATRATSRRTCON"}}}));
    page2->finish();
    return scrollPage(u"Pag.2"_s, page2);
}

QWidget *TfrElhDipAnagr::assistenza3()
{
    auto *page3 = new FieldGrid;
    page3->addHeading(u"IMPOSTE SOSTITUTIVE, CEDOLARE SECCA E CONTRIBUTO DI SOLIDARIETÀ"_s);
    page3->addWide(amounts({u"Trattenuto dichiarante"_s, u"Interessi dichiarante"_s, u"Rimborsato dichiarante"_s,
                            u"Effettivamente trattenuto"_s, u"Trattenuto coniuge"_s, u"Interessi coniuge"_s,
                            u"Rimborsato coniuge"_s},
                           {{u"Imposta sostitutiva premi di risultato",
                             {u"FASS7ISPREPRODICT", u"FASS7ISPREPRODICI", u"FASS7ISPREPRODICR", u"FASS7ISPREPRODICET",
                              u"FASS7ISPREPCDICT", u"FASS7ISPREPCDICI", u"FASS7ISPREPCDICR"}},
                            {u"Altra imposta sostitutiva",
                             {u"FASS7ISLAQDICT", u"FASS7ISLAQDICI", u"FASS7ISLAQDICR", u"FASS7ISLAQDICET",
                              u"FASS7ISLAQCDICT", u"FASS7ISLAQCDICI", u"FASS7ISLAQCDICR"}},
                            {u"Prima rata acconto cedolare secca",
                             {u"FASS71RACCLOCDIT", u"FASS71RACCLOCDINT", u"FASS71RACCLOCDIR", u"FASS71RACCLOCDIET",
                              u"FASS71RACCLOCCIT", u"FASS71RACCLOCCINT", u"FASS71RACCLOCCIR"}},
                            {u"Seconda rata acconto cedolare secca",
                             {u"FASS72RACSLDIT", u"FASS72RACSLDINT", u"FASS72RACSLDIR", u"FASS72RACSLDIET",
                              u"FASS72RACSLCIT", u"FASS72RACSLCINT", u"FASS72RACSLCIR"}},
                            {u"Contributo di solidarietà",
                             {u"FASS7CONTSOLDIT", u"FASS7CONTSOLDINT", u"FASS7CONTSOLDIR", u"FASS7CONTSOLDIET",
                              u"FASS7CONTSOLCIT", u"FASS7CONTSOLCINT", u"FASS7CONTSOLCIR"}}}));
    addItems(page3, {{u"SASS72RACSLDESI", u"Esito della seconda rata (dichiarante)"},
                     {u"SASS72RACSLCESI", u"Esito della seconda rata (coniuge)"},
                     {nullptr, u"IMPORTI SOSPESI"}});
    page3->addWide(amounts({u"Dichiarante"_s, u"Coniuge"_s},
                           {{u"IRPEF", {u"FASS7RETITISOSPD", u"FASS7RETITISOSPCD"}},
                            {u"Cedolare secca", {u"FASS7RETCEDSECD", u"FASS7RETCEDSECC"}},
                            {u"Prima rata acconto cedolare secca", {u"FASS7RET1RACLOCD", u"FASS7RET1RACLOCC"}},
                            {u"Seconda rata acconto cedolare secca", {u"FASS7RET2RACLOCDIT", u"FASS7RET2RACLOCCIT"}},
                            {u"Contributo di solidarietà", {u"FASS7RETCONTSOLD", u"FASS7RETCONTSOLC"}}}));
    page3->addHeading(u"CONGUAGLI NON EFFETTUATI"_s);
    page3->addWide(amounts(
        {u"Non rimborsato dichiarante"_s, u"Non trattenuto dichiarante"_s, u"Non rimborsato coniuge"_s,
         u"Non trattenuto coniuge"_s},
        {{u"Imposta sostitutiva premi di risultato",
          {u"FASS7CNEISPDINR", u"FASS7CNEISPDINT", u"FASS7CNEISPCDINR", u"FASS7CNEISPCDINT"}},
         {u"Cedolare secca", {u"FASS7CONGCSLDINR", u"FASS7CONGCSLDINT", u"FASS7CONGCSLCINR", u"FASS7CONGCSLCINT"}},
         {u"Prima rata acconto cedolare secca",
          {u"FASS7CONG1RACSLDINR", u"FASS7CONG1RACSLDINT", u"FASS7CONG1RACSLCINR", u"FASS7CONG1RACSLCINT"}},
         {u"Seconda rata acconto cedolare secca",
          {u"FASS7CONG2RACSLDINR", u"FASS7CONG2RACSLDINT", u"FASS7CONG2RACSLCINR", u"FASS7CONG2RACSLCINT"}},
         {u"Contributo di solidarietà",
          {u"FASS7CONGCSDINR", u"FASS7CONGCSDINT", u"FASS7CONGCSCINR", u"FASS7CONGCSCINT"}}}));
    page3->finish();
    return scrollPage(u"Pag.3"_s, page3);
}

void TfrElhDipAnagr::foreignTaxesLeft()
{
    const Field *taxes = cdsMain.active() ? cdsMain.findField(u"FFIS7IMPOSTEESTERO"_s) : nullptr;
    if (!taxes || taxes->isNull() || taxes->asCurrency().isZero())
        return;
    NrMessageDlg(u"ATTENZIONE!!!\n\rDevono essere compilati anche i campi 115-116-117 della pagina \"Redd. esteri\""_s,
                 MsgDlgType::Warning);
}

#include "TfrElhSostituto.h"

#include "FieldGrid.h"
#include "NrApplication.h"
#include "NrExceptions.h"
#include "TDataSource.h"
#include "TNrDBCheckBox.h"
#include "TNrDBDateEdit.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TNrDBRadioGroup.h"
#include "TextLib.h"

#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// The code of the State administrations' ministry that every school carries.
const QString kDicastero = u"80185250588"_s;

} // namespace

TfrElhSostituto::TfrElhSostituto(std::function<QString()> schoolFiscalCode, QWidget *parent)
    : TfrElhFrontRecord(u"SSOSCODFIS"_s, parent)
    , m_schoolFiscalCode(std::move(schoolFiscalCode))
{
    setObjectName(u"TfrElhSostituto"_s);
    grFrame->setColumns({u"SSOSCODFIS"_s, u"SSOSDENOM"_s}, {u"Codice fiscale"_s, u"Denominazione"_s});

    pcSostituto = new QTabWidget(tsDetail);
    auto *layout = new QVBoxLayout(tsDetail);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(pcSostituto);
    pcSostituto->addTab(page(u"Dati Sostituto"_s, datiSostituto()), u"Dati Sostituto"_s);
    pcSostituto->addTab(page(u"Domicilio notificazioni"_s, domicilioNotificazioni()), u"Domicilio notificazioni"_s);
    pcSostituto->addTab(page(u"Rappresentante firmatario"_s, rappresentanteFirmatario()),
                        u"Rappresentante firmatario"_s);
    pcSostituto->addTab(page(u"Redazione/Firma"_s, redazioneFirma()), u"Redazione/Firma"_s);
    pcSostituto->addTab(page(u"Impegno/Visto"_s, impegnoVisto()), u"Impegno/Visto"_s);
    pcSostituto->setTabVisible(1, false);
    pcSostituto->setCurrentIndex(0);

    connect(pcSostituto, &QTabWidget::currentChanged, this, &TfrElhSostituto::pageChanged);
    connect(rgTipoSostituto, &TNrDBRadioGroup::valueChosen, this, &TfrElhSostituto::tipoSostitutoChosen);
    connect(dsMain, &TDataSource::dataChange, this, &TfrElhSostituto::showTipoSostituto);
    showTipoSostituto();
}

QString TfrElhSostituto::tableName() const
{
    return u"TSOS_DATOSOSTITUTO"_s;
}

QWidget *TfrElhSostituto::page(const QString &caption, QLayout *layout)
{
    auto *content = new QWidget;
    content->setObjectName(caption);
    content->setLayout(layout);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

QLayout *TfrElhSostituto::datiSostituto()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"TIPO DI DICHIARAZIONE"_s);
    grid->addControls(QString(), {dbCheck(u"LSOSCORRETTIVA"_s, u"Correttiva nei termini"_s),
                                  dbCheck(u"LSOSINTEGRATIVA"_s, u"Dichiarazione integrativa"_s)});
    grid->addRow(u"Eventi eccezionali"_s,
                 dbLookup(u"SSOSEVENTECC"_s, u"Eventi eccezionali"_s, u"TEEC_EVENTIECCEZIONALI.CDS"_s));
    grid->addHeading(u"Protocollo dichiarazione inviata in gestione separata"_s);
    grid->addRow(u"Identificativo dell'invio"_s, dbEdit(u"SPROTINVGESTSEPID"_s, u"Identificativo dell'invio"_s));
    grid->addRow(u"Progressivo Attribuito dal Servizio telematico alla singola dichiarazione 770"_s,
                 dbEdit(u"SPROTINVGESTSEPAS"_s,
                        u"Progressivo Attribuito dal Servizio telematico alla singola dichiarazione 770"_s));
    grid->addHeading(u"DATI RELATIVI AL SOSTITUTO"_s);
    grid->addRow(u"Denominazione"_s, dbEdit(u"SSOSDENOM"_s, u"Denominazione"_s));
    grid->addRow(u"Codice Fiscale"_s, dbEdit(u"SSOSCODFIS"_s, u"Codice Fiscale"_s));
    grid->addControl(dbCheck(u"LSOSCASIPART"_s, u"Casi particolari"_s));
    grid->addRow(u"Codice attività"_s, dbLookup(u"SCOACODICE"_s, u"Codice attività"_s, u"TAT8_CODATECO.CDS"_s, false));
    grid->addRow(u"Telefono o fax"_s, dbEdit(u"SSOSTEL"_s, u"Telefono o fax"_s));
    grid->addRow(u"Indirizzo di posta elettronica/PEC"_s,
                 dbEdit(u"SSOSEMAIL"_s, u"Indirizzo di posta elettronica/PEC"_s));
    grid->addRow(u"Codice paese estero"_s, dbEdit(u"SSOSCODPAEEST"_s, u"Codice paese estero"_s));
    grid->addRow(u"Codice di identificazione fiscale estero"_s,
                 dbEdit(u"SSOSCODFISEST"_s, u"Codice di identificazione fiscale estero"_s));
    grid->addRow(u"Stato (tab. SA)"_s, dbLookup(u"STSACODICE"_s, u"Stato (tab. SA)"_s, u"TTSA_STATO.CDS"_s));
    grid->addRow(u"Natura Giuridica (tab. SB)"_s,
                 dbLookup(u"STSBCODICE"_s, u"Natura Giuridica (tab. SB)"_s, u"TTSB_NATGIURIDIC.CDS"_s));
    grid->addRow(u"Situazione (tab.SC)"_s,
                 dbLookup(u"STSCCODICE"_s, u"Situazione (tab.SC)"_s, u"TTSC_SITUAZIONE.CDS"_s));
    const QString dicastero =
        u"Codice fiscale del dicastero di appartenenza (riservato alle Amministrazioni dello Stato)"_s;
    grid->addRow(dicastero, dbEdit(u"SSOSCFDICASTERO"_s, dicastero));
    grid->finish();
    return grid;
}

QLayout *TfrElhSostituto::domicilioNotificazioni()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"DOMICILIO PER LA NOTIFICAZIONE DEGLI ATTI"_s);
    grid->addNote(
        u"Il quadro è riservato ai sostituti che eleggono un indirizzo per la notificazione degli atti DIVERSO da "
        u"quello indicato nella residenza anagrafica (pag. 17 istruzioni)"_s);
    grid->addRow(u"Codice fiscale"_s, dbEdit(u"SSOSDOMNOTCODFIS"_s, u"Codice fiscale"_s));
    rgTipoSostituto = new TNrDBRadioGroup(u"Tipo sostituto"_s);
    rgTipoSostituto->addItem(u"Ufficio"_s, u"0"_s);
    rgTipoSostituto->addItem(u"Persona fisica"_s, u"1"_s);
    rgTipoSostituto->setDataSource(dsMain);
    rgTipoSostituto->setDataField(u"LSOSPERSFISICA"_s);
    setCaption(u"LSOSPERSFISICA"_s, u"Tipo sostituto"_s);
    grid->addControl(rgTipoSostituto);

    TNrDBEdit *ufficio = dbEdit(u"SSOSDOMNOTUFFICIO"_s, u"Ufficio"_s);
    m_ufficio = {grid->addRow(u"Ufficio"_s, ufficio), ufficio};
    TNrDBEdit *cognome = dbEdit(u"SSOSDOMNOTCOGNOME"_s, u"Cognome"_s);
    TNrDBEdit *nome = dbEdit(u"SSOSDOMNOTNOME"_s, u"Nome"_s);
    m_personaFisica = {grid->addRow(u"Cognome"_s, cognome), cognome, grid->addRow(u"Nome"_s, nome), nome};

    grid->addRow(u"Comune"_s, dbEdit(u"SSOSDOMNOTCOMUNE"_s, u"Comune"_s));
    grid->addRow(u"Provincia (sigla)"_s, dbEdit(u"SSOSDOMNOTPROVINCIA"_s, u"Provincia (sigla)"_s));
    grid->addRow(u"Cod. comune"_s, dbEdit(u"SSOSDOMNOTCODCOM"_s, u"Cod. comune"_s));
    grid->addRow(u"C.a.p."_s, dbEdit(u"SSOSDOMNOTCAP"_s, u"C.a.p."_s));
    grid->addRow(u"Tipologia (via, piazza, ecc.)"_s,
                 dbEdit(u"SSOSDOMNOTTIPOLOGIA"_s, u"Tipologia (via, piazza, ecc.)"_s));
    grid->addRow(u"Indirizzo"_s, dbEdit(u"SSOSDOMNOTINDIRIZZO"_s, u"Indirizzo"_s));
    grid->addRow(u"N. civico"_s, dbEdit(u"SSOSDOMNOTNCIVICO"_s, u"N. civico"_s));
    grid->addRow(u"Frazione"_s, dbEdit(u"SSOSDOMNOTFRAZIONE"_s, u"Frazione"_s));
    grid->addRow(u"Stato estero(riservato ai residenti all'estero)"_s,
                 dbEdit(u"SSOSDOMNOTSTESTERO"_s, u"Stato estero(riservato ai residenti all'estero)"_s));
    grid->addRow(u"Codice stato estero"_s, dbEdit(u"SSOSDOMNOTCODESTERO"_s, u"Codice stato estero"_s));
    grid->addRow(u"Stato federato, provincia, contea"_s,
                 dbEdit(u"SSOSDOMNOTSTFEDERATO"_s, u"Stato federato, provincia, contea"_s));
    grid->addRow(u"Località di residenza"_s, dbEdit(u"SSOSDOMNOTRESIDENZA"_s, u"Località di residenza"_s));
    grid->addRow(u"Indirizzo estero"_s, dbEdit(u"SSOSDOMNOTINDESTERO"_s, u"Indirizzo estero"_s));
    grid->finish();
    return grid;
}

QLayout *TfrElhSostituto::rappresentanteFirmatario()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"DATI RELATIVI AL RAPPRESENTANTE FIRMATARIO DELLA DICHIARAZIONE"_s);
    grid->addRow(u"Codice fiscale"_s, dbEdit(u"SSOSCFRAPPR"_s, u"Codice fiscale"_s));
    grid->addRow(u"Codice carica"_s, dbLookup(u"SCARCODICE"_s, u"Codice carica"_s, u"TCOA_CODCARICA.CDS"_s, false));
    grid->addRow(u"Data apertura fallimento"_s, dbDate(u"DSOSDTFALLIMENTO"_s, u"Data apertura fallimento"_s));
    grid->addRow(u"Data carica"_s, dbDate(u"DSOSDTCARICA"_s, u"Data carica"_s));
    grid->addRow(u"Denominazione"_s, dbEdit(u"SSOSDENRAPPR"_s, u"Denominazione"_s));
    grid->addRow(u"Cognome"_s, dbEdit(u"SSOSCOGNRAPPR"_s, u"Cognome"_s));
    grid->addRow(u"Nome"_s, dbEdit(u"SSOSNOMERAPPR"_s, u"Nome"_s));
    grid->addRow(u"Sesso (M o F)"_s, dbEdit(u"SSOSSESSO"_s, u"Sesso (M o F)"_s));
    grid->addRow(u"Data di nascita"_s, dbDate(u"DSOSDTNASRAPPR"_s, u"Data di nascita"_s));
    grid->addRow(u"Comune (o Stato estero) di nascita"_s,
                 dbEdit(u"SSOSCOMNASRAPPR"_s, u"Comune (o Stato estero) di nascita"_s));
    grid->addRow(u"Provincia (sigla)"_s, dbEdit(u"SSOSPROVNASRAPPR"_s, u"Provincia (sigla)"_s));
    grid->addRow(u"Codice stato estero"_s, dbEdit(u"SSOSRAPFIRCODESTERO"_s, u"Codice stato estero"_s));
    grid->addRow(u"Stato federato, provincia, contea"_s,
                 dbEdit(u"SSOSRAPFIRSTACONT"_s, u"Stato federato, provincia, contea"_s));
    grid->addRow(u"Località di residenza"_s, dbEdit(u"SSOSRAPFIRSTALOC"_s, u"Località di residenza"_s));
    grid->addRow(u"Indirizzo estero"_s, dbEdit(u"SSOSRAPFIRSTAIND"_s, u"Indirizzo estero"_s));
    grid->addRow(u"Telefono o cellulare"_s, dbEdit(u"SSOSRAPFIRSTATEL"_s, u"Telefono o cellulare"_s));
    grid->addRow(u"Codice fiscale società o ente dichiarante"_s,
                 dbEdit(u"SSOSRAPFIRSTACF"_s, u"Codice fiscale società o ente dichiarante"_s));
    grid->finish();
    return grid;
}

QLayout *TfrElhSostituto::redazioneFirma()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"REDAZIONE DELLA DICHIARAZIONE"_s);
    grid->addRow(u"Tipologia invio"_s, dbLookup(u"SSOSTIPOINV"_s, u"Tipologia invio"_s, u"TTIN_TIPOLOGIAINVIO.CDS"_s));

    grid->addHeading(u"QUADRI COMPILATI"_s);
    grid->addControls(QString(), {dbCheck(u"LSOSDIP"_s, u"Dipendente"_s), dbCheck(u"LSOSAUT"_s, u"Autonomo"_s),
                                  dbCheck(u"LSOSCAP"_s, u"Capitali"_s), dbCheck(u"LSOSLOCBRV"_s, u"Locazioni brevi"_s),
                                  dbCheck(u"LSOSALTRIT"_s, u"Altre ritenute"_s)});
    grid->addControl(dbCheck(u"LSOSINCGESSEP"_s, u"Incaricato in gestione separata"_s));
    grid->addControls(u"(barrare la casella)"_s,
                      {dbCheck(u"LSOSDI"_s, u"DI"_s), dbCheck(u"LSOSST"_s, u"ST"_s), dbCheck(u"LSOSSV"_s, u"SV"_s),
                       dbCheck(u"LSOSSX"_s, u"SX"_s), dbCheck(u"LSOSSY"_s, u"SY"_s), dbCheck(u"LSOSSS"_s, u"SS"_s)});

    grid->addHeading(u"GESTIONE SEPARATA"_s);
    for (const QString &n : {u"1"_s, u"2"_s}) {
        grid->addRow(u"Codice fiscale altro incaricato"_s,
                     dbEdit(u"SGESCODFIS"_s + n, u"Codice fiscale altro incaricato"_s));
        grid->addControls(QString(),
                          {dbCheck(u"LGESCFSOS"_s + n, u"Sostituto"_s), dbCheck(u"LGESDIP"_s + n, u"Dipendente"_s),
                           dbCheck(u"LGESAUT"_s + n, u"Autonomo"_s), dbCheck(u"LGESCAP"_s + n, u"Capitali"_s),
                           dbCheck(u"LGESLOCBRV"_s + n, u"Locazioni brevi"_s),
                           dbCheck(u"LGESALTRIT"_s + n, u"Altre ritenute"_s)});
    }
    const QString nonTrasmissione = u"Casi di non trasmissione dei quadri ST, SV e SX"_s;
    grid->addRow(nonTrasmissione, dbLookup(u"SSOSNTQUADRI"_s, nonTrasmissione, u"TCNT_CASINONTRASMISSIONE.CDS"_s));

    grid->addHeading(u"FIRMA DELLA DICHIARAZIONE"_s);
    grid->addControls(u"Situazioni particolari"_s,
                      {new QLabel(u"Codice"_s), dbEdit(u"ISOSCODSITPART"_s, u"Situazioni particolari"_s)});
    grid->addRow(u"FIRMA DEL DICHIARANTE"_s, dbEdit(u"SSOSDICHIARANTE"_s, u"FIRMA DEL DICHIARANTE"_s));
    for (int k = 1; k <= 5; ++k) {
        const QString n = QString::number(k);
        grid->addControls(u"Soggetto"_s,
                          {dbLookup(u"ISOSSOGG"_s + n, u"Soggetto"_s, u"TTSO_SOGGETTO.CDS"_s, false),
                           new QLabel(u"Codice fiscale"_s), dbEdit(u"SSOSCFSOGG"_s + n, u"Codice fiscale"_s),
                           new QLabel(u"FIRMA"_s), dbEdit(u"SSOSFIRMASOGG"_s + n, u"FIRMA"_s)});
    }
    grid->addControl(dbCheck(u"LSOSATTEST"_s, u"Attestazione"_s));
    grid->addControl(
        dbCheck(u"LSOSAVVISO"_s, u"Invio avviso telematico controllo automatizzato dichiarazione all'intermediario"_s));
    grid->finish();
    return grid;
}

QLayout *TfrElhSostituto::impegnoVisto()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"IMPEGNO ALLA PRESENTAZIONE TELEMATICA"_s);
    grid->addNote(u"Riservato all'incaricato"_s);
    grid->addRow(u"Codice fiscale dell'incaricato"_s,
                 dbEdit(u"SSOSCODFISINTERM"_s, u"Codice fiscale dell'incaricato"_s));
    const QString impegno = u"Impegno a presentare in via telematica la dichiarazione"_s;
    grid->addRow(impegno, dbLookup(u"LSOSDICHCONTRIB"_s, impegno, u"TIPR_IMPEGNOPRESENTARETELEMATICA.CDS"_s));
    grid->addControl(
        dbCheck(u"LSOSAVVISORIC"_s, u"Ricezione avviso telematico controllo automatizzato dichiarazione"_s));
    grid->addRow(u"Data dell'impegno"_s, dbDate(u"DSOSDTIMPEGNO"_s, u"Data dell'impegno"_s));
    grid->addRow(u"FIRMA DELL'INTERMEDIARIO"_s, dbEdit(u"SSOSINTERMEDIARIO"_s, u"FIRMA DELL'INTERMEDIARIO"_s));
    grid->addHeading(u"VISTO DI CONFORMITA'"_s);
    grid->addNote(u"Riservato al C.A.F. o al professionista"_s);
    grid->addRow(u"Codice fiscale del responsabile del C.A.F"_s,
                 dbEdit(u"SSOSCODFISRESPCAF"_s, u"Codice fiscale del responsabile del C.A.F"_s));
    grid->addRow(u"Codice fiscale del C.A.F"_s, dbEdit(u"SSOSCODFISCAF"_s, u"Codice fiscale del C.A.F"_s));
    grid->addRow(u"Codice fiscale del professionista"_s,
                 dbEdit(u"SSOSCODFISPROF"_s, u"Codice fiscale del professionista"_s));
    const QString firma = u"FIRMA DEL RESPONSABILE DEL C.A.F. O DEL PROFESSIONISTA"_s;
    grid->addRow(firma, dbEdit(u"SSOSCAF"_s, firma));
    grid->addNote(u"Si rilascia il visto di conformità ai sensi dell'art. 35 del D.Lgs. n. 241/1997"_s);
    grid->finish();
    return grid;
}

void TfrElhSostituto::cdsMainNewRecord()
{
    for (TNrDBCheckBox *check : tsDetail->findChildren<TNrDBCheckBox *>()) {
        if (Field *f = cdsMain.findField(check->dataField()))
            f->setAsString(u"0"_s);
    }
    cdsMain.fieldByName(u"SSOSCFDICASTERO"_s).setAsString(kDicastero);
    cdsMain.fieldByName(u"ISOSSEZ"_s).setAsInteger(1);
    const QString code = m_schoolFiscalCode ? TextLib::Trim(m_schoolFiscalCode()) : QString();
    if (code.isEmpty()) {
        throw ENrError(u"Codice fiscale sostituto non trovato. \r\nImportare i dati dal CUD od eseguire il programma "
                       u"\"Plessi e Scuole\" per controllare i dati"_s);
    }
    cdsMain.fieldByName(u"SSOSCODFIS"_s).setAsString(code);
}

void TfrElhSostituto::dsMainStateChange()
{
    TfrElhFrontRecord::dsMainStateChange();
    if (cdsMain.state() == DataSetState::Insert)
        pcSostituto->setCurrentIndex(0);
}

void TfrElhSostituto::tipoSostitutoChosen(const QString &value)
{
    const QStringList cleared =
        value == u"1" ? QStringList{u"SSOSDOMNOTUFFICIO"_s} : QStringList{u"SSOSDOMNOTCOGNOME"_s, u"SSOSDOMNOTNOME"_s};
    NrRunGuarded([&] {
        for (const QString &name : cleared)
            cdsMain.fieldByName(name).clear();
    });
    showTipoSostituto();
}

void TfrElhSostituto::showTipoSostituto()
{
    const bool personaFisica = rgTipoSostituto->itemIndex() == 1;
    for (QWidget *w : std::as_const(m_ufficio))
        w->setVisible(!personaFisica);
    for (QWidget *w : std::as_const(m_personaFisica))
        w->setVisible(personaFisica);
}

void TfrElhSostituto::pageChanged(int index)
{
    // The position counts the page whose tab is not shown.
    if (index == 2 && rgTipoSostituto->itemIndex() < 0)
        rgTipoSostituto->setItemIndex(0);
}

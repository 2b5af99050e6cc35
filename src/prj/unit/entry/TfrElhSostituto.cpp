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
    pcSostituto->addTab(scrollPage(u"Dati Sostituto"_s, datiSostituto()), u"Dati Sostituto"_s);
    pcSostituto->addTab(scrollPage(u"Domicilio notificazioni"_s, domicilioNotificazioni()),
                        u"Domicilio notificazioni"_s);
    pcSostituto->addTab(scrollPage(u"Rappresentante firmatario"_s, rappresentanteFirmatario()),
                        u"Rappresentante firmatario"_s);
    pcSostituto->addTab(scrollPage(u"Redazione/Firma"_s, redazioneFirma()), u"Redazione/Firma"_s);
    pcSostituto->addTab(scrollPage(u"Impegno/Visto"_s, impegnoVisto()), u"Impegno/Visto"_s);
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

QLayout *TfrElhSostituto::datiSostituto()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"TIPO DI DICHIARAZIONE"_s);
    grid->addControls(QString(), {dbCheck(u"LSOSCORRETTIVA"_s, u"Correttiva nei termini"_s),
                                  dbCheck(u"LSOSINTEGRATIVA"_s, u"Dichiarazione integrativa"_s)});
    lookupRow(grid, u"SSOSEVENTECC"_s, u"Eventi eccezionali"_s, u"TEEC_EVENTIECCEZIONALI.CDS"_s);
    grid->addHeading(u"Protocollo dichiarazione inviata in gestione separata"_s);
    editRow(grid, u"SPROTINVGESTSEPID"_s, u"Identificativo dell'invio"_s);
    editRow(grid, u"SPROTINVGESTSEPAS"_s,
            u"Progressivo Attribuito dal Servizio telematico alla singola dichiarazione 770"_s);
    grid->addHeading(u"DATI RELATIVI AL SOSTITUTO"_s);
    editRow(grid, u"SSOSDENOM"_s, u"Denominazione"_s);
    editRow(grid, u"SSOSCODFIS"_s, u"Codice Fiscale"_s);
    grid->addControl(dbCheck(u"LSOSCASIPART"_s, u"Casi particolari"_s));
    lookupRow(grid, u"SCOACODICE"_s, u"Codice attività"_s, u"TAT8_CODATECO.CDS"_s, false);
    editRow(grid, u"SSOSTEL"_s, u"Telefono o fax"_s);
    editRow(grid, u"SSOSEMAIL"_s, u"Indirizzo di posta elettronica/PEC"_s);
    editRow(grid, u"SSOSCODPAEEST"_s, u"Codice paese estero"_s);
    editRow(grid, u"SSOSCODFISEST"_s, u"Codice di identificazione fiscale estero"_s);
    lookupRow(grid, u"STSACODICE"_s, u"Stato (tab. SA)"_s, u"TTSA_STATO.CDS"_s);
    lookupRow(grid, u"STSBCODICE"_s, u"Natura Giuridica (tab. SB)"_s, u"TTSB_NATGIURIDIC.CDS"_s);
    lookupRow(grid, u"STSCCODICE"_s, u"Situazione (tab.SC)"_s, u"TTSC_SITUAZIONE.CDS"_s);
    const QString dicastero =
        u"Codice fiscale del dicastero di appartenenza (riservato alle Amministrazioni dello Stato)"_s;
    editRow(grid, u"SSOSCFDICASTERO"_s, dicastero);
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
    editRow(grid, u"SSOSDOMNOTCODFIS"_s, u"Codice fiscale"_s);
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

    editRow(grid, u"SSOSDOMNOTCOMUNE"_s, u"Comune"_s);
    editRow(grid, u"SSOSDOMNOTPROVINCIA"_s, u"Provincia (sigla)"_s);
    editRow(grid, u"SSOSDOMNOTCODCOM"_s, u"Cod. comune"_s);
    editRow(grid, u"SSOSDOMNOTCAP"_s, u"C.a.p."_s);
    editRow(grid, u"SSOSDOMNOTTIPOLOGIA"_s, u"Tipologia (via, piazza, ecc.)"_s);
    editRow(grid, u"SSOSDOMNOTINDIRIZZO"_s, u"Indirizzo"_s);
    editRow(grid, u"SSOSDOMNOTNCIVICO"_s, u"N. civico"_s);
    editRow(grid, u"SSOSDOMNOTFRAZIONE"_s, u"Frazione"_s);
    editRow(grid, u"SSOSDOMNOTSTESTERO"_s, u"Stato estero(riservato ai residenti all'estero)"_s);
    editRow(grid, u"SSOSDOMNOTCODESTERO"_s, u"Codice stato estero"_s);
    editRow(grid, u"SSOSDOMNOTSTFEDERATO"_s, u"Stato federato, provincia, contea"_s);
    editRow(grid, u"SSOSDOMNOTRESIDENZA"_s, u"Località di residenza"_s);
    editRow(grid, u"SSOSDOMNOTINDESTERO"_s, u"Indirizzo estero"_s);
    grid->finish();
    return grid;
}

QLayout *TfrElhSostituto::rappresentanteFirmatario()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"DATI RELATIVI AL RAPPRESENTANTE FIRMATARIO DELLA DICHIARAZIONE"_s);
    editRow(grid, u"SSOSCFRAPPR"_s, u"Codice fiscale"_s);
    lookupRow(grid, u"SCARCODICE"_s, u"Codice carica"_s, u"TCOA_CODCARICA.CDS"_s, false);
    dateRow(grid, u"DSOSDTFALLIMENTO"_s, u"Data apertura fallimento"_s);
    dateRow(grid, u"DSOSDTCARICA"_s, u"Data carica"_s);
    editRow(grid, u"SSOSDENRAPPR"_s, u"Denominazione"_s);
    editRow(grid, u"SSOSCOGNRAPPR"_s, u"Cognome"_s);
    editRow(grid, u"SSOSNOMERAPPR"_s, u"Nome"_s);
    editRow(grid, u"SSOSSESSO"_s, u"Sesso (M o F)"_s);
    dateRow(grid, u"DSOSDTNASRAPPR"_s, u"Data di nascita"_s);
    editRow(grid, u"SSOSCOMNASRAPPR"_s, u"Comune (o Stato estero) di nascita"_s);
    editRow(grid, u"SSOSPROVNASRAPPR"_s, u"Provincia (sigla)"_s);
    editRow(grid, u"SSOSRAPFIRCODESTERO"_s, u"Codice stato estero"_s);
    editRow(grid, u"SSOSRAPFIRSTACONT"_s, u"Stato federato, provincia, contea"_s);
    editRow(grid, u"SSOSRAPFIRSTALOC"_s, u"Località di residenza"_s);
    editRow(grid, u"SSOSRAPFIRSTAIND"_s, u"Indirizzo estero"_s);
    editRow(grid, u"SSOSRAPFIRSTATEL"_s, u"Telefono o cellulare"_s);
    editRow(grid, u"SSOSRAPFIRSTACF"_s, u"Codice fiscale società o ente dichiarante"_s);
    grid->finish();
    return grid;
}

QLayout *TfrElhSostituto::redazioneFirma()
{
    auto *grid = new FieldGrid;
    grid->addHeading(u"REDAZIONE DELLA DICHIARAZIONE"_s);
    lookupRow(grid, u"SSOSTIPOINV"_s, u"Tipologia invio"_s, u"TTIN_TIPOLOGIAINVIO.CDS"_s);

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
        editRow(grid, u"SGESCODFIS"_s + n, u"Codice fiscale altro incaricato"_s);
        grid->addControls(QString(),
                          {dbCheck(u"LGESCFSOS"_s + n, u"Sostituto"_s), dbCheck(u"LGESDIP"_s + n, u"Dipendente"_s),
                           dbCheck(u"LGESAUT"_s + n, u"Autonomo"_s), dbCheck(u"LGESCAP"_s + n, u"Capitali"_s),
                           dbCheck(u"LGESLOCBRV"_s + n, u"Locazioni brevi"_s),
                           dbCheck(u"LGESALTRIT"_s + n, u"Altre ritenute"_s)});
    }
    const QString nonTrasmissione = u"Casi di non trasmissione dei quadri ST, SV e SX"_s;
    lookupRow(grid, u"SSOSNTQUADRI"_s, nonTrasmissione, u"TCNT_CASINONTRASMISSIONE.CDS"_s);

    grid->addHeading(u"FIRMA DELLA DICHIARAZIONE"_s);
    grid->addControls(u"Situazioni particolari"_s,
                      {new QLabel(u"Codice"_s), dbEdit(u"ISOSCODSITPART"_s, u"Situazioni particolari"_s)});
    editRow(grid, u"SSOSDICHIARANTE"_s, u"FIRMA DEL DICHIARANTE"_s);
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
    editRow(grid, u"SSOSCODFISINTERM"_s, u"Codice fiscale dell'incaricato"_s);
    const QString impegno = u"Impegno a presentare in via telematica la dichiarazione"_s;
    lookupRow(grid, u"LSOSDICHCONTRIB"_s, impegno, u"TIPR_IMPEGNOPRESENTARETELEMATICA.CDS"_s);
    grid->addControl(
        dbCheck(u"LSOSAVVISORIC"_s, u"Ricezione avviso telematico controllo automatizzato dichiarazione"_s));
    dateRow(grid, u"DSOSDTIMPEGNO"_s, u"Data dell'impegno"_s);
    editRow(grid, u"SSOSINTERMEDIARIO"_s, u"FIRMA DELL'INTERMEDIARIO"_s);
    grid->addHeading(u"VISTO DI CONFORMITA'"_s);
    grid->addNote(u"Riservato al C.A.F. o al professionista"_s);
    editRow(grid, u"SSOSCODFISRESPCAF"_s, u"Codice fiscale del responsabile del C.A.F"_s);
    editRow(grid, u"SSOSCODFISCAF"_s, u"Codice fiscale del C.A.F"_s);
    editRow(grid, u"SSOSCODFISPROF"_s, u"Codice fiscale del professionista"_s);
    const QString firma = u"FIRMA DEL RESPONSABILE DEL C.A.F. O DEL PROFESSIONISTA"_s;
    editRow(grid, u"SSOSCAF"_s, firma);
    grid->addNote(u"Si rilascia il visto di conformità ai sensi dell'art. 35 del D.Lgs. n. 241/1997"_s);
    grid->finish();
    return grid;
}

void TfrElhSostituto::cdsMainNewRecord()
{
    clearCheckBoxes();
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

#include "TfrElhAutonomo.h"

#include "FieldGrid.h"
#include "NrMessages.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TfrElhAutSomme.h"

#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfrElhAutonomo::TfrElhAutonomo(THlmDBCds &store, QWidget *parent)
    : TfrElhAnagrafe(PersonTables::Kind::SelfEmployed, store, parent)
{
    setObjectName(u"TfrElhAutonomo"_s);
    grFrame->setColumns({u"SDAU7CODFIS"_s, u"SDAU7COGNOME"_s, u"SDAU7NOME"_s},
                        {u"Codice fiscale"_s, u"Cognome/Denominazione"_s, u"Nome"_s});

    pcAutonomo = new QTabWidget(tsDetail);
    pcAutonomo->setObjectName(u"pcAutonomo"_s);
    auto *layout = new QVBoxLayout(tsDetail);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(pcAutonomo);
    pcAutonomo->addTab(lazyPage([this] { return percipiente(); }), u"Percipiente"_s);
    frAutSomme = new TfrElhAutSomme(person());
    addSection(frAutSomme);
    frAutSomme->setBarCaption(u"Sezione \"Somme erogate\""_s);
    pcAutonomo->addTab(frAutSomme, u"Somme erogate"_s);
    setDetailPages(pcAutonomo);
    setBarCaption(u"Percipiente"_s);

    cdsMain.events().afterInsert = [this](ClientDataSet &) { afterInsert(); };
}

QWidget *TfrElhAutonomo::percipiente()
{
    auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    left->addHeading(u"DATI RELATIVI AL PERCIPIENTE DELLE SOMME"_s);
    addExtinctAgent(left);
    addItems(left, {{u"SDAU7CODFIS", u"1 Codice fiscale"},
                    {u"SDAU7COGNOME", u"2 Cognome o Denominazione"},
                    {u"SDAU7NOME", u"3 Nome"},
                    {u"SDAU7SEX", u"4 Sesso (M oF)"},
                    {u"DDAU7DATANAS", u"5 Data di nascita"},
                    {u"SDAU7COMNAS", u"6 Comune (o Stato estero) di nascita"},
                    {u"SDAU7PROVNAS", u"7 Prov.nasc. (sigla)"},
                    {u"SDAU7CAPCODICE", u"8 Categorie particolari", u"TCAP_CATPARTICOL.CDS"},
                    {u"SDAU7EVENTIECC", u"9 Eventi ecc.", u"TEEC_EVENTIECCEZIONALI.cds"}});
    auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
    yearHeading(right, u"DOMICILIO FISCALE ALL' 1/1/%1"_s, 2023);
    addItems(right, {{u"SDAU7COMUNE", u"20 Comune"},
                     {u"SDAU7PROVINCIA", u"21 Provincia (sigla)"},
                     {u"SDAU7CODCOM", u"22 Codice comune"},
                     {nullptr, u"RISERVATO AI PERCIPIENTI ESTERI"},
                     {u"SDAU7CODFISESTERO", u"40 Codice di identificazione fiscale estero"},
                     {u"SDAU7RESESTERA", u"41 Località di residenza estera"},
                     {u"SDAU7INDIRIESTERO", u"42 Via e numero civico"},
                     {u"SSTECODICE", u"43 Codice stato estero"}});
    return columnsPage(u"Percipiente"_s, left, right);
}

void TfrElhAutonomo::cdsMainNewRecord()
{
    TfrElhAnagrafe::cdsMainNewRecord();
    cdsMain.fieldByName(u"LDAU7EREDE"_s).setAsString(u"0"_s);
}

void TfrElhAutonomo::afterInsert()
{
    for (TNrDBEdit *edit : tsDetail->findChildren<TNrDBEdit *>()) {
        if (edit->dataSource() == dsMain && edit->dataField() == u"SDAU7CODFIS" && !edit->text().isEmpty())
            NrMessageDlg(u"Dipendente selezionato, ripremere il tasto \"INS\""_s, MsgDlgType::Information);
    }
}

#include "TfrElhAnagrafe.h"

#include "Exceptions.h"
#include "FieldGrid.h"
#include "NrApplication.h"
#include "NrExceptions.h"
#include "NrMessages.h"
#include "TDataSource.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TextLib.h"
#include "TfmHlmRicerca.h"

#include <QAction>
#include <QTabWidget>

using namespace Qt::Literals::StringLiterals;

TfrElhAnagrafe::TfrElhAnagrafe(PersonTables::Kind kind, THlmDBCds &store, QWidget *parent)
    : TfrElfBase(parent)
    , m_kind(kind)
    , m_store(store)
{
    grFrame->setSortOnTitleClick(false);
    connect(grFrame, &TNrDBGrid::titleClicked, this, &TfrElhAnagrafe::orderBy);
    connect(dsMain, &TDataSource::stateChange, this, &TfrElhAnagrafe::followCurrentRecord);
    connect(dsMain, &TDataSource::dataChange, this, [this](const Field *field) {
        if (!field)
            followCurrentRecord();
    });

    DataSetEvents &events = cdsMain.events();
    const DataSetEvents::Handler refuse = [this](ClientDataSet &) { refuseWhileSectionsEdit(); };
    events.beforeScroll = refuse;
    events.beforeInsert = [this](ClientDataSet &) {
        refuseWhileSectionsEdit();
        if (m_detailPages)
            m_detailPages->setCurrentIndex(0);
    };
    events.beforeEdit = refuse;
    // The deletion reached the store when the user confirmed it.
    setAfterDelete([this] { cdsMain.mergeChangeLog(); });
}

QString TfrElhAnagrafe::tableName() const
{
    return registry().table;
}

void TfrElhAnagrafe::addSection(TfrElhSezione *section)
{
    m_sections.append(section);
}

void TfrElhAnagrafe::yearHeading(FieldGrid *grid, const QString &caption, int year)
{
    grid->addHeading(caption.arg(year));
}

void TfrElhAnagrafe::addExtinctAgent(FieldGrid *grid)
{
    const QString field = u"SSOE7CODICE"_s;
    const QString caption = u"CODICE FISCALE DEL SOSTITUTO D'IMPOSTA  -  ESTINTO"_s;
    TNrDBLookupEdit *lookup = dbLookup(field, caption, QString());
    lookup->setOnLookup(
        [this, field] { TfmHlmRicerca::lookupIntoField(cdsMain, field, m_store, u"TSOE7_SOSESTINTO"_s, this); });
    grid->addRow(caption, lookup);
    grid->addNote(u"(da compilare solo in caso di operazioni straordinarie e successioni)"_s);
}

void TfrElhAnagrafe::dataSetOpened()
{
    // Ordered before the grid takes its columns again, so that it fits them
    // once more only.
    cdsMain.setIndexFieldNames(registry().codeField);
    TfrElfBase::dataSetOpened();
    cdsMain.first();
    followCurrentRecord();
}

void TfrElhAnagrafe::followCurrentRecord()
{
    CurrentPerson person;
    if (cdsMain.active() && !cdsMain.isEmpty() && cdsMain.state() != DataSetState::Insert) {
        const Field &id = cdsMain.fieldByName(u"IAFIID"_s);
        if (!id.isNull()) {
            person.id = id.asLargeInt();
            person.code = cdsMain.fieldByName(registry().codeField).asString();
        }
    }
    if (person.id != m_person.id || person.code != m_person.code) {
        m_person = person;
        for (TfrElhSezione *section : std::as_const(m_sections))
            section->showPerson();
    }
    updateActions();
}

void TfrElhAnagrafe::cdsMainNewRecord()
{
    uncheckFlags();
}

void TfrElhAnagrafe::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    if (cdsMain.state() == DataSetState::Insert) {
        if (TextLib::Trim(cdsMain.fieldByName(registry().codeField).asString()).isEmpty())
            throw ENrError(u"Codice fiscale obbligatorio"_s);
        cdsMain.fieldByName(registry().groupField).setAsString(registry().group);
    }
    askMandatoryCheck();
}

void TfrElhAnagrafe::cdsMainBeforeDelete()
{
    refuseWhileSectionsEdit();
    TfrElfBase::cdsMainBeforeDelete();
    const Field &id = cdsMain.fieldByName(u"IAFIID"_s);
    if (m_onDeletePerson && !id.isNull())
        m_onDeletePerson(id.asLargeInt());
}

void TfrElhAnagrafe::dsMainStateChange()
{
    TfrElfBase::dsMainStateChange();
    enableCode();
}

void TfrElhAnagrafe::detailBuilt()
{
    TfrElfBase::detailBuilt();
    enableCode();
}

void TfrElhAnagrafe::enableCode()
{
    // An existing person keeps his fiscal code.
    for (TNrDBEdit *edit : tsDetail->findChildren<TNrDBEdit *>()) {
        if (edit->dataSource() == dsMain && edit->dataField() == registry().codeField)
            edit->setEditEnabled(cdsMain.state() == DataSetState::Insert);
    }
}

void TfrElhAnagrafe::updateActions()
{
    TfrElfBase::updateActions();
    const bool named = cdsMain.active() && !cdsMain.isEmpty() && cdsMain.state() != DataSetState::Insert;
    SetInfoPanelCaption(named ? cdsMain.fieldByName(registry().surnameField).asString() + u' '
                                    + cdsMain.fieldByName(registry().nameField).asString()
                              : QString());
}

bool TfrElhAnagrafe::sectionsEditing() const
{
    return std::any_of(m_sections.begin(), m_sections.end(), [](const TfrElhSezione *s) { return s->editing(); });
}

void TfrElhAnagrafe::refuseWhileSectionsEdit()
{
    if (!sectionsEditing())
        return;
    NrMessageDlg(u"Non è possibile cambiare schermata mentre si inseriscono o modificano i dati"_s,
                 MsgDlgType::Information);
    Abort();
}

void TfrElhAnagrafe::orderBy(const QString &field)
{
    if (cdsMain.state() != DataSetState::Browse)
        return;
    NrRunGuarded([&] {
        cdsMain.setIndexFieldNames(field);
        cdsMain.first();
    });
}

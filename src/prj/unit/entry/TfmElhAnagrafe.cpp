#include "TfmElhAnagrafe.h"

#include "THlmDBCds.h"
#include "TfrElhAnagrafe.h"

TfmElhAnagrafe::TfmElhAnagrafe(THlmDBCds &store, TfrElhAnagrafe *registry, QWidget *parent)
    : TfmElhChildDB(store, parent)
    , m_registry(registry)
{
    setMainFrame(registry);
    for (TfrElhSezione *section : registry->sections())
        addFrame(section);
    // A new person has his IAFIID once saved: his sections follow him.
    registry->setAfterPost([this] {
        this->store().save(m_registry->cdsMain, m_registry->tableName());
        m_registry->followCurrentRecord();
    });
    registry->setOnDeletePerson([this](qint64 person) { deletePerson(person); });
}

void TfmElhAnagrafe::FormShow()
{
    TfmElhChildDB::FormShow();
    for (TfrElhSezione *section : m_registry->sections())
        section->showPerson();
}

void TfmElhAnagrafe::deletePerson(qint64 person)
{
    // Deletions still pending go first, so that afterwards the change logs
    // hold only this person's rows.
    QList<TfrElfBase *> frames{m_registry};
    for (TfrElhSezione *section : m_registry->sections())
        frames.append(section);
    for (TfrElfBase *frame : std::as_const(frames)) {
        if (frame->cdsMain.changeCount() > 0)
            store().save(frame->cdsMain, frame->tableName());
    }
    PersonTables::deletePerson(store(), m_registry->kind(), person);
    for (TfrElhSezione *section : m_registry->sections()) {
        ClientDataSet &rows = section->cdsMain;
        const DataSetEvents events = rows.takeEvents();
        PersonTables::deletePersonRows(rows, person);
        rows.mergeChangeLog();
        rows.setEvents(events);
    }
}

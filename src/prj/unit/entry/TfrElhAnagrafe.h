#pragma once

#include "TfrElhSezione.h"

#include <functional>

class QTabWidget;
class THlmDBCds;
class TNrDBLookupEdit;

// The registry frame of the employees or of the self-employed workers: one
// record per person, ordered by fiscal code. The frame follows its current
// record: the person's surname and name stand in the info panel and its
// section frames show only his rows. The fiscal code is typed only on a new
// record, which takes the person's group letter when confirmed; a person
// with sections being edited stays current until they are confirmed or
// cancelled. Deleting a person deletes his sections too.
class TfrElhAnagrafe : public TfrElfBase
{
    Q_OBJECT

public:
    TfrElhAnagrafe(PersonTables::Kind kind, THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
    PersonTables::Kind kind() const { return m_kind; }
    const PersonTables::Registry &registry() const { return PersonTables::registry(m_kind); }

    const CurrentPerson &person() const { return m_person; }
    const QList<TfrElhSezione *> &sections() const { return m_sections; }
    // Takes the person of the current record and shows his sections.
    void followCurrentRecord();
    // Run once the user confirmed a deletion, before the record goes:
    // deletes the person's records from the store (raising to stop).
    void setOnDeletePerson(std::function<void(qint64 person)> handler) { m_onDeletePerson = std::move(handler); }

    void dataSetOpened() override;

protected:
    void addSection(TfrElhSezione *section);
    // The pages of the detail: the first comes to the front for a new record.
    void setDetailPages(QTabWidget *pages) { m_detailPages = pages; }
    // A heading whose caption holds a year ("%1"): the year of the return
    // it names, fixed for each heading.
    static void yearHeading(FieldGrid *grid, const QString &caption, int year);
    // The row of the extinct agent (SSOE7CODICE, looked up in the store's
    // table) with its note.
    void addExtinctAgent(FieldGrid *grid);

    void cdsMainNewRecord() override;
    void cdsMainBeforePost() override;
    void cdsMainBeforeDelete() override;
    void dsMainStateChange() override;
    void updateActions() override;
    void detailBuilt() override;

private:
    // The fiscal code is typed only on a new record.
    void enableCode();
    void refuseWhileSectionsEdit();
    bool sectionsEditing() const;
    void orderBy(const QString &field);

    PersonTables::Kind m_kind;
    THlmDBCds &m_store;
    CurrentPerson m_person;
    QList<TfrElhSezione *> m_sections;
    QTabWidget *m_detailPages = nullptr;
    std::function<void(qint64)> m_onDeletePerson;
};

#pragma once

#include "PersonTables.h"
#include "TfrElfBase.h"

#include <functional>
#include <utility>

// The person whose rows the section frames of a window show: his IAFIID (0
// when there is none, such as on an empty registry or a new record not yet
// saved) and his fiscal code.
struct CurrentPerson
{
    qint64 id = 0;
    QString code;
};

// A frame of one section of an employee or a self-employed worker: it shows
// the rows of the window's current person only, and a new row takes that
// person's fiscal code and IAFIID. Every confirmed row passes the
// mandatory-data check or the user's "Si"; a deletion names the section.
class TfrElhSezione : public TfrElfBase
{
    Q_OBJECT

public:
    struct Options
    {
        QString table;
        QString section;         // the name the deletion asks about
        bool uncheckNew = false; // a new row has every check box at "0"
    };

    TfrElhSezione(const Options &options, PersonTables::Kind kind, const CurrentPerson &person,
                  QWidget *parent = nullptr);

    QString tableName() const override { return m_options.table; }
    // Shows the rows of the current person.
    void showPerson();

protected:
    // The columns of the detail page, made when it is first shown.
    using Columns = std::pair<FieldGrid *, FieldGrid *>;
    void setDetail(std::function<Columns()> build);
    // Check boxes, one per month in two rows, for the fields prefix + month name.
    void monthChecks(FieldGrid *grid, const QString &caption, const QString &prefix, const QString &suffix = {});

    QString deleteQuestion() const override;
    void cdsMainNewRecord() override;
    void cdsMainBeforePost() override;
    void updateActions() override;

    const CurrentPerson &person() const { return m_person; }

private:
    Options m_options;
    PersonTables::Kind m_kind;
    const CurrentPerson &m_person;
};

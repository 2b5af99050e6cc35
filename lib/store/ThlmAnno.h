#pragma once

#include <QDate>
#include <QString>

class TdmNruParams;

// A school or financial year of the suite: its first and last day read from
// the school database, as dates and as "mm/dd/yyyy" texts for SQL, and the
// calendar year of its first day.
class ThlmAnno
{
public:
    virtual ~ThlmAnno() = default;

    int id() const { return m_id; }
    const QDate &firstDay() const { return m_first; }
    const QDate &lastDay() const { return m_last; }
    QString firstDayText() const { return m_first.toString(u"MM/dd/yyyy"); }
    QString lastDayText() const { return m_last.toString(u"MM/dd/yyyy"); }
    int year() const { return m_first.year(); }

protected:
    // Reads the year with the named statement (parameter IDANNO) through the
    // connection of the parameters module, the one created at start when
    // none is given. `what` names the kind of year in messages.
    ThlmAnno(int id, TdmNruParams *params, const QString &statement, const QString &what);

private:
    int m_id;
    QDate m_first;
    QDate m_last;
};

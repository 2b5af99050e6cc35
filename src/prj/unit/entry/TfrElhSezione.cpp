#include "TfrElhSezione.h"

#include "FieldGrid.h"
#include "TNrDBCheckBox.h"

#include <QAction>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfrElhSezione::TfrElhSezione(const Options &options, PersonTables::Kind kind, const CurrentPerson &person,
                             QWidget *parent)
    : TfrElfBase(parent)
    , m_options(options)
    , m_kind(kind)
    , m_person(person)
{
}

void TfrElhSezione::showPerson()
{
    if (!cdsMain.active())
        return;
    cdsMain.setFilter(PersonTables::personFilter(m_person.id));
    cdsMain.setFiltered(true);
    cdsMain.first();
    updateActions();
}

void TfrElhSezione::setDetail(std::function<Columns()> build)
{
    auto *layout = new QVBoxLayout(tsDetail);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(lazyPage([this, build = std::move(build)] {
        const auto [left, right] = build();
        return columnsPage(tableName(), left, right);
    }));
}

void TfrElhSezione::monthChecks(FieldGrid *grid, const QString &caption, const QString &prefix, const QString &suffix)
{
    static const char16_t *const kMonths[] = {u"Gennaio",   u"Febbraio", u"Marzo",    u"Aprile",
                                              u"Maggio",    u"Giugno",   u"Luglio",   u"Agosto",
                                              u"Settembre", u"Ottobre",  u"Novembre", u"Dicembre"};
    QList<QWidget *> checks;
    for (const char16_t *month : kMonths) {
        const QString name = QString::fromUtf16(month);
        checks.append(dbCheck(prefix + name + suffix, name.left(3)));
    }
    // Two rows of six, so that the months keep to the width of a column.
    grid->addControls(caption, checks.mid(0, 6));
    grid->addControls(QString(), checks.mid(6));
}

QString TfrElhSezione::deleteQuestion() const
{
    return u"Confermi la cancellazione della sezione \"%1\"?"_s.arg(m_options.section);
}

void TfrElhSezione::cdsMainNewRecord()
{
    if (m_options.uncheckNew)
        uncheckFlags();
}

void TfrElhSezione::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    if (cdsMain.state() == DataSetState::Insert) {
        cdsMain.fieldByName(PersonTables::registry(m_kind).codeField).setAsString(m_person.code);
        cdsMain.fieldByName(u"IAFIID"_s).setAsInteger(m_person.id);
    }
    askMandatoryCheck();
}

void TfrElhSezione::updateActions()
{
    TfrElfBase::updateActions();
    // A row belongs to somebody: none is added while no person is current.
    acInsert->setEnabled(acInsert->isEnabled() && m_person.id != 0);
}

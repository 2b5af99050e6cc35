#include "TfrElhProspetto.h"

#include "NrExceptions.h"
#include "NrMessages.h"
#include "TDataSource.h"
#include "TNrDBCheckBox.h"
#include "TNrDBDateEdit.h"
#include "TNrDBEdit.h"
#include "TNrDBLookupEdit.h"
#include "TaxCodes.h"
#include "TfmHlmRicerca.h"

#include <QFocusEvent>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Checks an edit when the user leaves it for another control of the
// program; after the message of a problem the focus goes back to the edit.
class LeaveCheck : public QObject
{
public:
    LeaveCheck(TNrDBEdit *edit, std::function<QString(const QString &)> problemOf)
        : QObject(edit)
        , m_problemOf(std::move(problemOf))
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FocusOut)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        // A widget being destroyed loses its focus too, when it is no edit any more.
        auto *edit = qobject_cast<TNrDBEdit *>(watched);
        if (!edit)
            return false;
        const QString problem = m_problemOf(edit->text());
        if (problem.isEmpty())
            return false;
        NrMessageDlg(problem, MsgDlgType::Information);
        QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
        return false;
    }

private:
    std::function<QString(const QString &)> m_problemOf;
};

} // namespace

TfrElhProspetto::TfrElhProspetto(THlmDBCds &store, const QString &gridOrder, QWidget *parent)
    : TfrElfBase(parent)
    , m_store(store)
{
    cdsMain.setIndexFieldNames(gridOrder);
}

QString TfrElhProspetto::monthProblem(const QString &text)
{
    const QString month = text.trimmed();
    if (month.isEmpty())
        return QString();
    bool number = false;
    const int value = month.toInt(&number);
    // A text that is no number is no month either.
    if (!number || value < 1 || value > 12)
        return u"Mese non valido, deve essere compreso tra 01 e 12"_s;
    if (month.size() != 2)
        return u"Il mese deve essere di 2 cifre"_s;
    return QString();
}

QString TfrElhProspetto::taxCodeProblem(const QString &text, const QString &section)
{
    const QString code = text.trimmed().toUpper();
    const TaxCodes::Section *found = TaxCodes::sectionOf(code);
    if (!found || found->code == section)
        return QString();
    const auto own = std::find_if(TaxCodes::sections().cbegin(), TaxCodes::sections().cend(),
                                  [&](const TaxCodes::Section &s) { return s.code == section; });
    return u"Codice tributo %1 non valido in questa sezione: sono ammessi i codici %2"_s.arg(code, own->named);
}

bool TfrElhProspetto::anyAmount(const ClientDataSet &dataSet, const QStringList &fields)
{
    return std::any_of(fields.cbegin(), fields.cend(),
                       [&](const QString &f) { return !dataSet.fieldByName(f).asCurrency().isZero(); });
}

QString TfrElhProspetto::datiPresentiText(bool present)
{
    return present ? u"Sì"_s : u"No"_s;
}

FormLines *TfrElhProspetto::formLines(int boxesPerRow)
{
    auto *content = new QWidget;
    auto *lines = new FormLines(boxesPerRow, content);
    lines->setContentsMargins(8, 8, 8, 8);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto *page = new QVBoxLayout(tsDetail);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);
    return lines;
}

void TfrElhProspetto::addHeader(FormLines *lines, const QString &eventsField)
{
    const QString caption = u"CODICE FISCALE DEL SOSTITUTO D'IMPOSTA  -  ESTINTO"_s;
    auto *agent = new TNrDBLookupEdit;
    agent->edit()->setUpperCase(true);
    agent->edit()->setDataSource(dsMain);
    agent->edit()->setDataField(u"SSOE7CODICE"_s);
    setCaption(u"SSOE7CODICE"_s, u"Codice fiscale del sostituto d'imposta estinto"_s);
    agent->setOnLookup(
        [this] { TfmHlmRicerca::lookupIntoField(cdsMain, u"SSOE7CODICE"_s, m_store, u"TSOE7_SOSESTINTO"_s, this); });
    lines->addHeading(caption);
    lines->addNote(u"(da compilare solo in caso di operazioni straordinarie e successioni)"_s);
    QList<FormLines::Box> boxes{{QString(), QString(), {agent}, QString()}};
    if (!eventsField.isEmpty())
        boxes.append(lookup(QString(), eventsField, u"Eventi eccezionali"_s, u"TEEC_EVENTIECCEZIONALI.cds"_s));
    lines->addLine(QString(), boxes);
}

FormLines::Box TfrElhProspetto::edit(const QString &point, const QString &field, const QString &caption)
{
    return {point, caption, {dbEdit(field, caption)}, QString()};
}

FormLines::Box TfrElhProspetto::check(const QString &point, const QString &field, const QString &caption)
{
    return {point, caption, {bareCheck(field, caption)}, QString()};
}

FormLines::Box TfrElhProspetto::date(const QString &point, const QString &field, const QString &caption)
{
    return {point, caption, {dbDate(field, caption)}, QString()};
}

FormLines::Box TfrElhProspetto::lookup(const QString &point, const QString &field, const QString &caption,
                                       const QString &referenceFile)
{
    return {point, caption, {dbLookup(field, caption, referenceFile)}, QString()};
}

QList<FormLines::Box> TfrElhProspetto::paymentBoxes(const Payment &p)
{
    const QString credits = u"Crediti di imposta utilizzati a scomputo"_s;
    FormLines::Box month{u"1"_s, u"Mese"_s, {monthEdit(p.month, u"Mese"_s)}, u"Periodo di riferimento"_s};
    FormLines::Box year{QString(), u"Anno"_s, {dbEdit(p.year, u"Anno"_s)}, QString()};
    QList<FormLines::Box> boxes{month,
                                year,
                                edit(u"2"_s, p.withheld, p.withheldCaption),
                                {u"6"_s, QString(), {dbEdit(p.credits, credits)}, credits},
                                edit(u"7"_s, p.paid, u"Importo versato"_s),
                                edit(u"8"_s, p.interest, u"Interessi"_s),
                                check(u"9"_s, p.repentance, u"Ravvedimento"_s),
                                lookup(u"10"_s, p.note, u"Note"_s, p.noteFile),
                                {u"11"_s, u"Codice tributo/Capitolo"_s, {taxCodeEdit(p.tax, p.taxSection)}, QString()}};
    if (!p.region.isEmpty())
        boxes.append(lookup(u"13"_s, p.region, u"Codice regione"_s, u"TREG_REGIONI.CDS"_s));
    boxes.append(date(u"14"_s, p.date, u"Data di versamento"_s));
    FormLines::Box suspension = lookup(u"15"_s, p.suspensionNote, u"Note"_s, p.suspensionFile);
    suspension.heading = u"Sospensione"_s;
    boxes.append(suspension);
    boxes.append(edit(u"16"_s, p.suspended, u"Importo sospeso"_s));
    return boxes;
}

TNrDBEdit *TfrElhProspetto::monthEdit(const QString &field, const QString &caption)
{
    TNrDBEdit *edit = dbEdit(field, caption);
    new LeaveCheck(edit, &TfrElhProspetto::monthProblem);
    return edit;
}

TNrDBEdit *TfrElhProspetto::taxCodeEdit(const QString &field, const QString &section)
{
    TNrDBEdit *edit = dbEdit(field, u"Codice tributo/Capitolo"_s);
    new LeaveCheck(edit, [section](const QString &text) { return taxCodeProblem(text, section); });
    m_taxCode = {field, section};
    return edit;
}

TNrDBCheckBox *TfrElhProspetto::bareCheck(const QString &field, const QString &caption)
{
    TNrDBCheckBox *box = dbCheck(field, caption);
    box->setText(QString());
    return box;
}

void TfrElhProspetto::cdsMainNewRecord()
{
    clearCheckBoxes();
}

void TfrElhProspetto::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    if (!loading()) {
        if (!m_taxCode.first.isEmpty()) {
            const QString problem = taxCodeProblem(cdsMain.fieldByName(m_taxCode.first).asString(), m_taxCode.second);
            if (!problem.isEmpty())
                throw ENrError(problem);
        }
        checkRecord();
    }
    askMandatoryCheck();
}

#pragma once

#include "FormLines.h"
#include "TfrElfBase.h"

#include <utility>

class THlmDBCds;

// The frame of a table of the Prospetti: its detail page reads as the form
// (FormLines) under the box of the extinct agent, which is looked up among
// the extinct agents of the return, and, where the prospetto has it, the box
// "Eventi eccezionali". The grid keeps the order the frame gives. A new
// record has "0" in every check box; a record confirmed by the user passes
// the frame's own checks and then the mandatory-data check, or the user's
// "Si". A month edit, and the tax code of a payment line, is checked when it
// is left; a tax code of another section is refused before the post too.
class TfrElhProspetto : public TfrElfBase
{
    Q_OBJECT

public:
    // The year of the income the return declares, and the one before.
    static constexpr int kTaxYear = 2023;
    static constexpr int kPreviousYear = kTaxYear - 1;

    // `gridOrder` is the order of the records in the grid ("" as loaded).
    TfrElhProspetto(THlmDBCds &store, const QString &gridOrder, QWidget *parent = nullptr);

    // The month check of a month edit left by the user: the message, or
    // nothing when the text is empty or a month of two digits.
    static QString monthProblem(const QString &text);
    // The check of a tax code typed into a payment line of the F24EP section
    // `section` ("E", "R", "EL"): the message naming the section's codes when
    // the code is a withholding of another section, else nothing.
    static QString taxCodeProblem(const QString &text, const QString &section);
    // Whether any of the amount fields of the current record is not zero.
    static bool anyAmount(const ClientDataSet &dataSet, const QStringList &fields);
    // The text of the grid column "Dati presenti".
    static QString datiPresentiText(bool present);

protected:
    // The lines of the detail page, in a scroll area: `boxesPerRow` boxes
    // before a line goes on in the next row.
    FormLines *formLines(int boxesPerRow);
    // The extinct agent's box and, when `eventsField` is given, "Eventi
    // eccezionali", at the top of the lines.
    void addHeader(FormLines *lines, const QString &eventsField = QString());

    // Boxes of the form bound to cdsMain.
    FormLines::Box edit(const QString &point, const QString &field, const QString &caption);
    FormLines::Box check(const QString &point, const QString &field, const QString &caption);
    FormLines::Box date(const QString &point, const QString &field, const QString &caption);
    FormLines::Box lookup(const QString &point, const QString &field, const QString &caption,
                          const QString &referenceFile);
    // The fields of a payment line (ST sections I and II, SV).
    struct Payment
    {
        QString month, year;
        QString withheld, withheldCaption; // point 2
        QString credits, paid, interest, repentance;
        QString note, noteFile;
        QString tax, taxSection; // the F24EP section of the line's codes
        QString region;          // point 13, section II only
        QString date;
        QString suspensionNote, suspensionFile, suspended;
    };
    // The boxes of a payment line, points 1 to 16 of the form.
    QList<FormLines::Box> paymentBoxes(const Payment &payment);
    // A month edit, checked when it is left.
    TNrDBEdit *monthEdit(const QString &field, const QString &caption);
    // The tax code edit of a payment line, checked when it is left and
    // before the record is posted.
    TNrDBEdit *taxCodeEdit(const QString &field, const QString &section);
    // A check box without a caption of its own (the box's caption is over it).
    TNrDBCheckBox *bareCheck(const QString &field, const QString &caption);

    void cdsMainNewRecord() override;
    void cdsMainBeforePost() override;
    // The frame's own checks of a record the user confirms; a failure raises
    // the error with its message and the post is abandoned.
    virtual void checkRecord() {}

private:
    THlmDBCds &m_store;
    std::pair<QString, QString> m_taxCode; // the field and its section
};

#include "TNrDBEdit.h"

#include "AmountFormats.h"
#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QValidator>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// What an amount can hold while it is typed.
class AmountValidator : public QValidator
{
public:
    AmountValidator(int decimals, bool negative, QObject *parent)
        : QValidator(parent)
        , m_decimals(decimals)
        , m_negative(negative)
    {
    }

    State validate(QString &input, int &pos) const override
    {
        normalise(input, pos);
        const qsizetype comma = input.indexOf(u',');
        const QStringView whole = QStringView(input).left(comma < 0 ? input.size() : comma);
        const QStringView decimals = comma < 0 ? QStringView() : QStringView(input).mid(comma + 1);
        const QStringView digits = m_negative && whole.startsWith(u'-') ? whole.mid(1) : whole;
        const auto allDigits = [](QStringView v) {
            return std::all_of(v.begin(), v.end(), [](QChar c) { return c.isDigit(); });
        };
        if (!allDigits(digits) || !allDigits(decimals) || decimals.size() > m_decimals)
            return Invalid;
        return digits.isEmpty() && decimals.isEmpty() && !input.isEmpty() ? Intermediate : Acceptable;
    }

    bool fits(int decimals, bool negative) const { return decimals == m_decimals && negative == m_negative; }

private:
    // Blanks go; a single full stop without a comma is the comma, other
    // full stops are thousands separators and go.
    static void normalise(QString &input, int &pos)
    {
        const qsizetype comma = input.indexOf(u',');
        const bool separators = comma >= 0 || input.count(u'.') > 1;
        QString kept;
        int keptPos = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            QChar c = input.at(i);
            if (c.isSpace() || (c == u'.' && separators))
                continue;
            if (c == u'.')
                c = u',';
            kept.append(c);
            if (i < pos)
                ++keptPos;
        }
        input = kept;
        pos = keptPos;
    }

    int m_decimals;
    bool m_negative;
};

} // namespace

TNrDBEdit::TNrDBEdit(QWidget *parent)
    : QLineEdit(parent)
    , TNrDBControl(this)
{
    connect(this, &QLineEdit::textEdited, this, &TNrDBEdit::onTextEdited);
}

bool TNrDBEdit::complete(const QString &input) const
{
    Q_UNUSED(input)
    return true;
}

QString TNrDBEdit::invalidMessage(const QString &input) const
{
    return u"Il valore «%1» non è valido per «%2»."_s.arg(input.trimmed(), caption());
}

QString TNrDBEdit::entryProblem(const QString &input) const
{
    const Field *f = field();
    if (!f)
        return QString();
    if (f->isText())
        return textEntryProblem(input);
    if (f->dataType() == FieldType::Decimal) {
        const QString whole = input.section(u',', 0, 0);
        const auto digits = std::count_if(whole.cbegin(), whole.cend(), [](QChar c) { return c.isDigit(); });
        if (digits > kAmountIntegerDigits)
            return u"«%1»: l'importo ha %2 cifre intere, ne sono ammesse al massimo %3."_s.arg(caption())
                .arg(digits)
                .arg(kAmountIntegerDigits);
    }
    return QString();
}

void TNrDBEdit::onTextEdited(const QString &text)
{
    const QString problem = entryProblem(text);
    if (!problem.isEmpty()) {
        const int cursor = cursorPosition() - static_cast<int>(text.size() - m_accepted.size());
        setText(m_accepted);
        setCursorPosition(std::clamp(cursor, 0, static_cast<int>(m_accepted.size())));
        showRefusal(problem);
        return;
    }
    m_accepted = text;
    if (m_upper && text != text.toUpper()) {
        const int cursor = cursorPosition();
        setText(text.toUpper());
        setCursorPosition(cursor);
        m_accepted = this->text();
    }
    const QString input = inputText();
    change([&](Field &f) { write(f, input); });
}

void TNrDBEdit::write(Field &field, const QString &input)
{
    m_pending = false;
    if (input.trimmed().isEmpty()) {
        field.clear();
        return;
    }
    if (!complete(input)) {
        m_pending = true;
        return;
    }
    try {
        field.setAsString(input);
    } catch (const EConvertError &) {
        m_pending = true;
    }
}

void TNrDBEdit::commitPending()
{
    if (!m_pending)
        return;
    const QString input = inputText();
    if (complete(input)) {
        Field *f = field();
        try {
            if (f)
                f->setAsString(input);
            m_pending = false;
            return;
        } catch (const EConvertError &) {
        }
    }
    setFocus();
    throw EConvertError(invalidMessage(input));
}

void TNrDBEdit::showText(const QString &text)
{
    setText(text);
    m_accepted = text;
    // A long name is read from its first letters, not from its end.
    if (!hasFocus())
        setCursorPosition(0);
}

void TNrDBEdit::fitToField()
{
    const Field *f = field();
    if (!f)
        return;
    // Whole numbers are codes and counts; amounts and dates take about
    // fourteen characters; long texts stop at forty.
    int characters = 14;
    if (f->isText() && f->size() > 0)
        characters = std::clamp(f->size(), 3, 40);
    else if (f->dataType() == FieldType::Integer || f->dataType() == FieldType::LargeInt)
        characters = 6;
    const QString sample = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"_s;
    const int perCharacter = fontMetrics().horizontalAdvance(sample) / static_cast<int>(sample.size());
    // Two characters more than the average: codes are mostly wide capitals.
    const auto width = [perCharacter](int count) { return perCharacter * (count + 2) + 16; };
    constexpr int kNarrowest = 20;
    m_fittedWidth = width(characters);
    // An amount gives way down to the width of the largest the return holds.
    setMinimumWidth(f->dataType() == FieldType::Decimal ? fontMetrics().horizontalAdvance(u"-9.999.999,99"_s) + 16
                                                        : width(std::min(characters, kNarrowest)));
    setMaximumWidth(m_fittedWidth);
    updateGeometry();
}

QSize TNrDBEdit::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    if (m_fittedWidth > 0)
        hint.setWidth(m_fittedWidth);
    return hint;
}

void TNrDBEdit::setNegativeAllowed(bool allowed)
{
    m_negative = allowed;
    fitValidator(field());
}

void TNrDBEdit::fitValidator(const Field *field)
{
    // A new validator only when the field's needs change.
    const QValidator *current = validator();
    // Only while typing: the display format's thousands separators are no input.
    const bool amountField = field && field->dataType() == FieldType::Decimal && hasFocus();
    const auto *amount = dynamic_cast<const AmountValidator *>(current);
    if (amountField ? amount && amount->fits(field->scale(), m_negative) : !current)
        return;
    setValidator(amountField ? new AmountValidator(field->scale(), m_negative, this) : nullptr);
    delete current;
}

void TNrDBEdit::showValue(const Field *field)
{
    m_pending = false;
    fitValidator(field);
    if (!field) {
        showText(QString());
        return;
    }
    setAlignment(field->isNumeric() ? Qt::AlignRight : Qt::AlignLeft);
    showText(hasFocus() ? field->editText() : field->displayText());
}

void TNrDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    fitValidator(field());
    if (const Field *f = field(); f && !m_pending && f->dataSet().viewCount() > 0)
        showText(f->editText());
}

void TNrDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    fitValidator(field());
    if (const Field *f = field(); f && !m_pending && f->dataSet().viewCount() > 0)
        showText(f->displayText());
}

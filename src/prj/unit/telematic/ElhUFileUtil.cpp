#include "ElhUFileUtil.h"

#include "Decimal.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "4/": the first characters; "/2": the last ones.
bool isSliceCode(const QString &info)
{
    return info.size() == 2 && ((isDigit(info[0]) && info[1] == u'/') || (info[0] == u'/' && isDigit(info[1])));
}

QString wholeNumber(Decimal d)
{
    return QString::number(d.truncated());
}

// Day, month and year cut from a dd/mm/yyyy text by position.
QString day(const QString &date)
{
    return date.mid(0, 2);
}

QString month(const QString &date)
{
    return date.mid(3, 2);
}

QString year(const QString &date)
{
    return date.mid(6, 4);
}

} // namespace

InfoPresence infoPresence(LayoutFamily family, const QString &info)
{
    const bool sourced = family != LayoutFamily::Z;
    const bool repeated = family == LayoutFamily::E || family == LayoutFamily::J;
    if (info == u"OF" || info == u"O@")
        return InfoPresence::Always;
    if (sourced && (info == u"@@" || info == u"@X"))
        return InfoPresence::WhenFilled;
    if (repeated && (info == u"T@" || info == u"TX"))
        return InfoPresence::WhenFilled;
    if (family == LayoutFamily::J && (info == u"A@" || info == u"AX" || info == u"A1"))
        return InfoPresence::WhenFilled;
    if (family == LayoutFamily::B && info == u"@1")
        return InfoPresence::Always;
    if (family == LayoutFamily::J && info.contains(u'/'))
        return InfoPresence::Always;
    return InfoPresence::Skipped;
}

std::optional<FieldValue> applyInfo(const QString &info, const FieldValue &value)
{
    if (info == u"@1")
        return value.isEmpty() ? u"0"_s : u"1"_s;
    if (isSliceCode(info)) {
        const int n = info[0] == u'/' ? info[1].digitValue() : info[0].digitValue();
        return info[0] == u'/' ? TextLib::Right(value.text(), n) : TextLib::Left(value.text(), n);
    }
    const bool truncate = info == u"T@" || info == u"TX";
    const bool round = info == u"A@" || info == u"AX" || info == u"A1";
    if ((!truncate && !round) || value.isEmpty())
        return value;
    const std::optional<Decimal> d = value.number();
    if (!d)
        return std::nullopt;
    if (truncate)
        return wholeNumber(*d);
    // A1 keeps a small amount from vanishing: it becomes one unit.
    const bool belowOne = info == u"A1" && d->truncated() == 0 && !d->isZero();
    if (*d < Decimal())
        return belowOne ? u"-1"_s : wholeNumber(*d);
    return belowOne ? u"1"_s : wholeNumber(d->rounded(0));
}

bool isZeroDate(const QString &text)
{
    return text == u"0.00.00" || text == u"30/12/1899";
}

QString FormatFieldValue(const FieldValue &field, int width, const QString &format, const QString &info, bool *cut)
{
    const auto padL = [&](const QString &text, QChar fill) {
        if (cut && text.size() > width)
            *cut = true;
        return TextLib::PadL(text, width, fill);
    };
    const auto padR = [&](const QString &text, QChar fill) {
        if (cut && text.size() > width)
            *cut = true;
        return TextLib::PadR(text, width, fill);
    };

    // An amount is written from its Decimal; the other formats take text.
    if (format == u"VP") {
        const std::optional<Decimal> amount = field.number();
        if (field.isEmpty() || (amount && amount->isZero()))
            return QString();
        return padL(amount ? amount->toString(2) : field.text(), u' ');
    }
    const QString value = field.text();
    if (format == u"AN" || format == u"CF")
        return padR(TextLib::Trim(value), kPlaceholder);
    if (format == u"AT")
        return padR(TextLib::Trim(value).remove(u'.'), kPlaceholder);
    if (format == u"PR")
        return padR(value, kPlaceholder);
    if (format == u"CN") {
        const QString trimmed = TextLib::Trim(value);
        return padR(trimmed, info == u"O@" && trimmed.isEmpty() ? u'0' : kPlaceholder);
    }
    if (format == u"CB") {
        if (value != u"0")
            return padL(u"1"_s, u' ');
        return width == 16 ? QString() : QString(width, u' ');
    }
    if (format == u"CP")
        return padL(!value.isEmpty() && value != u"0" ? u"1"_s : u"0"_s, u'0');
    if (format == u"CB12")
        return value != u"000000000000" ? padL(value, u' ') : QString(width, u' ');
    if (format == u"DT")
        return isZeroDate(value) ? QString() : padL(day(value) + month(value) + year(value), u' ');
    if (format == u"DP")
        return isZeroDate(value) ? u"00000000"_s : padL(day(value) + month(value) + year(value), u'0');
    if (format == u"D4") {
        if (isZeroDate(value))
            return QString();
        return padL(value.size() == 4 ? value : day(value) + month(value), u' ');
    }
    if (format == u"D6")
        return padL(month(value) + year(value), u' ');
    if (format == u"NF")
        return padL(value, u'0');
    if (format == u"N1" || format == u"N2")
        return padL(TextLib::StrZero(value, format == u"N1" ? 1 : 2), u' ');
    if (format == u"N3" || format == u"N5" || format == u"N6" || format == u"N10") {
        if (value.isEmpty())
            return QString();
        return padL(TextLib::StrZero(value, format.mid(1).toInt()), u' ');
    }
    if (format == u"ND")
        return padL(TextLib::Trim(value).isEmpty() ? u"0"_s : value, u' ');
    return padL(value, u' ');
}

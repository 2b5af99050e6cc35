#include "TextLib.h"

namespace TextLib {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

QString PadL(const QString &value, int width, QChar fill)
{
    if (width <= 0)
        return QString();
    if (value.size() >= width)
        return value.left(width);
    return QString(width - value.size(), fill) + value;
}

QString PadR(const QString &value, int width, QChar fill)
{
    if (width <= 0)
        return QString();
    if (value.size() >= width)
        return value.left(width);
    return value + QString(width - value.size(), fill);
}

QString StrZero(qint64 value, int digits)
{
    const bool negative = value < 0;
    const auto magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    QString s = QString::number(magnitude);
    if (s.size() < digits)
        s = QString(digits - s.size(), u'0') + s;
    return negative ? u'-' + s : s;
}

QString StrZero(const QString &value, int digits)
{
    const QString t = Trim(value);
    bool ok = false;
    const qint64 n = t.toLongLong(&ok, 10);
    if (ok)
        return StrZero(n, digits);
    return t.size() >= digits ? t : QString(digits - t.size(), u'0') + t;
}

QString TrimLeft(const QString &value)
{
    qsizetype i = 0;
    while (i < value.size() && isBlank(value[i]))
        ++i;
    return value.mid(i);
}

QString TrimRight(const QString &value)
{
    qsizetype n = value.size();
    while (n > 0 && isBlank(value[n - 1]))
        --n;
    return value.left(n);
}

QString Trim(const QString &value)
{
    return TrimLeft(TrimRight(value));
}

QString AllTrim(const QString &value)
{
    return Trim(value);
}

QString Left(const QString &value, int count)
{
    return count <= 0 ? QString() : value.left(count);
}

QString Right(const QString &value, int count)
{
    return count <= 0 ? QString() : value.right(count);
}

bool IsNumeric(const QString &value)
{
    const QString t = Trim(value);
    if (t.isEmpty())
        return false;
    for (const QChar c : t) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString QuotedStr(const QString &value)
{
    QString s = value;
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

} // namespace TextLib

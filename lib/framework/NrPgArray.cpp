#include "NrPgArray.h"

#include <QtEndian>

#include <bit>
#include <limits>

namespace {

template<typename T>
void appendBigEndian(QByteArray &to, T value)
{
    char bytes[sizeof(T)];
    qToBigEndian(value, bytes);
    to.append(bytes, sizeof(T));
}

} // namespace

NrPgArray::NrPgArray(Element element)
    : m_element(element)
{
}

bool NrPgArray::add(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        appendBigEndian<qint32>(m_items, -1);
        m_hasNull = true;
        ++m_count;
        return true;
    }
    // Only the types whose text the server would read as the same value.
    const int type = value.metaType().id();
    const bool integer = type == QMetaType::Int || type == QMetaType::LongLong;
    switch (m_element) {
    case Element::Int4:
    case Element::Int8: {
        const qlonglong n = value.toLongLong();
        if (!integer
            || (m_element == Element::Int4
                && (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())))
            return false;
        if (m_element == Element::Int4) {
            appendBigEndian<qint32>(m_items, 4);
            appendBigEndian<qint32>(m_items, static_cast<qint32>(n));
        } else {
            appendBigEndian<qint32>(m_items, 8);
            appendBigEndian<qint64>(m_items, n);
        }
        break;
    }
    case Element::Float8:
        if (!integer && type != QMetaType::Double)
            return false;
        appendBigEndian<qint32>(m_items, 8);
        appendBigEndian<quint64>(m_items, std::bit_cast<quint64>(value.toDouble()));
        break;
    case Element::Text:
    case Element::VarChar: {
        if (type != QMetaType::QString)
            return false;
        const QByteArray text = value.toString().toUtf8();
        appendBigEndian<qint32>(m_items, static_cast<qint32>(text.size()));
        m_items.append(text);
        break;
    }
    }
    ++m_count;
    return true;
}

NrPgBinary NrPgArray::binary() const
{
    // Dimensions, whether a null is among the items, their type; then the
    // length and lower bound of the one dimension, and the items.
    QByteArray out;
    out.reserve(20 + m_items.size());
    appendBigEndian<qint32>(out, m_count == 0 ? 0 : 1);
    appendBigEndian<qint32>(out, m_hasNull ? 1 : 0);
    appendBigEndian<quint32>(out, static_cast<quint32>(m_element));
    if (m_count > 0) {
        appendBigEndian<qint32>(out, m_count);
        appendBigEndian<qint32>(out, 1);
    }
    out.append(m_items);
    return {out};
}

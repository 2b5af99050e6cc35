#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QVariant>

// A value given to PostgreSQL in its type's binary form, as a statement's
// value: the server takes it without reading text.
struct NrPgBinary
{
    QByteArray bytes;
};
Q_DECLARE_METATYPE(NrPgBinary)

// A one-dimensional PostgreSQL array in binary, for one parameter: the
// server reads a thousand numbers of it much faster than their text.
class NrPgArray
{
public:
    enum class Element : quint32 { Int8 = 20, Int4 = 23, Text = 25, Float8 = 701, VarChar = 1043 };

    explicit NrPgArray(Element element);

    // False, with nothing added, for a value the element does not take as
    // it is (a number out of range, a text for a number, a number for a
    // text): the array then goes in text, where the server judges it.
    bool add(const QVariant &value);
    NrPgBinary binary() const;

private:
    Element m_element;
    QByteArray m_items;
    qint32 m_count = 0;
    bool m_hasNull = false;
};

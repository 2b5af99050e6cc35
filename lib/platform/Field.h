#pragma once

#include "Decimal.h"
#include "FieldDefs.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <functional>

class ClientDataSet;

// A field of a client dataset, read and written on the dataset's current
// record. Values convert between types with the platform's standard (Italian)
// conversion; a text that does not convert raises EConvertError. Writing
// needs the dataset in edit or insert state.
class Field
{
public:
    Field(const Field &) = delete;
    Field &operator=(const Field &) = delete;

    ClientDataSet &dataSet() const { return *m_dataSet; }
    const QString &fieldName() const { return m_name; }
    FieldType dataType() const { return m_type; }
    int size() const { return m_size; }
    // The decimals a Decimal field shows: its size, or the usual two.
    int scale() const { return m_size > 0 ? m_size : 2; }
    int index() const { return m_index; }
    bool isNumeric() const;
    bool isText() const;

    // Attributes that grids and edits use; they survive closing and reopening.
    QString displayLabel() const { return m_label.isEmpty() ? m_name : m_label; }
    void setDisplayLabel(const QString &label) { m_label = label; }
    bool visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    bool required() const { return m_required; }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    const QString &displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &mask) { m_displayFormat = mask; }
    const QString &editFormat() const { return m_editFormat; }
    void setEditFormat(const QString &mask) { m_editFormat = mask; }
    // Replaces the text shown for the value; `displayText` tells whether the
    // text is for display (true) or for editing (false).
    using GetTextHandler = std::function<QString(const Field &field, bool displayText)>;
    void setOnGetText(GetTextHandler handler) { m_onGetText = std::move(handler); }
    const GetTextHandler &onGetText() const { return m_onGetText; }

    bool isNull() const;
    // The value in the field's own type; an invalid variant for null.
    QVariant value() const;
    // The value before the record was changed (null for a new record).
    QVariant oldValue() const;

    QString asString() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    Decimal asCurrency() const;
    QDateTime asDateTime() const;
    QDate asDate() const;
    bool asBoolean() const;
    QByteArray asBytes() const;

    // The text shown in grids (display format) and in edits (edit format),
    // through the text handler when there is one.
    QString displayText() const;
    QString editText() const;
    // The text of the value formatted with the display or edit mask, without
    // the handler: what a handler builds on.
    QString formattedText(bool displayText) const;

    // Why a text entered for the field (typed, pasted, read from a data file)
    // cannot be kept as it is, in Italian after the value ("è lungo 75
    // caratteri: il campo ne ammette 60"); empty when it can. A text field
    // refuses control characters (a memo keeps line breaks and tabs) and a
    // String field more characters than its size. Storing a value still cuts
    // it to the size, as the platform does: entry points ask first.
    QString textProblem(const QString &text) const;
    // The text with each control character shown by its name ("<TAB>"), for
    // messages that quote a refused value.
    static QString visibleText(const QString &text);
    // The name a message gives a control character: "TAB", "LF", "U+001F".
    static QString controlName(QChar c);

    void clear();
    void setValue(const QVariant &value);
    void setAsString(const QString &value);
    // Stores a text that the field keeps whole; otherwise raises EConvertError
    // "il valore «…» " + the problem, and stores nothing.
    void setAsCheckedString(const QString &value);
    void setAsInteger(qint64 value);
    void setAsFloat(double value);
    void setAsCurrency(Decimal value);
    void setAsDateTime(const QDateTime &value);
    void setAsDate(const QDate &value);
    void setAsBoolean(bool value);
    void setAsBytes(const QByteArray &value);

private:
    friend class ClientDataSet;
    friend class DeltaRecord;
    Field(ClientDataSet *dataSet, const FieldDef &def, int index);

    int row() const;
    int writableRow() const;
    void changed();

    // Conversions into the field's storage, on any row, without state checks.
    void storeVariant(int row, const QVariant &value);
    void storeText(int row, const QString &value);
    void storeInteger(int row, qint64 value);
    void storeFloat(int row, double value);
    void storeDecimal(int row, Decimal value);
    void storeDateTime(int row, const QDateTime &value, bool dateOnly);
    void storeDate(int row, const QDate &value);
    void storeBool(int row, bool value);
    // The value converted to the field's canonical variant type.
    QVariant canonical(const QVariant &value) const;
    [[noreturn]] void conversionError(const QString &text, const QString &what) const;

    ClientDataSet *m_dataSet;
    QString m_name;
    FieldType m_type;
    int m_size;
    int m_index;
    QString m_label;
    bool m_visible = true;
    bool m_required = false;
    bool m_readOnly = false;
    QString m_displayFormat;
    QString m_editFormat;
    GetTextHandler m_onGetText;
};

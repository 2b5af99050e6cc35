#include "TNrDBMemo.h"

#include "Field.h"

TNrDBMemo::TNrDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
    , TNrDBControl(this)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_showing)
            return;
        const QString text = toPlainText();
        change([&](Field &f) { f.setAsString(text); });
    });
}

void TNrDBMemo::showValue(const Field *field)
{
    m_showing = true;
    setPlainText(field ? field->asString() : QString());
    m_showing = false;
}

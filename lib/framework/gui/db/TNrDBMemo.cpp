#include "TNrDBMemo.h"

#include "Field.h"

#include <QTextCursor>

#include <algorithm>

TNrDBMemo::TNrDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
    , TNrDBControl(this)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_showing)
            return;
        const QString text = toPlainText();
        const QString problem = textEntryProblem(text);
        if (!problem.isEmpty()) {
            const int cursor = textCursor().position() - static_cast<int>(text.size() - m_accepted.size());
            showPlainText(m_accepted);
            QTextCursor at = textCursor();
            at.setPosition(std::clamp(cursor, 0, static_cast<int>(m_accepted.size())));
            setTextCursor(at);
            showRefusal(problem);
            return;
        }
        m_accepted = text;
        change([&](Field &f) { f.setAsString(text); });
    });
}

void TNrDBMemo::showValue(const Field *field)
{
    showPlainText(field ? field->asString() : QString());
}

void TNrDBMemo::showPlainText(const QString &text)
{
    m_showing = true;
    setPlainText(text);
    m_accepted = text;
    m_showing = false;
}

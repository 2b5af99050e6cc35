#include "TNrDBDateEdit.h"

using namespace Qt::Literals::StringLiterals;

TNrDBDateEdit::TNrDBDateEdit(QWidget *parent)
    : TNrDBEdit(parent)
{
    setInputMask(u"99/99/9999;_"_s);
}

void TNrDBDateEdit::showText(const QString &text)
{
    TNrDBEdit::showText(text);
    // Typing into an empty mask starts from the day.
    if (text.isEmpty())
        setCursorPosition(0);
}

QString TNrDBDateEdit::inputText() const
{
    // The mask's separators alone stand for an empty date.
    const QString typed = text();
    return QString(typed).remove(u'/').trimmed().isEmpty() ? QString() : typed.simplified().remove(u' ');
}

bool TNrDBDateEdit::complete(const QString &input) const
{
    return QString(input).remove(u'/').size() == 8;
}

QString TNrDBDateEdit::invalidMessage(const QString &input) const
{
    return u"La data «%1» non è valida per «%2»: scriverla come gg/mm/aaaa."_s.arg(input, caption());
}

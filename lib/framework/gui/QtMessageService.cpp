#include "QtMessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

QMessageBox::Icon iconOf(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning:
        return QMessageBox::Warning;
    case MsgDlgType::Error:
        return QMessageBox::Critical;
    case MsgDlgType::Information:
        return QMessageBox::Information;
    case MsgDlgType::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice
{
    MsgDlgBtn button;
    const char16_t *caption;
    QMessageBox::ButtonRole role;
    ModalResult result;
};

constexpr ButtonChoice kButtons[] = {
    {MsgDlgBtn::Yes, u"Sì", QMessageBox::YesRole, ModalResult::Yes},
    {MsgDlgBtn::No, u"No", QMessageBox::NoRole, ModalResult::No},
    {MsgDlgBtn::OK, u"OK", QMessageBox::AcceptRole, ModalResult::Ok},
    {MsgDlgBtn::Cancel, u"Annulla", QMessageBox::RejectRole, ModalResult::Cancel},
};

} // namespace

ModalResult TNrQtMessageService::show(const MessageRequest &request)
{
    const QString caption = request.caption.isEmpty() ? QApplication::applicationDisplayName() : request.caption;
    QString text = request.text;
    text.replace(u"\r\n"_s, u"\n"_s);
    QMessageBox box(iconOf(request.type), caption, text, QMessageBox::NoButton, QApplication::activeWindow());

    QList<std::pair<QAbstractButton *, ModalResult>> answers;
    QAbstractButton *escape = nullptr;
    for (const ButtonChoice &choice : kButtons) {
        if (!request.buttons.testFlag(choice.button))
            continue;
        QPushButton *b = box.addButton(QString::fromUtf16(choice.caption), choice.role);
        if (answers.isEmpty())
            box.setDefaultButton(b);
        answers.append({b, choice.result});
        // Escape answers No, Cancel or OK, the first of them the box offers.
        if (!escape && choice.button != MsgDlgBtn::Yes)
            escape = b;
    }
    if (answers.isEmpty()) {
        QPushButton *ok = box.addButton(u"OK"_s, QMessageBox::AcceptRole);
        answers.append({ok, ModalResult::Ok});
        escape = ok;
    }
    box.setEscapeButton(escape);

    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();

    for (const auto &[button, result] : answers) {
        if (box.clickedButton() == button)
            return result;
    }
    return ModalResult::None;
}

#include "NrMessages.h"

#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

MessageService *g_service = nullptr;

bool offers(MsgDlgButtons buttons, ModalResult answer)
{
    switch (answer) {
    case ModalResult::Ok:
        return buttons.testFlag(MsgDlgBtn::OK);
    case ModalResult::Cancel:
        return buttons.testFlag(MsgDlgBtn::Cancel);
    case ModalResult::Yes:
        return buttons.testFlag(MsgDlgBtn::Yes);
    case ModalResult::No:
        return buttons.testFlag(MsgDlgBtn::No);
    case ModalResult::None:
        break;
    }
    return false;
}

} // namespace

void setMessageService(MessageService *service)
{
    g_service = service;
}

MessageService *messageService()
{
    return g_service;
}

QString messageTypeLabel(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning:
        return u"Attenzione"_s;
    case MsgDlgType::Error:
        return u"Errore"_s;
    case MsgDlgType::Information:
        return u"Informazione"_s;
    case MsgDlgType::Confirmation:
        return u"Conferma"_s;
    }
    return QString();
}

ModalResult firstButton(MsgDlgButtons buttons)
{
    if (buttons.testFlag(MsgDlgBtn::Yes))
        return ModalResult::Yes;
    if (buttons.testFlag(MsgDlgBtn::No))
        return ModalResult::No;
    if (buttons.testFlag(MsgDlgBtn::OK))
        return ModalResult::Ok;
    if (buttons.testFlag(MsgDlgBtn::Cancel))
        return ModalResult::Cancel;
    return ModalResult::None;
}

ModalResult NrMessageBox(const QString &text, const QString &caption, MsgDlgType type, MsgDlgButtons buttons)
{
    const MessageRequest request{text, caption, type, buttons};
    if (g_service)
        return g_service->show(request);
    QTextStream(stderr) << messageTypeLabel(type) << u": "_s << text << Qt::endl;
    return firstButton(buttons);
}

ModalResult NrMessageDlg(const QString &text, MsgDlgType type, MsgDlgButtons buttons)
{
    return NrMessageBox(text, QString(), type, buttons);
}

void FindingBoxes::report(const Finding &finding)
{
    switch (finding.level) {
    case FindingLevel::Error:
        NrMessageDlg(finding.text, MsgDlgType::Error);
        return;
    case FindingLevel::Warning:
        NrMessageDlg(finding.text, MsgDlgType::Warning);
        return;
    case FindingLevel::Information:
        NrMessageDlg(finding.text, MsgDlgType::Information);
        return;
    }
}

bool askYesNo(const QString &question)
{
    return NrMessageDlg(question, MsgDlgType::Confirmation, MsgDlgBtn::Yes | MsgDlgBtn::No) == ModalResult::Yes;
}

ModalResult ScriptedMessageService::show(const MessageRequest &request)
{
    m_messages.append(request);
    if (m_echo)
        m_echo(request);
    ModalResult answer = m_default;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    return offers(request.buttons, answer) ? answer : firstButton(request.buttons);
}

QStringList ScriptedMessageService::texts() const
{
    QStringList out;
    for (const auto &m : m_messages)
        out.append(m.text);
    return out;
}

MessageServiceScope::MessageServiceScope(MessageService *service)
    : m_previous(messageService())
{
    setMessageService(service);
}

MessageServiceScope::~MessageServiceScope()
{
    setMessageService(m_previous);
}

#pragma once

#include "NrFindings.h"

#include <QFlags>
#include <QList>
#include <QString>

#include <deque>
#include <functional>

// Modal message boxes. Core code asks through NrMessageDlg and NrMessageBox;
// the program installs the service that shows them: message boxes on the
// desktop, the terminal on the command line, a script in tests.

enum class MsgDlgType { Warning, Error, Information, Confirmation };

enum class MsgDlgBtn { Yes = 0x1, No = 0x2, OK = 0x4, Cancel = 0x8 };
Q_DECLARE_FLAGS(MsgDlgButtons, MsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(MsgDlgButtons)

enum class ModalResult { None, Ok, Cancel, Yes, No };

struct MessageRequest
{
    QString text;
    QString caption; // empty: the application's title
    MsgDlgType type = MsgDlgType::Information;
    MsgDlgButtons buttons = MsgDlgBtn::OK;
};

class MessageService
{
public:
    virtual ~MessageService() = default;
    virtual ModalResult show(const MessageRequest &request) = 0;
};

// The installed service; the program owns it. Without one, messages go to
// the standard error and every question is answered with its first button.
void setMessageService(MessageService *service);
MessageService *messageService();

ModalResult NrMessageDlg(const QString &text, MsgDlgType type, MsgDlgButtons buttons = MsgDlgBtn::OK);
ModalResult NrMessageBox(const QString &text, const QString &caption, MsgDlgType type,
                         MsgDlgButtons buttons = MsgDlgBtn::OK);

// Shows each finding of the core at once, in a message box of its kind.
class FindingBoxes : public FindingSink
{
public:
    void report(const Finding &finding) override;
};

// A question of the core, in a box with the buttons Yes and No: true for Yes.
bool askYesNo(const QString &question);

// The label of a kind of message: "Errore", "Attenzione", "Informazione", "Conferma".
QString messageTypeLabel(MsgDlgType type);
// The first of the buttons in the order Yes, No, OK, Cancel.
ModalResult firstButton(MsgDlgButtons buttons);

// Records every message and answers from a script: the queued answers first,
// then the default answer. An answer the box does not offer becomes its first
// button. An optional echo sees each message (the command line prints it).
class ScriptedMessageService : public MessageService
{
public:
    ModalResult show(const MessageRequest &request) override;

    void enqueue(ModalResult answer) { m_answers.push_back(answer); }
    void setDefaultAnswer(ModalResult answer) { m_default = answer; }
    void setEcho(std::function<void(const MessageRequest &)> echo) { m_echo = std::move(echo); }

    const QList<MessageRequest> &messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    QList<MessageRequest> m_messages;
    std::deque<ModalResult> m_answers;
    ModalResult m_default = ModalResult::None;
    std::function<void(const MessageRequest &)> m_echo;
};

// Installs a service for the lifetime of the guard, then restores the previous one.
class MessageServiceScope
{
public:
    explicit MessageServiceScope(MessageService *service);
    ~MessageServiceScope();
    MessageServiceScope(const MessageServiceScope &) = delete;
    MessageServiceScope &operator=(const MessageServiceScope &) = delete;

private:
    MessageService *m_previous;
};

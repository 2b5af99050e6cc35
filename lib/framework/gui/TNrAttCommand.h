#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>

struct TNrApgPage;
class TdmNrAttivazioni;

// A command of the command table, shown as an entry of its page on the bar
// (none for commands reached only from menus). Its kinds create a window,
// open a document or run a handler.
class TNrAttCommand
{
public:
    using BeforeExecuteEvent = std::function<void(TNrAttCommand &sender, bool &allow)>;
    using NotifyEvent = std::function<void(TNrAttCommand &sender)>;

    virtual ~TNrAttCommand() = default;
    TNrAttCommand(const TNrAttCommand &) = delete;
    TNrAttCommand &operator=(const TNrAttCommand &) = delete;

    TdmNrAttivazioni &owner() const { return *m_owner; }

    // Runs the command. BeforeExecute vetoes it by clearing its flag (or with
    // a silent abort); AfterExecute follows a run that went through.
    void Execute();

    QString name;
    TNrApgPage *ParentPage = nullptr;
    int Order = 0;
    QString Caption;
    bool Visible = true;
    bool Enabled = true;
    QKeySequence ShortCut;
    BeforeExecuteEvent BeforeExecute;
    NotifyEvent AfterExecute;

protected:
    explicit TNrAttCommand(TdmNrAttivazioni *owner)
        : m_owner(owner)
    {
    }
    // The command's own work; false when it could not be done (the reason
    // was already shown).
    virtual bool run() = 0;

private:
    TdmNrAttivazioni *m_owner;
};

#pragma once

#include "TNrApgPage.h"
#include "TNrAttComponent.h"
#include "TNrAttForm.h"
#include "TNrAttShell.h"
#include "TNrOutlookBar.h"

#include <QMenu>
#include <QPointer>

#include <memory>
#include <vector>

class TfmNrMDIMain;

// The command table: the pages and commands of the main window's bar and
// menus, declared by a program's subclass. SetContainer gives it the bar;
// Execute starts it, showing one bar page (and one menu) per visible page by
// Order and one entry per visible command, by Order or sorted by caption.
class TdmNrAttivazioni
{
public:
    TdmNrAttivazioni();
    virtual ~TdmNrAttivazioni();
    TdmNrAttivazioni(const TdmNrAttivazioni &) = delete;
    TdmNrAttivazioni &operator=(const TdmNrAttivazioni &) = delete;

    // The main window that form commands open their windows in.
    void setMainWindow(TfmNrMDIMain *window) { m_mainWindow = window; }
    TfmNrMDIMain *mainWindow() const { return m_mainWindow; }

    void SetContainer(TNrOutlookBar *bar) { m_bar = bar; }
    virtual void Execute();

    const std::vector<std::unique_ptr<TNrApgPage>> &pages() const { return m_pages; }
    const std::vector<std::unique_ptr<TNrAttCommand>> &commands() const { return m_commands; }
    // Null when there is no command of that name.
    TNrAttCommand *command(const QString &name) const;

protected:
    TNrApgPage *addPage(const QString &name, const QString &caption, int order, bool sorted, bool visible);
    TNrAttForm *addForm(const QString &name, TNrApgPage *page, int order, const QString &caption,
                        const QString &classeForm);
    TNrAttShell *addShell(const QString &name, int order, const QString &caption, const QString &fileName);
    TNrAttComponent *addComponent(const QString &name, TNrApgPage *page, int order, const QString &caption);

private:
    template<class T>
    T *add(const QString &name, TNrApgPage *page, int order, const QString &caption);
    std::vector<TNrAttCommand *> shownCommands(const TNrApgPage &page) const;

    std::vector<std::unique_ptr<TNrApgPage>> m_pages;
    std::vector<std::unique_ptr<TNrAttCommand>> m_commands;
    TfmNrMDIMain *m_mainWindow = nullptr;
    QPointer<TNrOutlookBar> m_bar;
    std::vector<QPointer<QMenu>> m_menus;
};

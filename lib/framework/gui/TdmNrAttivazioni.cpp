#include "TdmNrAttivazioni.h"

#include "NrApplication.h"
#include "TNrOutlookBar.h"
#include "TfmNrMDIMain.h"

#include <QCollator>
#include <QMenu>

#include <algorithm>

TdmNrAttivazioni::TdmNrAttivazioni() = default;

TdmNrAttivazioni::~TdmNrAttivazioni()
{
    for (const QPointer<QMenu> &menu : m_menus)
        delete menu.data();
}

TNrAttCommand *TdmNrAttivazioni::command(const QString &name) const
{
    for (const auto &c : m_commands) {
        if (c->name == name)
            return c.get();
    }
    return nullptr;
}

TNrApgPage *TdmNrAttivazioni::addPage(const QString &name, const QString &caption, int order, bool sorted, bool visible)
{
    auto page = std::make_unique<TNrApgPage>();
    page->name = name;
    page->Caption = caption;
    page->Order = order;
    page->Sorted = sorted;
    page->Visible = visible;
    m_pages.push_back(std::move(page));
    return m_pages.back().get();
}

template<class T>
T *TdmNrAttivazioni::add(const QString &name, TNrApgPage *page, int order, const QString &caption)
{
    auto command = std::make_unique<T>(this);
    command->name = name;
    command->ParentPage = page;
    command->Order = order;
    command->Caption = caption;
    T *added = command.get();
    m_commands.push_back(std::move(command));
    return added;
}

TNrAttForm *TdmNrAttivazioni::addForm(const QString &name, TNrApgPage *page, int order, const QString &caption,
                                      const QString &classeForm)
{
    TNrAttForm *form = add<TNrAttForm>(name, page, order, caption);
    form->ClasseForm = classeForm;
    return form;
}

TNrAttShell *TdmNrAttivazioni::addShell(const QString &name, int order, const QString &caption, const QString &fileName)
{
    TNrAttShell *shell = add<TNrAttShell>(name, nullptr, order, caption);
    shell->FileName = fileName;
    return shell;
}

TNrAttComponent *TdmNrAttivazioni::addComponent(const QString &name, TNrApgPage *page, int order,
                                                const QString &caption)
{
    return add<TNrAttComponent>(name, page, order, caption);
}

std::vector<TNrAttCommand *> TdmNrAttivazioni::shownCommands(const TNrApgPage &page) const
{
    std::vector<TNrAttCommand *> shown;
    for (const auto &c : m_commands) {
        if (c->ParentPage == &page && c->Visible)
            shown.push_back(c.get());
    }
    if (page.Sorted) {
        QCollator collator(QLocale(QLocale::Italian, QLocale::Italy));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(shown.begin(), shown.end(), [&](const TNrAttCommand *a, const TNrAttCommand *b) {
            return collator.compare(a->Caption, b->Caption) < 0;
        });
    } else {
        std::stable_sort(shown.begin(), shown.end(),
                         [](const TNrAttCommand *a, const TNrAttCommand *b) { return a->Order < b->Order; });
    }
    return shown;
}

void TdmNrAttivazioni::Execute()
{
    std::vector<TNrApgPage *> pages;
    for (const auto &p : m_pages) {
        if (p->Visible)
            pages.push_back(p.get());
    }
    std::stable_sort(pages.begin(), pages.end(),
                     [](const TNrApgPage *a, const TNrApgPage *b) { return a->Order < b->Order; });

    if (m_bar)
        m_bar->clear();
    for (const QPointer<QMenu> &menu : m_menus)
        delete menu.data();
    m_menus.clear();

    for (TNrApgPage *page : pages) {
        const std::vector<TNrAttCommand *> shown = shownCommands(*page);
        const int barPage = m_bar ? m_bar->addPage(page->Caption, page->Enabled) : -1;
        QMenu *menu = page->InMenu && m_mainWindow ? m_mainWindow->addCommandMenu(page->Caption) : nullptr;
        if (menu) {
            menu->setEnabled(page->Enabled);
            m_menus.emplace_back(menu);
        }
        for (TNrAttCommand *c : shown) {
            auto run = [c] { NrRunGuarded([c] { c->Execute(); }); };
            if (m_bar)
                m_bar->addEntry(barPage, c->Caption, c->Enabled, run);
            if (menu) {
                QAction *item = menu->addAction(c->Caption, run);
                item->setEnabled(c->Enabled);
                item->setShortcut(c->ShortCut);
            }
        }
    }
}

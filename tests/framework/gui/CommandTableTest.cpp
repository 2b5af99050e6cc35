#include "Exceptions.h"
#include "NrFormRegistry.h"
#include "NrMessages.h"
#include "QtPrinters.h"
#include "TNrOutlookBar.h"
#include "TdmNrAttivazioni.h"
#include "TfmNrMDIMain.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A command table as a program declares one.
class Table : public TdmNrAttivazioni
{
public:
    Table()
    {
        first = addPage(u"xpgFirst"_s, u"Prima"_s, 10, false, true);
        sorted = addPage(u"xpgSorted"_s, u"Ordinata"_s, 5, true, true);
        hidden = addPage(u"xpgHidden"_s, u"Nascosta"_s, 1, false, false);
        open = addForm(u"xafOpen"_s, first, 2, u"Apri"_s, u"TfmTestChild"_s);
        modal = addForm(u"xafModal"_s, first, 1, u"Dialogo"_s, u"TfmTestDialog"_s);
        modal->ModalForm = true;
        missing = addForm(u"xafMissing"_s, first, 3, u"Prospetto ST"_s, u"TfmNonRegistrata"_s);
        invisible = addComponent(u"xacInvisible"_s, first, 0, u"Invisibile"_s);
        invisible->Visible = false;
        disabled = addComponent(u"xacDisabled"_s, first, 4, u"Spento"_s);
        disabled->Enabled = false;
        for (const auto &[order, caption] : {std::pair{3, u"Zeta"_s}, {1, u"alfa"_s}, {2, u"Beta"_s}})
            addComponent(u"xac"_s + caption, sorted, order, caption);
        addComponent(u"xacHidden"_s, hidden, 0, u"In pagina nascosta"_s);
    }

    TNrApgPage *first, *sorted, *hidden;
    TNrAttForm *open, *modal, *missing;
    TNrAttComponent *invisible, *disabled;
};

struct CommandTable : ::testing::Test
{
    static void SetUpTestSuite()
    {
        NrFormRegistry::registerClass(u"TfmTestChild"_s, [](QWidget *) {
            auto *w = new QWidget;
            w->setWindowTitle(u"Figlia"_s);
            return w;
        });
        NrFormRegistry::registerClass(u"TfmTestDialog"_s, [](QWidget *parent) { return new QDialog(parent); });
    }

    void SetUp() override
    {
        table.setMainWindow(&main);
        table.SetContainer(main.outlookBar());
        main.show();
    }

    QStringList menuTitles() const
    {
        QStringList titles;
        for (QAction *a : main.menuBar()->actions())
            titles.append(a->text());
        return titles;
    }

    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};
    TfmNrMDIMain main;
    Table table;
};

} // namespace

TEST_F(CommandTable, ShowsVisiblePagesByOrderAndTheirCommandsByOrderOrCaption)
{
    table.Execute();
    TNrOutlookBar *bar = main.outlookBar();
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->itemText(0), u"Ordinata"_s);
    EXPECT_EQ(bar->itemText(1), u"Prima"_s);
    EXPECT_EQ(bar->entryCaptions(0), (QStringList{u"alfa"_s, u"Beta"_s, u"Zeta"_s}));
    EXPECT_EQ(bar->entryCaptions(1), (QStringList{u"Dialogo"_s, u"Apri"_s, u"Prospetto ST"_s, u"Spento"_s}));
    EXPECT_FALSE(bar->entry(u"Prima"_s, u"Spento"_s)->isEnabled());
    // Pages are also menus, before Finestra, each with an Alt letter of its own; a second start does not repeat them.
    table.Execute();
    EXPECT_EQ(menuTitles(), (QStringList{u"&File"_s, u"&Ordinata"_s, u"&Prima"_s, u"Fi&nestra"_s, u"&?"_s}));
    EXPECT_EQ(bar->count(), 2);
}

TEST_F(CommandTable, AFormCommandOpensOneChildWindowOfItsClassAndAModalOneADialogThatIsGoneAfterwards)
{
    QList<QWidget *> initialized;
    table.open->OnInizializedForm = [&](TNrAttForm &, QWidget *form) { initialized.append(form); };
    int after = 0;
    table.open->AfterExecute = [&](TNrAttCommand &) { ++after; };
    table.Execute();
    QTest::mouseClick(main.outlookBar()->entry(u"Prima"_s, u"Apri"_s), Qt::LeftButton);
    ASSERT_EQ(main.childForms().size(), 1);
    EXPECT_EQ(initialized, main.childForms());
    EXPECT_EQ(main.findChildForm(u"TfmTestChild"_s), main.childForms().first());
    table.open->Execute();
    EXPECT_EQ(main.childForms().size(), 1);
    EXPECT_EQ(after, 2);
    main.mdiArea()->closeAllSubWindows();
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.childForms().isEmpty(); }));

    QPointer<QDialog> shown;
    bool appeared = false;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        appeared = !shown.isNull();
        if (shown)
            shown->reject();
    });
    table.modal->Execute();
    EXPECT_TRUE(appeared);
    EXPECT_TRUE(shown.isNull()) << "the dialog outlived its command";
    EXPECT_TRUE(main.childForms().isEmpty());
}

TEST_F(CommandTable, AVetoOrAMissingWindowClassRunsNothingAfterwards)
{
    int after = 0;
    for (TNrAttForm *form : {table.open, table.missing})
        form->AfterExecute = [&](TNrAttCommand &) { ++after; };
    table.open->BeforeExecute = [](TNrAttCommand &, bool &allow) { allow = false; };
    table.open->Execute();
    table.open->BeforeExecute = [](TNrAttCommand &, bool &) { Abort(); };
    EXPECT_THROW(table.open->Execute(), EAbort);
    EXPECT_TRUE(messages.messages().isEmpty());

    table.missing->Execute();
    EXPECT_EQ(messages.texts(),
              QStringList{u"La finestra «Prospetto ST» non è ancora disponibile in questa versione del programma."_s});
    EXPECT_TRUE(main.childForms().isEmpty());
    EXPECT_EQ(after, 0);
}

#include "Exceptions.h"
#include "NrApplication.h"
#include "NrBusyWait.h"
#include "NrConnection.h"
#include "NrMessages.h"
#include "QtMessageService.h"
#include "QtPrinters.h"
#include "TNrBusyWaitDialog.h"
#include "TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Answers the next message box by clicking the button with that caption,
// after noting what the box showed.
struct BoxAnswer
{
    QStringList buttons;
    QString text;
    QString defaultButton;
};

void answerNextBox(const QString &click, BoxAnswer &seen)
{
    QTimer::singleShot(0, [click, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.text = box->text();
        for (QAbstractButton *b : box->buttons())
            seen.buttons.append(b->text());
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == click)
                b->click();
        }
    });
}

} // namespace

TEST(NrMessages, AScriptAnswersInOrderThenWithItsDefaultAndItsScopeRestoresTheServiceBefore)
{
    ScriptedMessageService outer;
    const MessageServiceScope outerScope(&outer);
    {
        ScriptedMessageService script;
        QStringList echoed;
        script.setEcho(
            [&echoed](const MessageRequest &m) { echoed.append(messageTypeLabel(m.type) + u": "_s + m.text); });
        const MessageServiceScope scope(&script);
        script.enqueue(ModalResult::Yes);
        script.setDefaultAnswer(ModalResult::No);
        const MsgDlgButtons yesNo = MsgDlgBtn::Yes | MsgDlgBtn::No;
        EXPECT_EQ(NrMessageDlg(u"Prima?"_s, MsgDlgType::Confirmation, yesNo), ModalResult::Yes);
        EXPECT_EQ(NrMessageDlg(u"Seconda?"_s, MsgDlgType::Confirmation, yesNo), ModalResult::No);
        // An answer the box does not offer becomes its first button.
        EXPECT_EQ(NrMessageDlg(u"Errore grave"_s, MsgDlgType::Error), ModalResult::Ok);
        EXPECT_EQ(echoed, (QStringList{u"Conferma: Prima?"_s, u"Conferma: Seconda?"_s, u"Errore: Errore grave"_s}));
        // Without a service the first button answers.
        const MessageServiceScope none(nullptr);
        EXPECT_EQ(NrMessageDlg(u"?"_s, MsgDlgType::Confirmation, MsgDlgBtn::No | MsgDlgBtn::Cancel), ModalResult::No);
    }
    EXPECT_EQ(messageService(), &outer);
    EXPECT_TRUE(outer.messages().isEmpty());
}

TEST(QtMessageService, AsksWithItalianButtonsAndGivesTheAnswer)
{
    TNrQtMessageService service;
    MessageServiceScope scope(&service);
    BoxAnswer seen;
    answerNextBox(u"No"_s, seen);
    const ModalResult answer = NrMessageDlg(u"Confermi la cancellazione?\r\nLa riga sparirà."_s, MsgDlgType::Warning,
                                            MsgDlgBtn::Yes | MsgDlgBtn::No);
    EXPECT_EQ(answer, ModalResult::No);
    EXPECT_EQ(seen.buttons, (QStringList{u"Sì"_s, u"No"_s}));
    EXPECT_EQ(seen.defaultButton, u"Sì"_s);
    EXPECT_EQ(seen.text, u"Confermi la cancellazione?\nLa riga sparirà."_s);

    BoxAnswer second;
    answerNextBox(u"Annulla"_s, second);
    EXPECT_EQ(NrMessageDlg(u"Salvare?"_s, MsgDlgType::Confirmation, MsgDlgBtn::OK | MsgDlgBtn::Cancel),
              ModalResult::Cancel);
    EXPECT_EQ(second.buttons, (QStringList{u"OK"_s, u"Annulla"_s}));
}

TEST(NrRunGuarded, ShowsAnErrorAndStaysSilentOnAnAbort)
{
    ScriptedMessageService messages;
    MessageServiceScope scope(&messages);
    EXPECT_TRUE(NrRunGuarded([] {}));
    EXPECT_FALSE(NrRunGuarded([] { Abort(); }));
    EXPECT_FALSE(NrRunGuarded([] { throw EInOutError(u"Impossibile leggere il file"_s); }));
    EXPECT_EQ(messages.texts(), QStringList{u"Impossibile leggere il file"_s});
    EXPECT_EQ(messages.messages().first().type, MsgDlgType::Error);
}

TEST(BusyWait, TheDesktopWaitsForABusyDatabaseInAWindowThatAnnullaEnds)
{
    TempDir dir;
    const QString file = dir.file(u"kbr.sqlite"_s);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"altro-programma"_s);
        other.setDatabaseName(file);
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec(u"CREATE TABLE T (I INTEGER)"_s);
        ASSERT_TRUE(QSqlQuery(other).exec(u"BEGIN EXCLUSIVE"_s));
    }
    TdmNrConnection connection;
    connection.DataModuleCreate();
    connection.setSettings({u"QSQLITE"_s, file, {}, 0, {}, 30});
    ASSERT_TRUE(connection.OpenConnection());
    TNrBusyWaitDialog wait;
    BusyWaitScope scope(&wait);
    QString shown;
    QTimer::singleShot(300, [&] {
        shown = wait.isVisible() ? wait.findChild<QLabel *>()->text() : QString();
        for (QPushButton *b : wait.findChildren<QPushButton *>()) {
            if (b->text() == u"Annulla")
                b->click();
        }
    });
    QSqlQuery q(connection.database());
    EXPECT_FALSE(q.exec(u"SELECT COUNT(*) FROM T"_s));
    EXPECT_EQ(shown, u"Il database «%1» è in uso da un altro programma: attendo al massimo 30 secondi…"_s.arg(file));
    EXPECT_TRUE(
        connection.errorText(q.lastError()).contains(u"è in uso da un altro programma e l'attesa è stata annullata"_s));
    QTest::qWait(500);
    EXPECT_FALSE(wait.isVisible());
    connection.CloseConnection();
    QSqlDatabase::removeDatabase(u"altro-programma"_s);
}

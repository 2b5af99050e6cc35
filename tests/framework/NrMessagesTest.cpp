#include "NrMessages.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(NrMessages, AScriptAnswersInOrderThenWithItsDefault)
{
    ScriptedMessageService script;
    MessageServiceScope scope(&script);
    script.enqueue(ModalResult::Yes);
    script.enqueue(ModalResult::No);
    script.setDefaultAnswer(ModalResult::No);
    const MsgDlgButtons yesNo = MsgDlgBtn::Yes | MsgDlgBtn::No;
    EXPECT_EQ(NrMessageDlg(u"Prima?"_s, MsgDlgType::Confirmation, yesNo), ModalResult::Yes);
    EXPECT_EQ(NrMessageDlg(u"Seconda?"_s, MsgDlgType::Confirmation, yesNo), ModalResult::No);
    EXPECT_EQ(NrMessageDlg(u"Terza?"_s, MsgDlgType::Confirmation, yesNo), ModalResult::No);
    // An answer the box does not offer becomes its first button.
    EXPECT_EQ(NrMessageBox(u"Attenzione!"_s, u"Titolo"_s, MsgDlgType::Warning), ModalResult::Ok);
    EXPECT_EQ(script.texts(), (QStringList{u"Prima?"_s, u"Seconda?"_s, u"Terza?"_s, u"Attenzione!"_s}));
    EXPECT_EQ(script.messages()[3].caption, u"Titolo"_s);
    EXPECT_EQ(script.messages()[3].type, MsgDlgType::Warning);

    // Without a service the first button answers.
    MessageServiceScope none(nullptr);
    EXPECT_EQ(NrMessageDlg(u"?"_s, MsgDlgType::Confirmation, MsgDlgBtn::No | MsgDlgBtn::Cancel), ModalResult::No);
}

TEST(NrMessages, TheEchoSeesEveryMessageAndTheScopeRestoresTheService)
{
    ScriptedMessageService outer;
    MessageServiceScope outerScope(&outer);
    {
        ScriptedMessageService inner;
        QStringList echoed;
        inner.setEcho(
            [&echoed](const MessageRequest &m) { echoed.append(messageTypeLabel(m.type) + u": "_s + m.text); });
        MessageServiceScope innerScope(&inner);
        NrMessageDlg(u"Errore grave"_s, MsgDlgType::Error);
        EXPECT_EQ(echoed, QStringList{u"Errore: Errore grave"_s});
    }
    EXPECT_EQ(messageService(), &outer);
    NrMessageDlg(u"Dopo"_s, MsgDlgType::Information);
    EXPECT_EQ(outer.texts(), QStringList{u"Dopo"_s});
}

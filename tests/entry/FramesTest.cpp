#include "EntryTestSupport.h"
#include "NrMessages.h"
#include "QtPrinters.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBRadioGroup.h"
#include "TfrElhSosEst.h"
#include "TfrElhSostituto.h"

#include <QAbstractButton>
#include <QAction>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

const QByteArray kTwoExtinctAgents = R"({"records": [
    {"IFISRIGO": 1, "CODICE": "80001230123", "DENOMINAZI0NE": "DIREZIONE DIDATTICA PRIMO CIRCOLO"},
    {"IFISRIGO": 2, "CODICE": "80004560456", "DENOMINAZI0NE": "SCUOLA MEDIA STATALE DANTE"}]})";

struct Frames : ::testing::Test
{
    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};
    ScriptedInfoList infoList;
};

} // namespace

TEST_F(Frames, CtrlEnterConfirmsACheckedRecordAndTheWindowSavesAtOnce)
{
    TfrElhSosEst frame;
    int saves = 0;
    frame.setAfterPost([&] { ++saves; });
    openFrame(frame, kTwoExtinctAgents);
    ASSERT_TRUE(showActive(&frame));
    EXPECT_EQ(frame.pcMain->currentWidget(), frame.tsGrid);

    frame.acInsert->trigger();
    EXPECT_EQ(frame.pcMain->currentWidget(), frame.tsDetail);
    EXPECT_EQ(frame.infoPanelCaption(), u"Ins."_s);
    // A wrong fiscal code is reported, and the record is not confirmed when the user goes back.
    TNrDBEdit *name = editOf(frame, u"DENOMINAZI0NE"_s);
    for (const QString &code : {u"80007890789"_s, u"80007890785"_s}) {
        typeInto(editOf(frame, u"CODICE"_s), code);
        typeInto(name, u"istituto tecnico"_s);
        QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(infoList.asked,
                  (QList<QStringList>{{u" - Campo errato: Codice fiscale del sostituto estinto: Codice fiscale "
                                       "«80007890789» non valido: il carattere di controllo non corrisponde"_s}}));
        EXPECT_EQ(frame.cdsMain.state(), code.endsWith(u'9') ? DataSetState::Insert : DataSetState::Browse);
    }

    EXPECT_EQ(saves, 1);
    EXPECT_EQ(frame.cdsMain.recordCount(), 3);
    // A new record always goes to the end.
    EXPECT_EQ(frame.cdsMain.recNo(), 3);
    EXPECT_EQ(frame.cdsMain.fieldByName(u"DENOMINAZI0NE"_s).asString(), u"ISTITUTO TECNICO"_s);
    EXPECT_EQ(frame.infoPanelCaption(), u"3 di 3"_s);
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(Frames, LeavingAChangedRecordIsRefusedAndCtrlZCancelsTheChanges)
{
    TfrElhSosEst frame;
    int saves = 0;
    frame.setAfterPost([&] { ++saves; });
    openFrame(frame, kTwoExtinctAgents);
    ASSERT_TRUE(showActive(&frame));
    frame.cdsMain.last();
    frame.pcMain->setCurrentWidget(frame.tsDetail);
    typeInto(editOf(frame, u"DENOMINAZI0NE"_s), u"SCUOLA MEDIA CAMBIATA"_s);
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Edit);

    frame.pcMain->setCurrentWidget(frame.tsGrid);
    frame.grFrame->setCurrentIndex(frame.grFrame->model()->index(0, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return messages.texts() == QStringList{u"Salvare prima di cambiare modello."_s};
    })) << "still waiting for messages.texts()";
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Edit);
    EXPECT_EQ(frame.cdsMain.recNo(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.grFrame->currentIndex().row() == 1; }))
        << "still waiting for frame.grFrame->currentIndex().row()";
    EXPECT_EQ(frame.cdsMain.fieldByName(u"DENOMINAZI0NE"_s).asString(), u"SCUOLA MEDIA CAMBIATA"_s);
    EXPECT_EQ(saves, 0);

    // The navigation actions are refused the same way.
    frame.acFirst->setEnabled(true);
    frame.acFirst->trigger();
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(frame.cdsMain.recNo(), 2);

    // Ctrl+Z cancels the changes, even from inside an edit.
    TNrDBEdit *name = editOf(frame, u"DENOMINAZI0NE"_s);
    frame.pcMain->setCurrentWidget(frame.tsDetail);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Browse);
    EXPECT_EQ(name->text(), u"SCUOLA MEDIA STATALE DANTE"_s);
    EXPECT_EQ(frame.cdsMain.changeCount(), 0);
}

TEST_F(Frames, WithTheFrameOptionOffTheActionsHaveNoShortcuts)
{
    TfrNrBase::setShortcutsEnabled(false);
    TfrElhSosEst frame;
    TfrNrBase::setShortcutsEnabled(true);
    for (const QAction *a : frame.alFrame())
        EXPECT_TRUE(a->shortcuts().isEmpty()) << a->objectName().toStdString();
    EXPECT_TRUE(frame.actions().isEmpty());
}

TEST_F(Frames, ANewAgentTakesTheSchoolCodeAndItsDefaultsIsCheckedAndIsTheOnlyOneAndNeedsTheSchoolCode)
{
    TfrElhSostituto frame([] { return u"80012345676"_s; });
    int saves = 0;
    frame.setAfterPost([&] { ++saves; });
    openFrame(frame);
    ASSERT_TRUE(showActive(&frame));
    frame.pcSostituto->setCurrentIndex(3);
    frame.acInsert->trigger();
    ASSERT_EQ(frame.cdsMain.state(), DataSetState::Insert);
    EXPECT_EQ(frame.pcSostituto->currentIndex(), 0);
    const ClientDataSet &ds = frame.cdsMain;
    EXPECT_EQ(ds.fieldByName(u"SSOSCODFIS"_s).asString(), u"80012345676"_s);
    EXPECT_EQ(ds.fieldByName(u"SSOSCFDICASTERO"_s).asString(), u"80185250588"_s);
    EXPECT_EQ(ds.fieldByName(u"ISOSSEZ"_s).asInteger(), 1);
    for (const QString &flag : {u"LSOSCORRETTIVA"_s, u"LSOSDI"_s, u"LGESALTRIT2"_s, u"LSOSAVVISORIC"_s})
        EXPECT_EQ(ds.fieldByName(flag).asString(), u"0"_s) << flag.toStdString();
    // Fields edited through lookups are not check boxes.
    EXPECT_TRUE(ds.fieldByName(u"LSOSDICHCONTRIB"_s).isNull());

    // Without its fiscal code the agent is refused before any check.
    TNrDBEdit *code = editOf(frame, u"SSOSCODFIS"_s);
    code->setFocus();
    code->selectAll();
    QTest::keyClick(code, Qt::Key_Delete);
    frame.acPost->trigger();
    EXPECT_EQ(messages.texts(), QStringList{u"Codice fiscale obbligatorio"_s});
    EXPECT_TRUE(infoList.asked.isEmpty());
    typeInto(code, u"80012345676"_s);
    typeInto(editOf(frame, u"SSOSDENOM"_s), u"istituto comprensivo"_s);

    // The mandatory check lets the user go back or go on.
    infoList.answer = false;
    frame.acPost->trigger();
    ASSERT_EQ(infoList.asked.size(), 1);
    EXPECT_TRUE(infoList.asked[0].contains(u" - Dato obbligatorio mancante: Codice attività del sostituto"_s));
    EXPECT_FALSE(infoList.asked[0].contains(u" - Dato obbligatorio mancante: Denominazione del sostituto"_s));
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Insert);
    EXPECT_EQ(saves, 0);
    infoList.answer = true;
    frame.acPost->trigger();
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Browse);
    EXPECT_EQ(saves, 1);
    // A second agent cannot be inserted, nor when the agent is loaded.
    EXPECT_FALSE(frame.acInsert->isVisible());
    EXPECT_FALSE(frame.acInsert->isEnabled());
    openFrame(frame, R"({"records": [{"SSOSCODFIS": "80012345676", "SSOSDENOM": "ISTITUTO"}]})");
    EXPECT_FALSE(frame.acInsert->isEnabled());

    // Without the school's code a new agent is refused.
    TfrElhSostituto noSchool([] { return QString(); });
    openFrame(noSchool);
    messages.clear();
    noSchool.acInsert->trigger();
    EXPECT_EQ(noSchool.cdsMain.state(), DataSetState::Browse);
    EXPECT_EQ(noSchool.cdsMain.recordCount(), 0);
    EXPECT_EQ(messages.texts(),
              QStringList{u"Codice fiscale sostituto non trovato. \r\nImportare i dati dal CUD od eseguire il "
                          u"programma \"Plessi e Scuole\" per controllare i dati"_s});
}

TEST_F(Frames, TheKindOfAgentShowsItsInputsAndClearsTheOthers)
{
    TfrElhSostituto frame([] { return u"80012345676"_s; });
    openFrame(frame, R"({"records": [{"SSOSCODFIS": "80012345676", "SSOSDOMNOTUFFICIO": "SEGRETERIA",
                                      "SSOSDOMNOTCOGNOME": "ROSSI", "SSOSDOMNOTNOME": "ANNA"}]})");
    ASSERT_TRUE(showActive(&frame));
    TNrDBRadioGroup *kind = frame.rgTipoSostituto;
    EXPECT_EQ(kind->itemIndex(), -1);
    // Showing the representative's page picks "Ufficio" without changing the record.
    frame.pcMain->setCurrentWidget(frame.tsDetail);
    frame.pcSostituto->setCurrentIndex(2);
    EXPECT_EQ(kind->itemIndex(), 0);
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Browse);

    // The page of the notification address is not reachable by its tab;
    // its inputs still follow the kind of agent.
    EXPECT_FALSE(editOf(frame, u"SSOSDOMNOTUFFICIO"_s)->isHidden());
    EXPECT_TRUE(editOf(frame, u"SSOSDOMNOTCOGNOME"_s)->isHidden());
    const auto buttons = kind->findChildren<QAbstractButton *>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[1]->click();
    EXPECT_EQ(frame.cdsMain.fieldByName(u"LSOSPERSFISICA"_s).asString(), u"1"_s);
    EXPECT_TRUE(frame.cdsMain.fieldByName(u"SSOSDOMNOTUFFICIO"_s).isNull());
    EXPECT_EQ(frame.cdsMain.fieldByName(u"SSOSDOMNOTCOGNOME"_s).asString(), u"ROSSI"_s);
    EXPECT_TRUE(editOf(frame, u"SSOSDOMNOTUFFICIO"_s)->isHidden());
    EXPECT_FALSE(editOf(frame, u"SSOSDOMNOTCOGNOME"_s)->isHidden());
    buttons[0]->click();
    EXPECT_TRUE(frame.cdsMain.fieldByName(u"SSOSDOMNOTCOGNOME"_s).isNull());
    EXPECT_TRUE(frame.cdsMain.fieldByName(u"SSOSDOMNOTNOME"_s).isNull());
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Edit);
}

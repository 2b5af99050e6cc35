#include "DeliveredData.h"
#include "EntryTestSupport.h"
#include "QtPrinters.h"
#include "ReturnDatabaseTest.h"
#include "TfmElhChildDB.h"
#include "TfmElhSosEst.h"
#include "TfmElhSostituto.h"
#include "TfmHlmRicerca.h"
#include "TfrElhSosEst.h"
#include "TfrElhSostituto.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

const QByteArray kExtinctAgent =
    R"({"records": [{"CODICE": "82009870542", "DENOMINAZI0NE": "DIREZIONE DIDATTICA STATALE SAN CARLO"}]})";

// A frame of a table the database has no structure of.
class MissingTable : public TfmElhChildDB
{
public:
    explicit MissingTable(THlmDBCds &store)
        : TfmElhChildDB(store)
    {
        struct Frame : TfrElhSosEst
        {
            QString tableName() const override { return u"TXYZ_INESISTENTE"_s; }
        };
        setMainFrame(new Frame);
    }
};

class StoreWindows : public ReturnDatabaseTest
{
protected:
    ScriptedInfoList infoList;
};

} // namespace

TEST_P(StoreWindows, OnlyYesDeletesAndTheDeletionIsWrittenAtTheLatestWhenTheWindowCloses)
{
    write(u"TSOE7_SOSESTINTO"_s, kExtinctAgent);
    TfmElhSosEst window(store());
    ASSERT_TRUE(showActive(&window));
    messages().enqueue(ModalResult::No);
    window.frSosEst->acDelete->trigger();
    EXPECT_EQ(window.frSosEst->cdsMain.recordCount(), 1);
    messages().enqueue(ModalResult::Yes);
    window.frSosEst->acDelete->trigger();
    EXPECT_EQ(messages().texts(), QStringList(2, u"Confermi la cancellazione del modello corrente?"_s));
    EXPECT_EQ(messages().messages().first().type, MsgDlgType::Warning);
    EXPECT_EQ(window.frSosEst->cdsMain.recordCount(), 0);
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), 1);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), 0);
}

TEST_P(StoreWindows, ATableThatCannotBeLoadedIsToldAndTheWindowCloses)
{
    auto *window = new MissingTable(store());
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<QWidget> alive(window);
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }));
    EXPECT_EQ(messages().texts(), QStringList{u"Impossibile trovare il ClientDataSet (TXYZ_INESISTENTE)."_s});
}

TEST_P(StoreWindows, AnExtinctAgentIsLookedUpInTheStoreWithoutItsRecordNumbers)
{
    write(u"TSOE7_SOSESTINTO"_s, kExtinctAgent);
    ClientDataSet row;
    DeliveredData::openTable(row, u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "01"}]})");
    bool shown = false;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfmHlmRicerca *>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->cdsSearch.fieldByName(u"IFISRIGO"_s).visible());
        // Typing searches the codes, not the hidden record numbers.
        EXPECT_EQ(dialog->laCampo->text(), u"CODICE"_s);
        QTest::keyClicks(dialog->edValue, u"8200"_s);
        EXPECT_EQ(dialog->cdsSearch.fieldByName(u"CODICE"_s).asString(), u"82009870542"_s);
        shown = true;
        dialog->buOk()->click();
    });
    TfmHlmRicerca::lookupIntoField(row, u"SSOE7CODICE"_s, store(), u"TSOE7_SOSESTINTO"_s, nullptr);
    ASSERT_TRUE(shown);
    EXPECT_EQ(row.state(), DataSetState::Edit);
    EXPECT_EQ(row.fieldByName(u"SSOE7CODICE"_s).asString(), u"82009870542"_s);
}

TEST_P(StoreWindows, TheAgentsSummaryIsBroughtUpToDateWhenItsWindowOpens)
{
    write(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSCODFIS": "80012345676", "LSOSST": "0", "LSOSSX": "1"}]})");
    write(u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "01", "SPSTANNO": "2023", "SPSTCODTRIBUTO": "100E"}]})");
    TfmElhSostituto window(store(), [] { return u"80012345676"_s; });
    ASSERT_TRUE(showActive(&window));
    const ClientDataSet &shown = window.frSostituto->cdsMain;
    EXPECT_EQ(shown.state(), DataSetState::Browse);
    EXPECT_EQ(window.frSostituto->pcMain->currentWidget(), window.frSostituto->tsGrid);
    EXPECT_EQ(shown.fieldByName(u"LSOSST"_s).asString(), u"1"_s);
    EXPECT_TRUE(shown.fieldByName(u"LSOSSX"_s).isNull());
    // Saved at once, without the check of the data the user confirms.
    EXPECT_TRUE(infoList.asked.isEmpty());
    const auto saved = read(u"TSOS_DATOSOSTITUTO"_s);
    EXPECT_EQ(saved->fieldByName(u"LSOSST"_s).asString(), u"1"_s);
    EXPECT_TRUE(saved->fieldByName(u"LSOSSX"_s).isNull());
    EXPECT_TRUE(window.close());
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(StoreWindows);

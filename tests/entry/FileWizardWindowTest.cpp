// The file wizard's window on a school database: the pages it shows for the
// Prospetti that have rows, the answers of its pages in the file, the save
// dialog, and a stop at the completeness question.

#include "AgentBootstrap.h"
#include "DataPaths.h"
#include "EntryTestSupport.h"
#include "LocalDataFolder.h"
#include "ReturnDatabaseTest.h"
#include "TfmElhFile.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

class FileWizardWindow : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        LocalDataFolder::prepare(findings());
    }

    ScriptedInfoList infoList;
};

} // namespace

TEST_P(FileWizardWindow, OnlyThePagesWhoseAnswerCanChangeTheFileAreShown)
{
    using P = TfmElhFile::PageId;
    // The pages "Avanti" walks through, from the one the window opens on.
    const auto opened = [this](const QString &path, const QList<int> &pages) {
        TfmElhFile window(store());
        EXPECT_TRUE(showActive(&window));
        EXPECT_EQ(window.activePath(), path);
        EXPECT_EQ(window.buttonText(QWizard::FinishButton), u"Salva"_s);
        QList<int> walked{window.currentId()};
        while (window.currentId() != P::kPageCreaFile && walked.size() < 4) {
            window.next();
            walked.append(window.currentId());
        }
        EXPECT_EQ(walked, pages) << path.toStdString();
        // "Salva" waits for the file.
        EXPECT_FALSE(window.button(QWizard::FinishButton)->isEnabled());
        window.reject();
    };
    opened(u"onlyfile"_s, {P::kPageCreaFile});

    // An SX record declaring nothing is no reason to ask.
    write(u"TPSX_PROSPETTOSX"_s, R"({"records": [{"SSOE7CODICE": "", "LVA_SX": "0"}]})");
    write(u"TPSY2_PROSPETTOSY2"_s, R"({"records": [{"SPSY2CREPIGCF": "05174320985", "FPSYSOMERO1": "1800.00"}]})");
    opened(u"onlySY"_s, {P::kPageSy, P::kPageCreaFile});

    write(u"TPSX_PROSPETTOSX"_s, R"({"records": [{"SSOE7CODICE": "80000000000", "CREMAT_SX": "10.00"}]})");
    opened(u"Default"_s, {P::kPageSv, P::kPageSy, P::kPageCreaFile});

    ClientDataSet sy;
    store().open(sy, u"TPSY2_PROSPETTOSY2"_s);
    sy.deleteRecord();
    store().save(sy, u"TPSY2_PROSPETTOSY2"_s);
    opened(u"onlySV-ST-Sx-DI"_s, {P::kPageSv, P::kPageCreaFile});
}

TEST_P(FileWizardWindow, NoOnTheSvPageLeavesOutRecordDAndACancelledSaveWritesNothing)
{
    loadDemo();
    AgentBootstrap::run(
        store(), [] { return QString(); }, findings());
    infoList.answer = true;
    messages().clear();
    TfmElhFile window(store());
    ASSERT_TRUE(showActive(&window));
    ASSERT_EQ(window.currentId(), TfmElhFile::kPageSv);
    window.rbNessunoSv->click();
    window.next();
    ASSERT_EQ(window.currentId(), TfmElhFile::kPageSy);
    EXPECT_TRUE(window.rbTuttiSY->isChecked());
    window.next();
    ASSERT_EQ(window.currentId(), TfmElhFile::kPageCreaFile);
    window.buInizio->click();
    const QStringList progress = window.meInfo->toPlainText().split(u'\n');
    EXPECT_EQ(progress.first(), u"ATTENDERE... Pulitura del file in corso..."_s);
    EXPECT_EQ(progress.last(), u"Operazione terminata con successo."_s);
    // The reconciliation's counts, which do not stop the file.
    EXPECT_EQ(progress.value(progress.size() - 2), u"Quadratura: 0 errori, 7 avvisi — vedere la finestra Quadratura"_s);
    EXPECT_FALSE(window.buInizio->isEnabled());
    EXPECT_FALSE(window.rbTuttiSv->isEnabled());
    ASSERT_TRUE(window.button(QWizard::FinishButton)->isEnabled());

    // Cancelled, nothing is written and "Salva" can be pressed again.
    const QString folder = DataPaths::fromRoot(u"USR\\FL2023\\Dich770"_s);
    QDir(folder).removeRecursively();
    onNextModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    window.button(QWizard::FinishButton)->click();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList());

    const QString chosen = installation().root() + u"prova"_s;
    window.save(chosen);
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << messages().texts().join(u'\n').toStdString();
    QString types;
    for (const QByteArray &line : file.readAll().split('\n'))
        types += QLatin1String(line.left(1));
    EXPECT_FALSE(types.contains(u'D')) << types.toStdString();
    EXPECT_TRUE(types.contains(u'I')) << types.toStdString();
    EXPECT_TRUE(messages().texts().constLast().contains(chosen)) << messages().texts().join(u'\n').toStdString();
    // The supply check has read the file written.
    EXPECT_TRUE(window.meInfo->toPlainText().contains(u"Controllo del file telematico"_s));
    // Stage 2 runs once.
    EXPECT_FALSE(window.button(QWizard::FinishButton)->isEnabled());
    EXPECT_EQ(window.button(QWizard::CancelButton)->text(), u"Chiudi"_s);
    window.button(QWizard::CancelButton)->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_P(FileWizardWindow, NoAtTheCompletenessQuestionClosesTheWindowWithoutTouchingTheFile)
{
    infoList.answer = false;
    TfmElhFile window(store());
    ASSERT_TRUE(showActive(&window));
    window.buInizio->click();
    ASSERT_EQ(infoList.asked.size(), 1);
    EXPECT_FALSE(infoList.asked.first().isEmpty());
    EXPECT_EQ(window.meInfo->toPlainText(), u"Generazione file telematico terminata dall'utente"_s);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_P(FileWizardWindow, AnErrorOfSalvaIsShownAndLeftInTheMemoWithoutTheSuccessMessage)
{
    write(u"TSOS_DATOSOSTITUTO"_s,
          R"({"records": [{"SSOSCODFIS": "80012345676", "SPROTINVGESTSEPID": "23010112345678901"}]})");
    // Without the payroll's lines the reconciliation cannot run; stage 1 goes on.
    exec(u"DROP TABLE TRF24_RIGHEF24EP"_s);
    infoList.answer = true;
    TfmElhFile window(store());
    ASSERT_TRUE(showActive(&window));
    window.buInizio->click();
    ASSERT_TRUE(window.button(QWizard::FinishButton)->isEnabled()) << window.meInfo->toPlainText().toStdString();
    EXPECT_EQ(window.meInfo->toPlainText().split(u'\n').filter(u"Quadratura"_s).size(), 1);
    EXPECT_TRUE(window.meInfo->toPlainText().contains(u"\nQuadratura non eseguita: "_s))
        << window.meInfo->toPlainText().toStdString();
    messages().clear();
    window.save(installation().root() + u"77024"_s);
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(messages().texts().first().startsWith(u"Incongruenza dati frontespizio:\r\n"_s));
    // The memo shows the message's lines as lines.
    const QString memo = window.meInfo->toPlainText();
    EXPECT_TRUE(memo.contains(u"***** Incongruenza dati frontespizio:"_s)) << memo.toStdString();
    EXPECT_TRUE(memo.endsWith(u"alla singola dichiarazioneambedue assenti o presenti"_s)) << memo.toStdString();
    EXPECT_FALSE(QFile::exists(installation().root() + u"77024"_s));
    EXPECT_FALSE(window.button(QWizard::FinishButton)->isEnabled());
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(FileWizardWindow);

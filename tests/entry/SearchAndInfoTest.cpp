#include "EntryTestSupport.h"
#include "NrMessages.h"
#include "QtPrinters.h"
#include "RecordingShell.h"
#include "THlmCds.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TempDir.h"
#include "TfmElhInfo.h"
#include "TfmHlmRicerca.h"
#include "TfrElhSostituto.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

// A reference table of provinces, written as the build writes them.
QString provinces(const TempDir &dir)
{
    ClientDataSet ds;
    ds.fieldDefs().add(u"SIGLA"_s, FieldType::String, 2);
    ds.fieldDefs().add(u"NOME"_s, FieldType::String, 40);
    ds.fieldDefs().add(u"ABITANTI"_s, FieldType::Integer);
    ds.createDataSet();
    const std::tuple<const char16_t *, const char16_t *, int> rows[] = {
        {u"RM", u"Roma", 4200},   {u"MI", u"Milano", 3200},       {u"RO", u"Rovigo", 230}, {u"PG", u"Perugia", 650},
        {u"RA", u"Ravenna", 380}, {u"RE", u"Reggio Emilia", 530}, {u"TR", u"Terni", 220}};
    for (const auto &[sigla, nome, abitanti] : rows) {
        ds.append();
        ds.fieldByName(u"SIGLA"_s).setAsString(QString::fromUtf16(sigla));
        ds.fieldByName(u"NOME"_s).setAsString(QString::fromUtf16(nome));
        ds.fieldByName(u"ABITANTI"_s).setAsInteger(abitanti);
        ds.post();
    }
    const QString path = dir.file(u"TPRO_PROVINCE.CDS"_s);
    THlmCds::saveToFile(ds, path);
    return path;
}

QString current(TfmHlmRicerca &dialog, const QString &field)
{
    return dialog.cdsSearch.fieldByName(field).asString();
}

struct Search : ::testing::Test
{
    TempDir dir;
    QString file = provinces(dir);
    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};
};

} // namespace

TEST_F(Search, ANumericIndexMovesOnlyOnAnExactValue)
{
    TfmHlmRicerca dialog;
    QVariant result;
    onNextModal([&](QWidget *) {
        dialog.grSearch->horizontalHeader()->sectionClicked(2);
        EXPECT_EQ(dialog.laCampo->text(), u"ABITANTI"_s);
        EXPECT_EQ(current(dialog, u"SIGLA"_s), u"MI"_s);
        dialog.cdsSearch.first();
        QTest::keyClicks(dialog.edValue, u"38"_s);
        EXPECT_EQ(current(dialog, u"SIGLA"_s), u"TR"_s);
        QTest::keyClicks(dialog.edValue, u"0"_s);
        EXPECT_EQ(current(dialog, u"SIGLA"_s), u"RA"_s);
        dialog.buOk()->click();
    });
    result = dialog.execute([&](ClientDataSet &ds) { THlmCds::loadFromFile(ds, file, standardErrorFindings()); },
                            u"TPRO_PROVINCE"_s);
    // The result is the first visible field of the chosen record.
    EXPECT_EQ(result.toString(), u"RA"_s);
}

TEST_F(Search, TheKeysOfTheBoxMoveTheGridAndTypingFindsTheFirstCodeThatBeginsWithIt)
{
    // A key and the province current after it; the ends do not wrap.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char16_t *> steps[] = {
        {Qt::Key_Down, {}, u"PG"},
        {Qt::Key_End, Qt::ControlModifier, u"TR"},
        {Qt::Key_Down, {}, u"TR"},
        {Qt::Key_Home, Qt::ControlModifier, u"MI"},
        {Qt::Key_Up, {}, u"MI"}};
    // Nothing begins with "ROX": the grid stays where it is.
    const std::pair<const char16_t *, const char16_t *> typed[] = {{u"R", u"RA"}, {u"o", u"RO"}, {u"X", u"RO"}};
    TfmHlmRicerca dialog;
    onNextModal([&](QWidget *) {
        EXPECT_EQ(dialog.laCampo->text(), u"SIGLA"_s);
        QLineEdit *box = dialog.edValue;
        for (const auto &[key, modifiers, sigla] : steps) {
            QTest::keyClick(box, key, modifiers);
            EXPECT_EQ(current(dialog, u"SIGLA"_s), QString::fromUtf16(sigla))
                << QKeySequence(QKeyCombination(modifiers, key)).toString().toStdString();
        }
        QTest::keyClick(box, Qt::Key_PageDown);
        EXPECT_GT(dialog.cdsSearch.recNo(), 1);
        QTest::keyClick(box, Qt::Key_PageUp);
        EXPECT_EQ(dialog.cdsSearch.recNo(), 1);
        QTest::keyClick(box, Qt::Key_Right);
        EXPECT_EQ(dialog.grSearch->currentIndex().column(), 1);
        QTest::keyClick(box, Qt::Key_Left);
        EXPECT_EQ(dialog.grSearch->currentIndex().column(), 0);
        for (const auto &[text, sigla] : typed) {
            QTest::keyClicks(box, QString::fromUtf16(text));
            EXPECT_EQ(current(dialog, u"SIGLA"_s), QString::fromUtf16(sigla)) << box->text().toStdString();
        }
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_TRUE(dialog.searchFile(file));
    EXPECT_EQ(current(dialog, u"NOME"_s), u"Rovigo"_s);
    // Cancelled, nothing is chosen and the table is closed.
    onNextModal([&dialog](QWidget *) { dialog.reject(); });
    EXPECT_FALSE(dialog.searchFile(file));
    EXPECT_FALSE(dialog.cdsSearch.active());
}

TEST_F(Search, ALookupWritesTheCodeAndACancelledOneLeavesTheField)
{
    TfrElhSostituto frame([] { return u"80012345676"_s; });
    openFrame(frame, R"({"records": [{"SSOSCODFIS": "80012345676", "SCARCODICE": "1"}]})");
    TNrDBLookupEdit *carica = nullptr;
    for (auto *l : frame.findChildren<TNrDBLookupEdit *>()) {
        if (l->edit()->dataField() == u"SCARCODICE")
            carica = l;
    }
    ASSERT_NE(carica, nullptr);

    // Types "3" into the search box and answers with the button.
    const auto answer = [](bool ok) {
        onNextModal([ok](QWidget *modal) {
            auto *dialog = qobject_cast<TfmHlmRicerca *>(modal);
            ASSERT_NE(dialog, nullptr);
            QTest::keyClicks(dialog->edValue, u"3"_s);
            EXPECT_EQ(dialog->cdsSearch.fieldByName(u"DESCRIZIONE"_s).asString(), u"Curatore fallimentare"_s);
            (ok ? dialog->buOk() : dialog->buCancel())->click();
        });
    };
    answer(false);
    carica->lookup();
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Browse);
    EXPECT_EQ(frame.cdsMain.fieldByName(u"SCARCODICE"_s).asString(), u"1"_s);

    answer(true);
    carica->lookup();
    EXPECT_EQ(frame.cdsMain.state(), DataSetState::Edit);
    EXPECT_EQ(frame.cdsMain.fieldByName(u"SCARCODICE"_s).asString(), u"3"_s);
    EXPECT_EQ(carica->edit()->text(), u"3"_s);
    EXPECT_TRUE(messages.messages().isEmpty());

    // A table without rows yet: no dialog, the user is told to type the code.
    ClientDataSet empty;
    empty.loadFromFile(file);
    empty.emptyDataSet();
    const QString emptyFile = dir.file(u"TTPY_TIPOLOGIAPROSPSY.cds"_s);
    THlmCds::saveToFile(empty, emptyFile);
    TfmHlmRicerca::lookupIntoField(frame.cdsMain, u"SCARCODICE"_s, emptyFile, nullptr);
    EXPECT_EQ(messages.texts(), QStringList{u"La tabella «TTPY_TIPOLOGIAPROSPSY» non ha ancora righe: scrivere il "
                                            u"codice direttamente nel campo."_s});
    EXPECT_EQ(frame.cdsMain.fieldByName(u"SCARCODICE"_s).asString(), u"3"_s);
}

TEST(TfmElhInfo, InAskModeOnlySiGoesOnAndInPlainModeBloccoNoteOpensTheLines)
{
    const QStringList lines{u" - Dato obbligatorio mancante: Codice attività del sostituto"_s,
                            u" - Dati in eccesso: uno\r\n - due"_s};
    TfmElhInfoService service;
    onNextModal([&](QWidget *modal) {
        auto *info = qobject_cast<TfmElhInfo *>(modal);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->meInfo->toPlainText(),
                  u" - Dato obbligatorio mancante: Codice attività del sostituto\n - Dati in eccesso: uno\n - due"_s);
        EXPECT_FALSE(info->laDomanda->isHidden());
        EXPECT_EQ(info->buOk->text(), u"No"_s);
        info->buSi->click();
    });
    EXPECT_TRUE(service.ask(lines));
    onNextModal([](QWidget *modal) { qobject_cast<TfmElhInfo *>(modal)->buOk->click(); });
    EXPECT_FALSE(service.ask(lines));

    RecordingShell shell;
    onNextModal([&](QWidget *modal) {
        auto *info = qobject_cast<TfmElhInfo *>(modal);
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->buSi->isHidden());
        EXPECT_TRUE(info->laDomanda->isHidden());
        EXPECT_EQ(info->buOk->text(), u"OK"_s);
        info->buBloccoNote->click();
        info->buOk->click();
    });
    service.show({u"prima riga"_s, u"seconda riga"_s});
    ASSERT_EQ(shell.calls.size(), 1);
    ASSERT_TRUE(shell.calls.first().startsWith(u"file "_s));
    QFile written(shell.calls.first().mid(5));
    EXPECT_TRUE(written.fileName().endsWith(u".txt"_s));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("prima riga\r\nseconda riga\r\n"));
    written.remove();
}

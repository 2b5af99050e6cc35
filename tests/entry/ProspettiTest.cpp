#include "DataSetTableModel.h"
#include "EntryTestSupport.h"
#include "QtPrinters.h"
#include "ReturnDatabaseTest.h"
#include "SectionTabs.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TfmElhProspST2009.h"
#include "TfmElhProspSV.h"
#include "TfmElhProspSX.h"
#include "TfrElhProspSS.h"
#include "TfrElhProspST.h"
#include "TfrElhProspST_sez_due.h"
#include "TfrElhProspST_sez_quattro.h"
#include "TfrElhProspST_sez_tre.h"
#include "TfrElhProspSV.h"
#include "TfrElhProspSX.h"
#include "TfrElhProspSY.h"

#include <QAction>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

class Prospetti : public ReturnDatabaseTest
{
protected:
    ScriptedInfoList infoList;
};

// Types into an edit checked when it is left and leaves it for the next
// edit, as the user does; the messages shown, and whether the focus came back.
QStringList leave(ScriptedMessageService &messages, TNrDBEdit *edit, TNrDBEdit *next, const QString &text)
{
    messages.clear();
    typeInto(edit, text);
    next->setFocus();
    if (!messages.messages().isEmpty() && !QTest::qWaitFor([edit] { return edit->hasFocus(); }))
        return {u"the focus did not come back"_s};
    return messages.texts();
}

template<class Frame>
std::unique_ptr<TfrElhProspetto> makeFrame(THlmDBCds &store)
{
    return std::make_unique<Frame>(store);
}

// The text of the column "Dati presenti" for each record of a frame.
QStringList datiPresenti(TfrElfBase &frame)
{
    const DataSetTableModel *model = frame.grFrame->dataModel();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, model->columnCount() - 1).data().toString());
    return texts;
}

} // namespace

TEST_P(Prospetti, AMonthLeftIsCheckedAndTheFocusGoesBackToIt)
{
    const QString twoDigits = u"Il mese deve essere di 2 cifre"_s;
    const QString invalid = u"Mese non valido, deve essere compreso tra 01 e 12"_s;
    TfmElhProspST2009 window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhProspST &erario = *window.frErario;
    erario.acInsert->trigger();
    TNrDBEdit *month = editOf(erario, u"SPSTMESE"_s);
    TNrDBEdit *year = editOf(erario, u"SPSTANNO"_s);
    EXPECT_EQ(leave(messages(), month, year, u"7"_s), QStringList{twoDigits});
    EXPECT_EQ(leave(messages(), month, year, u"13"_s), QStringList{invalid});
    EXPECT_EQ(leave(messages(), month, year, u"00"_s), QStringList{invalid});
    // Letters are no month either, and no conversion error.
    EXPECT_EQ(leave(messages(), month, year, u"LU"_s), QStringList{invalid});
    EXPECT_EQ(leave(messages(), month, year, u"07"_s), QStringList{});
    // The value typed stays as it is.
    EXPECT_EQ(erario.cdsMain.fieldByName(u"SPSTMESE"_s).asString(), u"07"_s);
    // Nor does the page change while it is edited.
    messages().clear();
    window.pcST->setCurrentWidget(window.frRitReddCap);
    EXPECT_EQ(window.pcST->currentWidget(), window.frErario);
    EXPECT_EQ(messages().texts(),
              QStringList{u"Non è possibile cambiare schermata mentre si inseriscono o modificano i dati"_s});
    erario.acCancel->trigger();

    // Section III checks the month edit of the line left.
    window.pcST->setCurrentWidget(window.frRitReddCap);
    EXPECT_EQ(window.pcST->currentWidget(), window.frRitReddCap);
    EXPECT_EQ(messages().messages().size(), 1);
    window.frRitReddCap->acInsert->trigger();
    EXPECT_EQ(leave(messages(), editOf(*window.frRitReddCap, u"SPST3MESE33"_s),
                    editOf(*window.frRitReddCap, u"SPST3ANNO33"_s), u"9"_s),
              QStringList{twoDigits});
    window.frRitReddCap->acCancel->trigger();
    EXPECT_TRUE(window.close());
}

// Each payment row names what it misses before it is posted; a tax code of
// another section is refused when its edit is left and when the row is posted.
TEST_P(Prospetti, ARowMissingItsCodeOrDateOrWithACodeOfAnotherSectionIsNotPosted)
{
    const QString missing = u" - Dato obbligatorio mancante: "_s;
    const QString refused = u"Codice tributo %1 non valido in questa sezione: sono ammessi i codici %2"_s;
    const struct
    {
        std::unique_ptr<TfrElhProspetto> (*make)(THlmDBCds &);
        QStringList missing;
        // A code typed into the tax code edit, left for the month edit, and
        // what the row says of it.
        struct
        {
            QString tax, next, typed, message;
        } code;
    } rows[] = {{makeFrame<TfrElhProspST>,
                 {u"Mese di riferimento prospetto ST"_s, u"Anno di riferimento prospetto ST"_s,
                  u"Codice tributo prospetto ST"_s, u"Data di versamento prospetto ST"_s},
                 {u"SPSTCODTRIBUTO"_s, u"SPSTMESE"_s, u"3848"_s,
                  refused.arg(u"3848"_s, u"delle ritenute erariali (1nnE, 1nnn)"_s)}},
                {makeFrame<TfrElhProspST_sez_due>,
                 {u"Codice tributo prospetto ST, sezione II"_s, u"Data di versamento prospetto ST, sezione II"_s},
                 {u"SPST2CODTRIBUTO"_s, u"SPST2MESE"_s, u"100e"_s,
                  refused.arg(u"100E"_s, u"dell'addizionale regionale (381E, 3802)"_s)}},
                {makeFrame<TfrElhProspST_sez_due>, {}, {u"SPST2CODTRIBUTO"_s, u"SPST2MESE"_s, u"3802"_s, QString()}},
                {makeFrame<TfrElhProspSV>,
                 {u"Mese di riferimento prospetto SV"_s, u"Anno di riferimento prospetto SV"_s,
                  u"Codice tributo prospetto SV"_s, u"Data di versamento prospetto SV"_s},
                 {u"SPSVCODTRIBCAP"_s, u"SPSVMESE"_s, u"381E"_s,
                  refused.arg(u"381E"_s, u"dell'addizionale comunale (384E, 385E, 3847, 3848)"_s)}},
                {makeFrame<TfrElhProspSY>,
                 {u"Codice fiscale debitore principale prospetto SY"_s,
                  u"Codice fiscale creditore pignoratizio prospetto SY"_s},
                 {}}};
    for (const auto &row : rows) {
        const std::unique_ptr<TfrElhProspetto> frame = row.make(store());
        SCOPED_TRACE(frame->objectName().toStdString());
        openFrame(*frame);
        ASSERT_TRUE(showActive(frame.get()));
        frame->acInsert->trigger();
        infoList.asked.clear();
        if (!row.missing.isEmpty()) {
            frame->acPost->trigger();
            QStringList expected;
            for (const QString &m : row.missing)
                expected.append(missing + m);
            EXPECT_EQ(infoList.asked.value(0), expected);
            EXPECT_EQ(frame->cdsMain.state(), DataSetState::Insert);
        }
        if (row.code.tax.isEmpty())
            continue;
        const QStringList message = row.code.message.isEmpty() ? QStringList() : QStringList{row.code.message};
        EXPECT_EQ(leave(messages(), editOf(*frame, row.code.tax), editOf(*frame, row.code.next), row.code.typed),
                  message);
        messages().clear();
        infoList.asked.clear();
        frame->acPost->trigger();
        EXPECT_EQ(messages().texts(), message);
        // Only a code of the section's own reaches the mandatory-data check.
        EXPECT_EQ(infoList.asked.size(), row.code.message.isEmpty() ? 1 : 0);
        EXPECT_EQ(frame->cdsMain.state(), DataSetState::Insert);
    }
}

TEST_P(Prospetti, SectionIVIsSavedOnlyWithMonthAndYearOfEveryLineRight)
{
    TfmElhProspST2009 window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhProspST_sez_quattro &frame = *window.frImpsos;
    window.pcST->setCurrentWidget(&frame);
    frame.acInsert->trigger();
    ClientDataSet &ds = frame.cdsMain;
    ds.fieldByName(u"SCFINTNRES"_s).setAsString(u"80012345676"_s);
    ds.fieldByName(u"SPST2MESE39"_s).setAsString(u"02"_s);
    ds.fieldByName(u"SPST2ANNO39"_s).setAsString(u"2023"_s);
    ds.fieldByName(u"SPST2MESE41"_s).setAsString(u"03"_s);
    // Each step: what the line ST41 holds and the message of the post.
    const std::tuple<const char16_t *, const char16_t *, QString> steps[] = {
        {u"03", u"", u"Impossibile salvare: Anno o mese nella riga ST41 mancante!"_s},
        {u"03", u"2022", u"Impossibile salvare: Anno nella riga ST41 errato!\r\nInserire solo 2023!"_s},
        {u"3", u"2023",
         u"Impossibile salvare: Mese nella riga ST41 errato!\r\nInserire sempre 2 cifre: gennaio = 01, febbraio = "
         u"02..."_s},
        {u"13", u"2023",
         u"Impossibile salvare: Mese nella riga ST41 errato!\r\nInserire sempre 2 cifre: gennaio = 01, febbraio = "
         u"02..."_s},
    };
    for (const auto &[month, year, message] : steps) {
        messages().clear();
        ds.fieldByName(u"SPST2MESE41"_s).setAsString(QString::fromUtf16(month));
        ds.fieldByName(u"SPST2ANNO41"_s).setAsString(QString::fromUtf16(year));
        frame.acPost->trigger();
        EXPECT_EQ(messages().texts(), QStringList{message});
        EXPECT_EQ(messages().messages().value(0).type, MsgDlgType::Error);
        EXPECT_EQ(ds.state(), DataSetState::Insert);
    }
    EXPECT_EQ(read(u"TPST4_PROSPETTOSTS4"_s)->recordCount(), 0);

    messages().clear();
    ds.fieldByName(u"SPST2MESE41"_s).setAsString(u"03"_s);
    frame.acPost->trigger();
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
    const auto saved = read(u"TPST4_PROSPETTOSTS4"_s);
    ASSERT_EQ(saved->recordCount(), 1);
    EXPECT_EQ(saved->fieldByName(u"SPST2MESE41"_s).asString(), u"03"_s);
    EXPECT_EQ(saved->fieldByName(u"SPST2ANNO41"_s).asString(), u"2023"_s);
    EXPECT_TRUE(window.close());
}

TEST_P(Prospetti, ANewRecordHasZeroInEveryCheckBox)
{
    TfrElhProspSX sx(store());
    openFrame(sx);
    sx.acInsert->trigger();
    for (const QString &region : {u"LVA_SX"_s, u"LSA_SX"_s, u"LSI_SX"_s})
        EXPECT_EQ(sx.cdsMain.fieldByName(region).asString(), u"0"_s) << region.toStdString();
    // Boxes of codes looked up are not check boxes.
    EXPECT_TRUE(sx.cdsMain.fieldByName(u"LDIMIMPRE_SX48"_s).isNull());

    TfrElhProspST_sez_tre capital(store());
    openFrame(capital);
    capital.acInsert->trigger();
    for (int line = TfrElhProspST_sez_tre::kFirstLine; line <= TfrElhProspST_sez_tre::kLastLine; ++line) {
        const QString field = u"LPST3RAVVEDIMENTO%1"_s.arg(line);
        EXPECT_EQ(capital.cdsMain.fieldByName(field).asString(), u"0"_s) << field.toStdString();
    }
}

TEST_P(Prospetti, DatiPresentiTellsTheRecordsThatDeclareSomething)
{
    TfrElhProspSS ss(store());
    openFrame(ss, R"({"records": [
        {"FIOSSALADDREG_SS": "150"},
        {"SSOE7CODICE": "82009870542"},
        {"FIOSACCTAXSEP_SS": "0.01"},
        {}]})");
    // The order of the grid puts the record of no agent first.
    EXPECT_EQ(datiPresenti(ss), (QStringList{u"No"_s, u"Sì"_s, u"No"_s, u"Sì"_s}));
    EXPECT_EQ(ss.cdsMain.fieldByName(u"SSOE7CODICE"_s).asString(), QString());

    TfrElhProspSX sx(store());
    openFrame(sx, R"({"records": [
        {"SSOE7CODICE": "1", "LSA_SX": "1"},
        {"SSOE7CODICE": "2", "LVA_SX": "0", "LSI_SX": "0", "CREUTILF24_SX1": "80"},
        {"SSOE7CODICE": "3", "CRESPETT_SX": "12.50"},
        {"SSOE7CODICE": "4", "BONUSEROANN_SX": "100"}]})");
    EXPECT_EQ(datiPresenti(sx), (QStringList{u"Sì"_s, u"No"_s, u"Sì"_s, u"Sì"_s}));
}

TEST_P(Prospetti, ADeleteInSXIsSavedAtOnceInSVWithTheNextSave)
{
    write(u"TPSX_PROSPETTOSX"_s, R"({"records": [{"CREMAT_SX": "10"}, {"SSOE7CODICE": "82009870542"}]})");
    write(u"TPSV_PROSPETTOSV"_s, R"({"records": [
        {"SPSVMESE": "01", "SPSVANNO": "2023", "SPSVCODTRIBCAP": "3848", "DPSVDTVERS": "16/02/2023",
         "FPSVIMPVERS": "50"},
        {"SPSVMESE": "02", "SPSVANNO": "2023", "SPSVCODTRIBCAP": "3848", "DPSVDTVERS": "16/03/2023",
         "FPSVIMPVERS": "60"}]})");
    {
        TfmElhProspSX window(store());
        ASSERT_TRUE(showActive(&window));
        messages().enqueue(ModalResult::Yes);
        window.frProspSX->acDelete->trigger();
        EXPECT_EQ(read(u"TPSX_PROSPETTOSX"_s)->recordCount(), 1);
        EXPECT_TRUE(window.close());
    }
    TfmElhProspSV window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhProspSV &frame = *window.frProspSV;
    messages().enqueue(ModalResult::Yes);
    frame.acDelete->trigger();
    EXPECT_EQ(frame.cdsMain.recordCount(), 1);
    EXPECT_EQ(read(u"TPSV_PROSPETTOSV"_s)->recordCount(), 2);
    frame.acEdit->trigger();
    typeInto(editOf(frame, u"FPSVIMPVERS"_s), u"61"_s);
    frame.acPost->trigger();
    const auto saved = read(u"TPSV_PROSPETTOSV"_s);
    ASSERT_EQ(saved->recordCount(), 1);
    EXPECT_EQ(saved->fieldByName(u"FPSVIMPVERS"_s).asString(), u"61"_s);
    EXPECT_EQ(messages().texts(), QStringList(2, u"Confermi la cancellazione del modello corrente?"_s));
    EXPECT_TRUE(window.close());
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(Prospetti);

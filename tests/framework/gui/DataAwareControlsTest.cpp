#include "AmountFormats.h"
#include "ClientDataSet.h"
#include "DataSetTableModel.h"
#include "Exceptions.h"
#include "NrMessages.h"
#include "QtPrinters.h"
#include "TDataSource.h"
#include "TNrDBCheckBox.h"
#include "TNrDBDateEdit.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A table of payments with three records, ordered as appended.
struct Payments : ::testing::Test
{
    void SetUp() override
    {
        ds.setName(u"cdsPagamenti"_s);
        ds.fieldDefs().add(u"CODICE"_s, FieldType::String, 6);
        ds.fieldDefs().add(u"DESCR"_s, FieldType::String, 40);
        ds.fieldDefs().add(u"IMPORTO"_s, FieldType::Decimal);
        ds.fieldDefs().add(u"NUMERO"_s, FieldType::Integer);
        ds.fieldDefs().add(u"DATA"_s, FieldType::Date);
        ds.fieldDefs().add(u"FLAG"_s, FieldType::String, 1);
        ds.createDataSet();
        add(u"1001"_s, u"RITENUTE"_s, u"1234,5"_s, 3);
        add(u"1040"_s, u"AUTONOMI"_s, u"0"_s, 1);
        add(u"3802"_s, u"ADDIZIONALE"_s, QString(), 2);
        ds.first();
        applyAmountFormats(ds);
    }

    void add(const QString &code, const QString &descr, const QString &amount, int number)
    {
        ds.append();
        ds.fieldByName(u"CODICE"_s).setAsString(code);
        ds.fieldByName(u"DESCR"_s).setAsString(descr);
        if (!amount.isEmpty())
            ds.fieldByName(u"IMPORTO"_s).setAsString(amount);
        ds.fieldByName(u"NUMERO"_s).setAsInteger(number);
        ds.post();
    }

    void TearDown() override { ds.setEvents({}); }

    // Binds a control to a field of the table.
    template<class Control>
    Control &bind(Control &control, const QString &field)
    {
        control.setDataSource(&source);
        control.setDataField(field);
        return control;
    }

    ClientDataSet ds;
    TDataSource source{&ds};
    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};
};

// Shows a widget in an active window, so that it can take the focus.
void showActive(QWidget *w)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

// Types text into a widget as the user does, one key at a time.
void type(QWidget *w, const QString &text)
{
    w->setFocus();
    QTest::keyClicks(w, text);
}

} // namespace

TEST_F(Payments, APeekReadsAnotherRecordWithoutMovingOrTellingAnyone)
{
    int scrolls = 0;
    ds.events().afterScroll = [&](ClientDataSet &) { ++scrolls; };
    {
        const RecordPeek peek(ds, 3);
        EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"3802"_s);
        EXPECT_EQ(ds.recNo(), 1);
    }
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"1001"_s);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(ds.bookmarkAt(2), (ds.next(), ds.bookmark()));
    EXPECT_THROW(RecordPeek(ds, 4), EDatabaseError);
}

TEST_F(Payments, TheGridShowsDisplayTextsTitlesAndTheIndicator)
{
    ds.fieldByName(u"DESCR"_s).setDisplayLabel(u"Descrizione"_s);
    DataSetTableModel model(&ds);
    model.setColumns({u"CODICE"_s, u"DESCR"_s, u"IMPORTO"_s}, {u"Codice tributo"_s});
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), u"Codice tributo"_s);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), u"Descrizione"_s);
    // Amounts with thousands separators, a zero or missing amount blank.
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), u"1.234,50"_s);
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), QString());
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), QString());

    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), u"▶"_s);
    ds.last();
    ds.edit();
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), QString());
    EXPECT_EQ(model.headerData(2, Qt::Vertical).toString(), u"✎"_s);
    ds.cancel();
    ds.append();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.headerData(3, Qt::Vertical).toString(), u"✱"_s);
    ds.cancel();
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(Payments, TheGridFollowsTheDatasetATitleClickOrdersItAndASelectionGivesBookmarks)
{
    TNrDBGrid grid(&ds);
    grid.setColumns({u"CODICE"_s, u"NUMERO"_s});
    grid.setMultiSelect(true);
    grid.show();
    ds.setRecNo(2);
    EXPECT_EQ(grid.currentIndex().row(), 1);
    grid.setCurrentIndex(grid.model()->index(2, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ds.recNo() == 3; })) << "still waiting for ds.recNo()";
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"3802"_s);

    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid.horizontalHeader()->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(ds.indexFieldNames(), u"NUMERO"_s);
    EXPECT_EQ(grid.model()->data(grid.model()->index(0, 0)).toString(), u"1040"_s);
    EXPECT_EQ(grid.model()->data(grid.model()->index(2, 0)).toString(), u"1001"_s);

    grid.selectionModel()->clearSelection();
    for (int row : {2, 0})
        grid.selectionModel()->select(grid.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QList<Bookmark> chosen = grid.selectedBookmarks();
    ASSERT_EQ(chosen.size(), 2);
    ds.gotoBookmark(chosen[0]);
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"1040"_s);
    ds.gotoBookmark(chosen[1]);
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"1001"_s);
}

TEST_F(Payments, AGridWhoseRowsChangedWhileHiddenFitsItsColumnsWhenItShowsTheLastTakingTheRoomLeft)
{
    TNrDBGrid grid(&ds);
    grid.resize(260, 200);
    grid.setColumns({u"CODICE"_s, u"DESCR"_s});
    add(u"999999"_s, u"RITENUTE SUI REDDITI DI LAVORO AUTONOMO"_s, QString(), 4);
    grid.show();
    QCoreApplication::processEvents();
    const QHeaderView *header = grid.horizontalHeader();
    // The code column fits its values, the last one added too.
    const int code = header->sectionSize(0);
    grid.resizeColumnToContents(0);
    EXPECT_EQ(header->sectionSize(0), code);
    // The description is wider than the room left: it is cut, not scrolled to.
    EXPECT_EQ(header->sectionViewportPosition(1) + header->sectionSize(1), header->viewport()->width());
}

TEST_F(Payments, AnEditShowsItsFormatsAndRefusesWhatTheFieldCannotKeepWholeNamingTheField)
{
    QWidget window;
    auto *code = &bind(*new TNrDBEdit(&window), u"CODICE"_s);
    auto *descr = &bind(*new TNrDBEdit(&window), u"DESCR"_s);
    auto *amount = &bind(*new TNrDBEdit(&window), u"IMPORTO"_s);
    descr->move(0, 40);
    amount->move(0, 80);
    ds.fieldByName(u"CODICE"_s).setDisplayLabel(u"Codice tributo"_s);
    ds.fieldByName(u"IMPORTO"_s).setDisplayLabel(u"Importo versato"_s);
    showActive(&window);
    code->setFocus();
    EXPECT_EQ(amount->text(), u"1.234,50"_s);
    amount->setFocus();
    EXPECT_EQ(amount->text(), u"1234,50"_s);

    // An amount half typed is refused, naming its field, when the record is confirmed.
    amount->selectAll();
    QTest::keyClicks(amount, u"-"_s);
    try {
        source.updateRecord();
        FAIL() << "text that is not an amount was accepted";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), u"Il valore «-» non è valido per «Importo versato»."_s);
    }
    QTest::keyClicks(amount, u"12,3"_s);
    EXPECT_NO_THROW(source.updateRecord());
    ds.post();
    code->setFocus();
    EXPECT_EQ(amount->text(), u"-12,30"_s);

    // An amount of the form takes no minus.
    auto *positive = &bind(*new TNrDBEdit(&window), u"IMPORTO"_s);
    positive->setNegativeAllowed(false);
    positive->move(0, 120);
    positive->show();

    // Typed text is cut to what the field keeps; a pasted text is refused
    // whole; an amount takes digits, one comma and two decimals, and reads a
    // full stop as the comma or as a thousands separator.
    const struct
    {
        TNrDBEdit *edit;
        bool paste;
        QString text, value, tip;
    } entries[] = {
        {code, false, u"ABCDEFG"_s, u"ABCDEF"_s,
         u"«Codice tributo»: il testo è lungo 7 caratteri: il campo ne ammette 6."_s},
        {descr, true, u"Rossi\tMario"_s, u"RITENUTE"_s, QString()},
        {descr, true, QString(41, u'x'), u"RITENUTE"_s,
         u"«DESCR»: il testo è lungo 41 caratteri: il campo ne ammette 40."_s},
        {amount, false, u"12345678901234"_s, u"1234567890123"_s,
         u"«Importo versato»: l'importo ha 14 cifre intere, ne sono ammesse al massimo 13."_s},
        {amount, false, u"1a2,3x"_s, u"12,3"_s, QString()},
        {amount, false, u"1,2,3"_s, u"1,23"_s, QString()},
        {amount, false, u"1,234"_s, u"1,23"_s, QString()},
        {amount, false, u"5-"_s, u"5"_s, QString()},
        {amount, false, u"12.5"_s, u"12,5"_s, QString()},
        {amount, true, u"1.234,56"_s, u"1234,56"_s, QString()},
        {amount, false, u"-7"_s, u"-7"_s, QString()},
        {positive, false, u"\b-7"_s, u"7"_s, QString()},
    };
    for (const auto &e : entries) {
        SCOPED_TRACE(e.text.toStdString());
        e.edit->setFocus();
        e.edit->selectAll();
        if (e.paste) {
            QGuiApplication::clipboard()->setText(e.text);
            QTest::keySequence(e.edit, QKeySequence::Paste);
        } else {
            QTest::keyClicks(e.edit, e.text);
        }
        EXPECT_EQ(ds.fieldByName(e.edit->dataField()).asString(), e.value);
        if (!e.tip.isEmpty()) {
            EXPECT_EQ(QToolTip::text(), e.tip);
        }
    }
}

TEST_F(Payments, ADateEditTakesDayMonthYearAndMayBeLeftEmpty)
{
    TNrDBDateEdit date;
    bind(date, u"DATA"_s);
    ds.fieldByName(u"DATA"_s).setDisplayLabel(u"Data di nascita"_s);
    showActive(&date);
    type(&date, u"05032024"_s);
    EXPECT_EQ(ds.fieldByName(u"DATA"_s).asDate(), QDate(2024, 3, 5));
    EXPECT_EQ(date.text(), u"05/03/2024"_s);

    date.selectAll();
    QTest::keyClick(&date, Qt::Key_Delete);
    EXPECT_TRUE(ds.fieldByName(u"DATA"_s).isNull());
    EXPECT_NO_THROW(source.updateRecord());

    type(&date, u"31022024"_s);
    EXPECT_TRUE(ds.fieldByName(u"DATA"_s).isNull());
    try {
        source.updateRecord();
        FAIL() << "31/02/2024 was accepted";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(),
                  u"La data «31/02/2024» non è valida per «Data di nascita»: scriverla come gg/mm/aaaa."_s);
    }
    date.selectAll();
    QTest::keyClick(&date, Qt::Key_Delete);
    type(&date, u"0103"_s);
    EXPECT_THROW(source.updateRecord(), EConvertError);
}

TEST_F(Payments, ACheckBoxStoresOneOrZeroAsSoonAsItIsToggled)
{
    TNrDBCheckBox check(u"Ravvedimento"_s);
    bind(check, u"FLAG"_s);
    check.show();
    QTest::mouseClick(&check, Qt::LeftButton);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    EXPECT_EQ(ds.fieldByName(u"FLAG"_s).asString(), u"1"_s);
    QTest::mouseClick(&check, Qt::LeftButton);
    EXPECT_EQ(ds.fieldByName(u"FLAG"_s).asString(), u"0"_s);
    ds.fieldByName(u"FLAG"_s).setAsString(u"1"_s);
    EXPECT_TRUE(check.isChecked());
    ds.post();
    // A record without the flag shows it off.
    ds.next();
    EXPECT_FALSE(check.isChecked());
}

TEST_F(Payments, F8AndTheButtonRunTheLookupOnlyWhenTheEditIsEnabled)
{
    TNrDBLookupEdit lookup;
    bind(*lookup.edit(), u"CODICE"_s);
    int runs = 0;
    lookup.setOnLookup([&] { ++runs; });
    lookup.show();
    lookup.edit()->setFocus();
    QTest::keyClick(lookup.edit(), Qt::Key_F8);
    QTest::mouseClick(lookup.button(), Qt::LeftButton);
    EXPECT_EQ(runs, 2);
    lookup.setEditEnabled(false);
    QTest::keyClick(lookup.edit(), Qt::Key_F8);
    QTest::mouseClick(lookup.button(), Qt::LeftButton);
    QTest::keyClicks(lookup.edit(), u"9"_s);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"1001"_s);
}

TEST_F(Payments, TypingIntoAnEmptyTableStartsANewRecord)
{
    ds.emptyDataSet();
    TNrDBEdit edit;
    bind(edit, u"CODICE"_s);
    edit.show();
    type(&edit, u"1712"_s);
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    ds.post();
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"1712"_s);
}

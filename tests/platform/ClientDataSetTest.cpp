#include "ClientDataSet.h"
#include "DataSetFixtures.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using fixtures::addRow;
using fixtures::column;

namespace {

class RecordingObserver : public DataSetObserver
{
public:
    void dataSetChanged() override { events.append(u"changed"_s); }
    void recordChanged(const Field *f) override { events.append(u"record:"_s + (f ? f->fieldName() : u"*"_s)); }
    void cursorMoved() override { events.append(u"moved"_s); }
    void stateChanged() override { events.append(u"state"_s); }
    void dataSetDestroyed() override { events.append(u"destroyed"_s); }
    QStringList events;
};

struct Sample : ::testing::Test
{
    void SetUp() override { fixtures::defineSample(ds); }
    QString codice() { return ds.fieldByName(u"CODICE"_s).asString(); }
    ClientDataSet ds{u"cdsTest"_s};
};

} // namespace

TEST_F(Sample, ConvertsBetweenTypesWithTheItalianRules)
{
    ds.append();
    ds.fieldByName(u"codice"_s).setAsCurrency(*Decimal::parse(u"-0,5"_s));
    ds.fieldByName(u"NOME"_s).setAsDate(QDate(2023, 12, 31));
    ds.fieldByName(u"ANNO"_s).setAsString(u" 2022 "_s);
    ds.fieldByName(u"IMPORTO"_s).setAsString(u"1234,56"_s);
    ds.fieldByName(u"DATA"_s).setAsString(u"05/03/2024"_s);
    ds.fieldByName(u"VALORE"_s).setAsString(u"1,25"_s);
    ds.post();
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"-0,5"_s);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asDate(), QDate(2023, 12, 31));
    EXPECT_EQ(ds.fieldByName(u"ANNO"_s).asInteger(), 2022);
    EXPECT_EQ(ds.fieldByName(u"IMPORTO"_s).value().value<Decimal>(), *Decimal::parse(u"1234,56"_s));
    EXPECT_EQ(ds.fieldByName(u"DATA"_s).asDate(), QDate(2024, 3, 5));
    EXPECT_EQ(ds.fieldByName(u"VALORE"_s).asString(), u"1,25"_s);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asString(), u"31/12/2023"_s);
    EXPECT_EQ(ds.fieldByName(u"IMPORTO"_s).asString(), u"1234,56"_s);
    EXPECT_FALSE(ds.fieldByName(u"NOTE"_s).value().isValid());

    // An empty text clears a number; a text field keeps empty text; a long text is cut.
    ds.edit();
    ds.fieldByName(u"ANNO"_s).setAsString(QString());
    ds.fieldByName(u"CODICE"_s).setAsString(QString());
    ds.fieldByName(u"NOME"_s).setAsString(QString(41, u'X'));
    ds.post();
    EXPECT_TRUE(ds.fieldByName(u"ANNO"_s).isNull());
    EXPECT_FALSE(ds.fieldByName(u"CODICE"_s).isNull());
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asString(), QString(40, u'X'));
}

TEST_F(Sample, RefusalsNameTheirCauseAndLoseNothing)
{
    addRow(ds, {u"A"_s, QVariant(), 2023});
    EXPECT_THROW(ds.fieldByName(u"CODICE"_s).setAsString(u"B"_s), EDatabaseError); // browse state
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"ROSSI"_s);
    try {
        ds.fieldByName(u"ANNO"_s).setAsString(u"duemila"_s);
        FAIL() << "no error";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), u"'duemila' non è un valore intero valido per il campo ANNO"_s);
    }
    EXPECT_THROW(ds.fieldByName(u"DATA"_s).setAsString(u"31/04/2024"_s), EConvertError);
    EXPECT_THROW(ds.fieldByName(u"IMPORTO"_s).setAsString(u"1.23"_s), EConvertError);
    EXPECT_THROW(ds.fieldByName(u"ANNO"_s).setAsInteger(5000000000LL), EConvertError);
    // A number stands for a date only within 01/01/0001 and 31/12/9999.
    EXPECT_THROW(ds.fieldByName(u"DATA"_s).setAsFloat(-1e300), EConvertError);
    EXPECT_THROW(ds.fieldByName(u"DATA"_s).setAsInteger(3000000), EConvertError);
    try {
        ds.fieldByName(u"MANCANTE"_s);
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Campo «MANCANTE» non trovato nel dataset cdsTest"_s);
    }
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.post();
    EXPECT_EQ(ds.fieldByName(u"ANNO"_s).asInteger(), 2023);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asString(), u"ROSSI"_s);

    ClientDataSet closed;
    closed.fieldDefs().add(u"X"_s, FieldType::Integer);
    EXPECT_THROW(closed.append(), EDatabaseError);
}

TEST_F(Sample, WalksTheRecordsWithBofAndEof)
{
    EXPECT_TRUE(ds.bof() && ds.eof());
    EXPECT_EQ(ds.recNo(), 0);
    for (const auto *c : {u"A", u"B", u"C"})
        addRow(ds, {QString::fromUtf16(c)});
    ds.first();
    ds.prior();
    EXPECT_TRUE(ds.bof() && !ds.eof());
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(ds.moveBy(5), 2);
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(codice(), u"C"_s);
    EXPECT_EQ(ds.moveBy(-1), -1);
    EXPECT_EQ(codice(), u"B"_s);
    ds.setRecNo(1);
    EXPECT_EQ(codice(), u"A"_s);
}

TEST_F(Sample, AppendGoesToTheEndAndInsertBeforeTheCurrentRecord)
{
    addRow(ds, {u"Z"_s});
    // Many inserts at the same place each go before the one inserted just before.
    QStringList expected{u"Z"_s};
    for (int i = 0; i < 40; ++i) {
        ds.first();
        ds.insert();
        EXPECT_EQ(ds.updateStatus(), UpdateStatus::Inserted);
        ds.fieldByName(u"CODICE"_s).setAsString(QString::number(100 + i));
        ds.post();
        expected.prepend(QString::number(100 + i));
    }
    ds.first();
    ds.append();
    ds.fieldByName(u"CODICE"_s).setAsString(u"ZZ"_s);
    ds.post();
    expected.append(u"ZZ"_s);
    EXPECT_EQ(column(ds, u"CODICE"_s), expected);

    // The natural order survives a packed copy.
    ClientDataSet copy;
    copy.loadFromBytes(ds.saveToBytes(), u"copia"_s);
    EXPECT_EQ(column(copy, u"CODICE"_s), expected);
}

TEST_F(Sample, CancelMoveAndDeleteKeepTheRecordsConsistent)
{
    addRow(ds, {u"A"_s, u"ROSSI"_s});
    ds.mergeChangeLog();
    ds.append();
    ds.fieldByName(u"CODICE"_s).setAsString(u"B"_s);
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 1);
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"BIANCHI"_s);
    ds.cancel();
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asString(), u"ROSSI"_s);
    EXPECT_EQ(ds.changeCount(), 0);

    // Moving away posts a changed record and drops an untouched new one.
    addRow(ds, {u"B"_s});
    ds.first();
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"VERDI"_s);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).oldValue().toString(), u"ROSSI"_s);
    ds.next();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    ds.append();
    ds.first();
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asString(), u"VERDI"_s);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).oldValue().toString(), u"ROSSI"_s);

    // A refused post keeps the record in edit, as a window's rule wants.
    ds.events().beforePost = [](ClientDataSet &) { Abort(); };
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"NERI"_s);
    EXPECT_THROW(ds.next(), EAbort);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.cancel();
    ds.events().beforePost = nullptr;

    addRow(ds, {u"C"_s});
    ds.first();
    ds.next();
    ds.deleteRecord();
    EXPECT_EQ(codice(), u"C"_s);
    ds.deleteRecord();
    EXPECT_EQ(codice(), u"A"_s);
    ds.deleteRecord();
    EXPECT_TRUE(ds.isEmpty() && ds.eof() && ds.bof());
    EXPECT_THROW(ds.deleteRecord(), EDatabaseError);
    ds.edit();
    EXPECT_EQ(ds.state(), DataSetState::Insert);
}

TEST_F(Sample, EventsRunInOrderAndABeforeHandlerVetoes)
{
    QStringList log;
    auto record = [&log](const char16_t *name) {
        return [&log, name](ClientDataSet &) { log.append(QString::fromUtf16(name)); };
    };
    ds.events().beforeInsert = record(u"beforeInsert");
    ds.events().onNewRecord = [&log](ClientDataSet &d) {
        log.append(u"onNewRecord"_s);
        d.fieldByName(u"FLAG"_s).setAsBoolean(false);
    };
    ds.events().afterInsert = record(u"afterInsert");
    ds.events().beforePost = record(u"beforePost");
    ds.events().afterPost = record(u"afterPost");
    ds.append();
    EXPECT_FALSE(ds.modified()); // values given by onNewRecord do not count as changes
    ds.fieldByName(u"CODICE"_s).setAsString(u"A"_s);
    EXPECT_TRUE(ds.modified());
    ds.post();
    EXPECT_EQ(log,
              (QStringList{u"beforeInsert"_s, u"onNewRecord"_s, u"afterInsert"_s, u"beforePost"_s, u"afterPost"_s}));
    EXPECT_FALSE(ds.fieldByName(u"FLAG"_s).isNull());

    ds.events().beforeDelete = [](ClientDataSet &) { throw EDatabaseError(u"Cancellazione non consentita"_s); };
    EXPECT_THROW(ds.deleteRecord(), EDatabaseError);
    ds.events().beforeInsert = [](ClientDataSet &) { Abort(); };
    EXPECT_THROW(ds.append(), EAbort);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.recordCount(), 1);
}

TEST_F(Sample, ObserversHearNothingWhileControlsAreDisabledAndAreToldWhenTheDataSetGoes)
{
    RecordingObserver view;
    ds.addObserver(&view);
    addRow(ds, {u"A"_s});
    EXPECT_TRUE(view.events.contains(u"record:CODICE"_s));
    view.events.clear();
    ds.disableControls();
    ds.disableControls();
    addRow(ds, {u"B"_s});
    ds.enableControls();
    EXPECT_TRUE(view.events.isEmpty());
    ds.enableControls();
    EXPECT_EQ(view.events.count(u"changed"_s), 1);
    ds.removeObserver(&view);
    addRow(ds, {u"C"_s});
    EXPECT_EQ(view.events.count(u"changed"_s), 1);

    // A grid may outlive its dataset while a window tears down.
    auto other = std::make_unique<ClientDataSet>(u"cdsAltro"_s);
    other->addObserver(&view);
    other.reset();
    EXPECT_EQ(view.events.last(), u"destroyed"_s);
}

TEST_F(Sample, RequiredFieldsMustHaveAValue)
{
    ds.fieldByName(u"NOME"_s).setRequired(true);
    ds.fieldByName(u"NOME"_s).setDisplayLabel(u"Cognome"_s);
    ds.append();
    try {
        ds.post();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Il campo «Cognome» deve avere un valore"_s);
    }
    EXPECT_EQ(ds.state(), DataSetState::Insert);
}

#include "ClientDataSet.h"
#include "CaseFile.h"
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

// The sample dataset loaded as from the database: three unchanged records.
struct Loaded : ::testing::Test
{
    void SetUp() override
    {
        fixtures::defineSample(ds);
        addRow(ds, {u"A"_s, u"ROSSI"_s, 2021});
        addRow(ds, {u"B"_s, u"BIANCHI"_s, 2022});
        addRow(ds, {u"C"_s, u"VERDI"_s, 2023});
        ds.mergeChangeLog();
    }

    void editNome(const QString &codice, const QString &nome)
    {
        ASSERT_TRUE(ds.locate(u"CODICE"_s, codice));
        ds.edit();
        ds.fieldByName(u"NOME"_s).setAsString(nome);
        ds.post();
    }

    QString codice() { return ds.fieldByName(u"CODICE"_s).asString(); }
    QStringList codes() { return column(ds, u"CODICE"_s); }

    ClientDataSet ds{u"cdsTest"_s};
};

void set(Field &field, const QString &setter, const QString &value)
{
    if (setter == u"currency")
        field.setAsCurrency(*Decimal::parse(value));
    else if (setter == u"date")
        field.setAsDate(QDate::fromString(value, Qt::ISODate));
    else if (setter == u"integer")
        field.setAsInteger(value.toLongLong());
    else if (setter == u"float")
        field.setAsFloat(value.toDouble());
    else
        field.setAsString(value);
}

} // namespace

// Values set through every setter, read back as text with the Italian rules;
// a refused value names its cause and loses nothing.
TEST_F(Loaded, FieldsConvertTheirValuesOrRefuseThem)
{
    ds.edit();
    for (const QStringList &row : caseTextRows(QStringLiteral(ELH_CASES_DIR "/field-values.json"))) {
        SCOPED_TRACE(row.join(u" | "_s).toStdString());
        Field &field = ds.fieldByName(row[0]);
        const QString before = field.isNull() ? u"<null>"_s : field.asString();
        QString error;
        try {
            set(field, row[1], row[2]);
        } catch (const EConvertError &e) {
            error = u"!"_s + e.message();
        }
        EXPECT_EQ(error.isEmpty() ? (field.isNull() ? u"<null>"_s : field.asString()) : error, row[3]);
        if (!error.isEmpty()) {
            EXPECT_EQ(field.isNull() ? u"<null>"_s : field.asString(), before);
        }
    }
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.post();
    EXPECT_EQ(ds.fieldByName(u"IMPORTO"_s).value().value<Decimal>(), *Decimal::parse(u"1234,56"_s));
    EXPECT_EQ(ds.fieldByName(u"DATA"_s).asDate(), QDate(2024, 3, 5));
    EXPECT_FALSE(ds.fieldByName(u"NOTE"_s).value().isValid());

    EXPECT_THROW(ds.fieldByName(u"CODICE"_s).setAsString(u"B"_s), EDatabaseError); // browse state
    try {
        ds.fieldByName(u"MANCANTE"_s);
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Campo «MANCANTE» non trovato nel dataset cdsTest"_s);
    }
    ClientDataSet closed;
    closed.fieldDefs().add(u"X"_s, FieldType::Integer);
    EXPECT_THROW(closed.append(), EDatabaseError);
    closed.fieldDefs().add(u"NOME"_s, FieldType::String, 40, true);
    closed.createDataSet();
    closed.fieldByName(u"NOME"_s).setDisplayLabel(u"Cognome"_s);
    closed.append();
    try {
        closed.post();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Il campo «Cognome» deve avere un valore"_s);
    }
    EXPECT_EQ(closed.state(), DataSetState::Insert);
    // Made again with other fields, it finds them at their new places, in any case.
    closed.cancel();
    closed.fieldDefs().clear();
    closed.fieldDefs().add(u"NOME"_s, FieldType::String, 40);
    closed.fieldDefs().add(u"Y"_s, FieldType::Integer);
    closed.createDataSet();
    EXPECT_EQ(closed.fieldByName(u"nome"_s).index(), 0);
    EXPECT_EQ(closed.fieldByName(u"Y"_s).index(), 1);
    EXPECT_EQ(closed.findField(u"X"_s), nullptr);
}

TEST_F(Loaded, TheCursorWalksWithBofAndEofAndInsertsGoBeforeTheCurrentRecord)
{
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

    // Many inserts at the same place each go before the one inserted just before.
    QStringList expected = codes();
    for (int i = 0; i < 40; ++i) {
        ds.first();
        ds.insert();
        ds.fieldByName(u"CODICE"_s).setAsString(QString::number(100 + i));
        ds.post();
        expected.prepend(QString::number(100 + i));
    }
    ds.first();
    addRow(ds, {u"ZZ"_s});
    expected.append(u"ZZ"_s);
    EXPECT_EQ(codes(), expected);
    // The natural order survives a packed copy.
    ClientDataSet copy;
    copy.loadFromBytes(ds.saveToBytes(), u"copia"_s);
    EXPECT_EQ(column(copy, u"CODICE"_s), expected);

    ds.emptyDataSet();
    EXPECT_TRUE(ds.isEmpty() && ds.bof() && ds.eof());
    EXPECT_EQ(ds.recNo(), 0);
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(Loaded, CancelMoveAndDeleteKeepTheRecordsConsistent)
{
    // The first value a field is given, on a record then cancelled, leaves
    // it null on the others.
    ds.append();
    ds.fieldByName(u"CODICE"_s).setAsString(u"D"_s);
    ds.fieldByName(u"NOTE"_s).setAsString(u"NUOVA"_s);
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(column(ds, u"NOTE"_s), QStringList(3, u"<null>"_s));
    ds.first();
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"NERI"_s);
    ds.cancel();
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).asString(), u"ROSSI"_s);
    EXPECT_EQ(ds.changeCount(), 0);

    // Moving away posts a changed record and drops an untouched new one.
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"VERDI"_s);
    EXPECT_EQ(ds.fieldByName(u"NOME"_s).oldValue().toString(), u"ROSSI"_s);
    ds.next();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    ds.append();
    ds.first();
    EXPECT_EQ(ds.recordCount(), 3);
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

TEST_F(Loaded, EventsRunInOrderABeforeHandlerVetoesAndObserversHearNothingWhileControlsAreDisabled)
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
    RecordingObserver view;
    ds.addObserver(&view);
    ds.append();
    EXPECT_FALSE(ds.modified()); // values given by onNewRecord do not count as changes
    ds.fieldByName(u"CODICE"_s).setAsString(u"D"_s);
    EXPECT_TRUE(ds.modified());
    ds.post();
    EXPECT_EQ(log,
              (QStringList{u"beforeInsert"_s, u"onNewRecord"_s, u"afterInsert"_s, u"beforePost"_s, u"afterPost"_s}));
    EXPECT_FALSE(ds.fieldByName(u"FLAG"_s).isNull());
    EXPECT_TRUE(view.events.contains(u"record:CODICE"_s));

    ds.events().beforeDelete = [](ClientDataSet &) { throw EDatabaseError(u"Cancellazione non consentita"_s); };
    EXPECT_THROW(ds.deleteRecord(), EDatabaseError);
    ds.events().beforeInsert = [](ClientDataSet &) { Abort(); };
    EXPECT_THROW(ds.append(), EAbort);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.recordCount(), 4);
    ds.setEvents({});

    view.events.clear();
    ds.disableControls();
    ds.disableControls();
    addRow(ds, {u"E"_s});
    ds.enableControls();
    EXPECT_TRUE(view.events.isEmpty());
    ds.enableControls();
    EXPECT_EQ(view.events.count(u"changed"_s), 1);
    ds.removeObserver(&view);
    addRow(ds, {u"F"_s});
    EXPECT_EQ(view.events.count(u"changed"_s), 1);
    // A grid may outlive its dataset while a window tears down.
    auto other = std::make_unique<ClientDataSet>(u"cdsAltro"_s);
    other->addObserver(&view);
    other.reset();
    EXPECT_EQ(view.events.last(), u"destroyed"_s);
}

TEST_F(Loaded, TheDeltaWalkGivesEachChangeWithItsOldAndNewValuesAndKeepsWhatTheProviderWritesBack)
{
    editNome(u"C"_s, u"GRIGI"_s);
    ds.deleteRecord();
    editNome(u"A"_s, u"NERI"_s);
    addRow(ds, {u"D"_s, u"GIALLI"_s});
    addRow(ds, {u"E"_s});
    ds.deleteRecord(); // inserted and deleted: no trace
    editNome(u"B"_s, u"BLU"_s);
    editNome(u"B"_s, u"AZZURRI"_s);
    EXPECT_EQ(ds.changeCount(), 4);

    // Each change as "kind code old>new", "-" for a name given no new value,
    // "+anno" when ANNO is given one; in the order of the first change of each record.
    QStringList seen;
    int next = 100;
    ds.applyUpdates([&](DeltaRecord &d) {
        const int codice = d.indexOf(u"CODICE"_s);
        const int nome = d.indexOf(u"nome"_s);
        const QString kind = d.kind() == UpdateKind::Delete ? u"D"_s : d.kind() == UpdateKind::Insert ? u"I"_s : u"M"_s;
        const QVariant code = d.isAssigned(codice) ? d.newValue(codice) : d.oldValue(codice);
        seen.append(kind + u' ' + code.toString() + u' ' + d.oldValue(nome).toString() + u'>'
                    + (d.isAssigned(nome) ? d.newValue(nome).toString() : u"-"_s)
                    + (d.isAssigned(d.indexOf(u"ANNO"_s)) ? u" +anno"_s : QString()));
        if (d.kind() != UpdateKind::Delete)
            d.setValue(d.indexOf(u"ANNO"_s), ++next);
    });
    // A deleted record shows its original values, not the edited ones; a
    // modified one the values before its first change and only the changed fields.
    EXPECT_EQ(seen,
              (QStringList{u"D C VERDI>-"_s, u"M A ROSSI>NERI"_s, u"I D >GIALLI +anno"_s, u"M B BIANCHI>AZZURRI"_s}));
    // A successful walk merges the log; values written back by the provider stay.
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(codes(), (QStringList{u"A"_s, u"B"_s, u"D"_s}));
    EXPECT_EQ(column(ds, u"ANNO"_s), (QStringList{u"101"_s, u"103"_s, u"102"_s}));
}

TEST_F(Loaded, AFailedApplyKeepsTheLogAndCancelRestoresTheStateBeforeTheEdits)
{
    const QByteArray before = ds.saveToBytes();
    editNome(u"A"_s, u"NERI"_s);
    addRow(ds, {u"D"_s, u"GIALLI"_s});
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"C"_s));
    ds.deleteRecord();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"B"_s));

    int applied = 0;
    EXPECT_THROW(ds.applyUpdates([&applied](DeltaRecord &d) {
        d.setValue(d.indexOf(u"ANNO"_s), 1999);
        if (++applied == 2)
            throw EDatabaseError(u"errore del database"_s);
    }),
                 EDatabaseError);
    EXPECT_EQ(ds.changeCount(), 3);

    // A pending edit goes too.
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"BLU"_s);
    ds.cancelUpdates();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.saveToBytes(), before);
    // The record that was current before stays current.
    EXPECT_EQ(codice(), u"B"_s);
}

TEST_F(Loaded, RecordsMergedAwayStayOutOfWalksPacketsOrdersAndLaterChangesAndBookmarksSurvive)
{
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"C"_s));
    const Bookmark c = ds.bookmark();
    // One record dropped among ten: the store may keep it until more go.
    for (int i = 0; i < 7; ++i)
        addRow(ds, {u"X%1"_s.arg(i), u"ALTRI"_s, 2000 + i});
    ds.mergeChangeLog();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"B"_s));
    ds.deleteRecord();
    ds.applyUpdates([](DeltaRecord &) {});
    ASSERT_TRUE(ds.bookmarkValid(c));
    ds.gotoBookmark(c);
    EXPECT_EQ(codice(), u"C"_s);

    EXPECT_EQ(ds.recordCount(), 9);
    EXPECT_FALSE(ds.locate(u"CODICE"_s, u"B"_s));
    ClientDataSet copy;
    copy.loadFromBytes(ds.saveToBytes(), u"cdsCopia"_s);
    EXPECT_EQ(column(copy, u"CODICE"_s), codes());
    ds.setIndexFieldNames(u"NOME"_s);
    EXPECT_EQ(column(ds, u"NOME"_s).count(u"BIANCHI"_s), 0);
    ds.setIndexFieldNames(QString());

    editNome(u"C"_s, u"GRIGI"_s);
    addRow(ds, {u"D"_s});
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"X0"_s));
    ds.deleteRecord();
    ds.cancelUpdates();
    EXPECT_EQ(ds.recordCount(), 9);
    editNome(u"A"_s, u"NERI"_s);
    QStringList seen;
    ds.applyUpdates([&seen](DeltaRecord &d) { seen.append(d.oldValue(d.indexOf(u"CODICE"_s)).toString()); });
    EXPECT_EQ(seen, QStringList{u"A"_s});

    // Once enough are dropped the store is compacted, and what is left stays.
    for (const QString &code : {u"X0"_s, u"X1"_s, u"X2"_s}) {
        ASSERT_TRUE(ds.locate(u"CODICE"_s, code));
        ds.deleteRecord();
    }
    ds.mergeChangeLog();
    EXPECT_EQ(codes(), (QStringList{u"A"_s, u"C"_s, u"X3"_s, u"X4"_s, u"X5"_s, u"X6"_s}));
    EXPECT_EQ(column(ds, u"NOME"_s).first(), u"NERI"_s);
    ds.gotoBookmark(c);
    EXPECT_EQ(codice(), u"C"_s);
}

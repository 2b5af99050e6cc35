#include "THlmDBCds.h"
#include "ClientDataSet.h"
#include "DatabaseTest.h"
#include "Exceptions.h"
#include "ExportManifest.h"
#include "HlmWaitWindow.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "TempDir.h"

#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <mutex>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

using Texts = QList<std::pair<QString, QString>>;

const QString kTable = u"TPST_PROSPETTOST"_s;

// Every field type the store knows, in a table of the return's kind.
const QList<FieldDef> kAllTypes{
    {u"IFISRIGO"_s, FieldType::Integer, 0, false},         {u"SPSTMESE"_s, FieldType::String, 2, false},
    {u"FPSTIMPOVERSATO"_s, FieldType::Decimal, 0, false},  {u"DPSTDTVERS"_s, FieldType::Date, 0, false},
    {u"LPSTRAVVEDIMENTO"_s, FieldType::Integer, 0, false}, {u"SPSTNOTE"_s, FieldType::Memo, 0, false},
    {u"IPSTGRANDE"_s, FieldType::LargeInt, 0, false},      {u"FPSTTASSO"_s, FieldType::Float, 0, false},
    {u"DPSTORA"_s, FieldType::DateTime, 0, false},         {u"BPSTFLAG"_s, FieldType::Boolean, 0, false},
};

// Fields written "NAME" or "NAME:size": those named I... are integers, the
// others texts of the size given or 40.
QList<FieldDef> fields(const QString &names)
{
    QList<FieldDef> out;
    for (const QString &field : names.split(u' ')) {
        const QString name = field.section(u':', 0, 0);
        if (name.startsWith(u'I'))
            out.append({name, FieldType::Integer, 0, false});
        else
            out.append({name, FieldType::String, field.contains(u':') ? field.section(u':', 1).toInt() : 40, false});
    }
    return out;
}

// A table of one text field "SA".
const QList<FieldDef> kCodes = fields(u"IFISRIGO SA"_s);

// Records the wait window's calls: the desktop's window is out of reach here.
class RecordingWait : public HlmWaitWindow
{
public:
    void showWait(const QString &caption, const QString &text) override { calls.append(caption + u'|' + text); }
    void hideWait() override { calls.append(u"chiusa"_s); }
    QStringList calls;
};

} // namespace

class StoreContract : public DatabaseTest
{
protected:
    void SetUpOpened() override
    {
        store = std::make_unique<THlmDBCds>(2023, u"elh"_s, 0);
        store->setConnection(&connection());
        store->setFindings(findings());
    }

    qint64 addTable(const QString &name, const QList<FieldDef> &fields, int year = 2023, const QString &map = QString(),
                    bool registry = false, bool readOnly = false, const QString &program = u"elh"_s)
    {
        ClientDataSet structure;
        for (const FieldDef &f : fields)
            structure.fieldDefs().add(f);
        THlmDBCds::StructureDef def;
        def.program = program;
        def.table = name;
        def.year = year;
        def.schema = structure.saveToBytes();
        def.fieldMap = map;
        def.registry = registry;
        def.fieldMapReadOnly = readOnly;
        return store->createStructure(def);
    }

    qint64 valueRows(qint64 structure)
    {
        return scalar(u"SELECT COUNT(*) FROM TFIS_DATIFISCALI WHERE ICDSID = ?"_s, {structure}).toLongLong();
    }

    QVariant value(qint64 structure, qint64 record, const QString &field, const QString &column)
    {
        return scalar(u"SELECT "_s + column
                          + u" FROM TFIS_DATIFISCALI WHERE ICDSID = ? AND IFISRIGO = ? AND SFISFIELDNAME = ?"_s,
                      {structure, record, field});
    }

    QVariant person(qint64 id, const QString &column)
    {
        return scalar(u"SELECT "_s + column + u" FROM TAFI_ANAFISCALE WHERE IAFIID = ?"_s, {id});
    }

    qint64 lastRecord(qint64 structure)
    {
        return scalar(u"SELECT ICDSRIGO FROM TCDS_STRUTTURA WHERE ICDSID = ?"_s, {structure}).toLongLong();
    }

    // The rows of the store as text, to compare the database before and after.
    QStringList snapshot()
    {
        QStringList rows;
        QSqlQuery q(connection().database());
        for (const QString &sql :
             {u"SELECT ICDSID, ICRFID, IAFIID, IFISRIGO, SFISFIELDNAME, SFISVALUE, IFISVALUE, FFISVALUE "
              "FROM TFIS_DATIFISCALI ORDER BY ICDSID, IFISRIGO, SFISFIELDNAME"_s,
              u"SELECT IAFIID, SAFICODFISCALE FROM TAFI_ANAFISCALE ORDER BY IAFIID"_s,
              u"SELECT ICDSID, ICDSRIGO FROM TCDS_STRUTTURA ORDER BY ICDSID"_s}) {
            q.exec(sql);
            while (q.next()) {
                QStringList cols;
                for (int i = 0; i < q.record().count(); ++i)
                    cols.append(q.value(i).toString());
                rows.append(cols.join(u'|'));
            }
        }
        return rows;
    }

    static void append(ClientDataSet &ds, const Texts &texts)
    {
        ds.append();
        for (const auto &[field, text] : texts)
            ds.fieldByName(field).setAsString(text);
        ds.post();
    }

    // Saves one new record of the table and gives back its person.
    qint64 saveNew(const QString &table, const Texts &texts)
    {
        ClientDataSet ds;
        store->open(ds, table);
        append(ds, texts);
        store->save(ds, table);
        return ds.fieldByName(u"IAFIID"_s).asLargeInt();
    }

    // Saves new records with the codes given, through the fixture's store
    // or another one.
    void saveCodes(const QString &table, const QStringList &codes, THlmDBCds *through = nullptr)
    {
        THlmDBCds &with = through ? *through : *store;
        ClientDataSet ds;
        with.open(ds, table);
        for (const QString &c : codes)
            append(ds, {{u"SA"_s, c}});
        with.save(ds, table);
    }

    static QStringList column(ClientDataSet &ds, const QString &field = u"SA"_s)
    {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out.append(ds.fieldByName(field).asString());
        return out;
    }

    QStringList codes(const QString &table)
    {
        ClientDataSet ds;
        store->open(ds, table);
        return column(ds);
    }

    std::unique_ptr<THlmDBCds> store;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(StoreContract);

TEST_P(StoreContract, EveryFieldTypeGoesToItsValueColumnAndReadsBackEqual)
{
    const qint64 id = addTable(kTable, kAllTypes);
    const QString note = u"L'\u00e8lite «ritenute» \"NULL\", {a,b} \\n'); DROP TABLE TFIS_DATIFISCALI; --"_s;
    ClientDataSet ds;
    store->open(ds, kTable);
    EXPECT_TRUE(ds.isEmpty());
    ds.append();
    ds.fieldByName(u"SPSTMESE"_s).setAsString(u"01"_s);
    ds.fieldByName(u"FPSTIMPOVERSATO"_s).setAsCurrency(*Decimal::parse(u"1234,5678"_s));
    ds.fieldByName(u"DPSTDTVERS"_s).setAsDate(QDate(2024, 2, 29));
    ds.fieldByName(u"LPSTRAVVEDIMENTO"_s).setAsInteger(1);
    ds.fieldByName(u"SPSTNOTE"_s).setAsString(note);
    ds.fieldByName(u"IPSTGRANDE"_s).setAsInteger(Q_INT64_C(9000000000));
    ds.fieldByName(u"FPSTTASSO"_s).setAsFloat(0.125);
    ds.fieldByName(u"DPSTORA"_s).setAsDateTime(QDateTime(QDate(2023, 2, 16), QTime(10, 30, 15, 250)));
    ds.fieldByName(u"BPSTFLAG"_s).setAsBoolean(true);
    ds.post();
    store->save(ds, kTable);

    EXPECT_EQ(ds.fieldByName(u"IFISRIGO"_s).asInteger(), 1);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(valueRows(id), 9);
    // Each value in the one column of its type.
    const std::pair<const char16_t *, const char16_t *> columns[] = {
        {u"SPSTMESE", u"SFISVALUE"},         {u"FPSTIMPOVERSATO", u"FFISVALUE"}, {u"DPSTDTVERS", u"DFISVALUE"},
        {u"LPSTRAVVEDIMENTO", u"IFISVALUE"}, {u"SPSTNOTE", u"SFISVALUE"},        {u"IPSTGRANDE", u"IFISVALUE"},
        {u"FPSTTASSO", u"FFISVALUE"},        {u"DPSTORA", u"DFISVALUE"},         {u"BPSTFLAG", u"SFISVALUE"}};
    for (const auto &[field, column] : columns) {
        for (const QString &other : {u"SFISVALUE"_s, u"IFISVALUE"_s, u"FFISVALUE"_s, u"DFISVALUE"_s})
            EXPECT_EQ(value(id, 1, QString::fromUtf16(field), other).isNull(), other != QStringView(column))
                << QString::fromUtf16(field).toStdString() << " " << other.toStdString();
    }
    EXPECT_EQ(value(id, 1, u"IPSTGRANDE"_s, u"IFISVALUE"_s).toLongLong(), Q_INT64_C(9000000000));
    EXPECT_DOUBLE_EQ(value(id, 1, u"FPSTIMPOVERSATO"_s, u"FFISVALUE"_s).toDouble(), 1234.5678);
    EXPECT_EQ(NrSqlValue::toDate(value(id, 1, u"DPSTDTVERS"_s, u"DFISVALUE"_s)), QDate(2024, 2, 29));
    EXPECT_EQ(value(id, 1, u"BPSTFLAG"_s, u"SFISVALUE"_s).toString(), u"True"_s);

    ClientDataSet back;
    store->open(back, kTable);
    ASSERT_EQ(back.recordCount(), 1);
    for (int f = 0; f < ds.fieldCount(); ++f)
        EXPECT_EQ(back.field(f).value(), ds.field(f).value()) << ds.field(f).fieldName().toStdString();
    EXPECT_EQ(back.fieldByName(u"DPSTORA"_s).asDateTime().time().msec(), 250);
    EXPECT_EQ(back.changeCount(), 0);

    // Empty values are never stored: fields emptied lose their rows and read
    // back null, a record left empty takes its number and is not loaded.
    back.edit();
    back.fieldByName(u"SPSTMESE"_s).setAsString(QString());
    back.fieldByName(u"FPSTIMPOVERSATO"_s).clear();
    back.fieldByName(u"LPSTRAVVEDIMENTO"_s).setAsInteger(0);
    back.fieldByName(u"DPSTDTVERS"_s).setAsDate(QDate(1899, 12, 30));
    back.fieldByName(u"BPSTFLAG"_s).setAsBoolean(false);
    back.post();
    back.append();
    back.fieldByName(u"FPSTIMPOVERSATO"_s).setAsCurrency(Decimal());
    back.post();
    store->save(back, kTable);
    EXPECT_EQ(valueRows(id), 4);
    EXPECT_EQ(lastRecord(id), 2);
    store->open(back, kTable);
    ASSERT_EQ(back.recordCount(), 1);
    for (const QString &field : {u"SPSTMESE"_s, u"FPSTIMPOVERSATO"_s, u"LPSTRAVVEDIMENTO"_s, u"DPSTDTVERS"_s})
        EXPECT_TRUE(back.fieldByName(field).isNull()) << field.toStdString();
    EXPECT_EQ(back.fieldByName(u"SPSTNOTE"_s).asString(), note);
}

TEST_P(StoreContract, AmountsComeBackExactOrAreRefusedAndLongTextsAreReported)
{
    addTable(kTable, {{u"IFISRIGO"_s, FieldType::Integer, 0, false},
                      {u"SPSTMESE"_s, FieldType::String, 60, false},
                      {u"FPSTIMPOVERSATO"_s, FieldType::Decimal, 0, false}});
    const QStringList amounts{u"1234567890123,45"_s, u"-0,01"_s, u"99999999999,9999"_s};
    ClientDataSet ds;
    store->open(ds, kTable);
    for (const QString &a : amounts)
        append(ds, {{u"FPSTIMPOVERSATO"_s, a}, {u"SPSTMESE"_s, QString(60, u'x')}});
    store->save(ds, kTable);
    ClientDataSet back;
    store->open(back, kTable);
    EXPECT_EQ(column(back, u"FPSTIMPOVERSATO"_s), amounts);

    const QStringList before = snapshot();
    append(back, {{u"FPSTIMPOVERSATO"_s, u"123456789012345,68"_s}});
    try {
        store->save(back, kTable);
        FAIL() << "an amount that a double alters was saved";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(),
                  u"Tabella TPST_PROSPETTOST, record 4, campo FPSTIMPOVERSATO: l'importo 123456789012345,68 "
                  "ha troppe cifre per essere conservato esatto nel database (al massimo 15 cifre tra intere "
                  "e decimali); non è stato salvato."_s);
    }
    EXPECT_EQ(snapshot(), before);

    // A text the database holds longer than its field: kept as far as it fits, and told.
    exec(u"UPDATE TFIS_DATIFISCALI SET SFISVALUE = ? WHERE IFISRIGO = 2 AND SFISFIELDNAME = 'SPSTMESE'"_s,
         {QString(120, u'y')});
    findings().clear();
    store->open(back, kTable);
    EXPECT_EQ(findings().texts(),
              QStringList{u"Nella tabella TPST_PROSPETTOST ci sono testi più lunghi dei loro campi: "
                          "sono stati troncati alla lunghezza del campo. Correggerli prima di salvare "
                          "il record.\n - record 2, campo SPSTMESE (60 caratteri): «%1»"_s.arg(QString(120, u'y'))});
}

TEST_P(StoreContract, RecordNumbersAreGivenOnceAndKeptByChangesAndDeletesRemoveTheRows)
{
    // Two tables changed alike and saved as one: each keeps its own numbers.
    const std::array<QString, 2> tables{u"TREC"_s, u"TREC2"_s};
    std::array<qint64, 2> ids{};
    std::array<ClientDataSet, 2> sets;
    QList<std::pair<ClientDataSet *, QString>> both;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        ids[t] = addTable(tables[t], kCodes);
        saveCodes(tables[t], {u"A"_s, u"B"_s, u"C"_s});
        ClientDataSet &ds = sets[t];
        store->open(ds, tables[t]);
        ASSERT_TRUE(ds.locate(u"SA"_s, u"B"_s));
        EXPECT_EQ(ds.fieldByName(u"IFISRIGO"_s).asInteger(), 2);
        ds.edit();
        ds.fieldByName(u"SA"_s).setAsString(u"B2"_s);
        ds.post();
        ASSERT_TRUE(ds.locate(u"SA"_s, u"A"_s));
        ds.deleteRecord();
        append(ds, {{u"SA"_s, u"D"_s}});
        both.append({&ds, tables[t]});
    }
    store->save(both);

    for (std::size_t t = 0; t < tables.size(); ++t) {
        const qint64 id = ids[t];
        EXPECT_EQ(lastRecord(id), 4);
        EXPECT_EQ(value(id, 2, u"SA"_s, u"SFISVALUE"_s).toString(), u"B2"_s);
        EXPECT_FALSE(value(id, 1, u"SA"_s, u"SFISVALUE"_s).isValid());
        EXPECT_EQ(value(id, 4, u"SA"_s, u"SFISVALUE"_s).toString(), u"D"_s);
        // Loaded in record-number order.
        EXPECT_EQ(codes(tables[t]), (QStringList{u"B2"_s, u"C"_s, u"D"_s}));
    }
    const qint64 id = ids[0];
    ClientDataSet &ds = sets[0];

    // A table emptied but for one changed record, deletes sent by the hundred.
    QStringList many;
    for (int i = 0; i < 600; ++i)
        many.append(u"M%1"_s.arg(i));
    saveCodes(u"TREC"_s, many);
    store->open(ds, u"TREC"_s);
    ds.last();
    while (ds.recordCount() > 1)
        ds.deleteRecord();
    ds.edit();
    ds.fieldByName(u"SA"_s).setAsString(u"B3"_s);
    ds.post();
    store->save(ds, u"TREC"_s);
    EXPECT_EQ(codes(u"TREC"_s), QStringList{u"B3"_s});
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TFIS_DATIFISCALI WHERE ICDSID = ?"_s, {id}).toInt(), 1);
}

TEST_P(StoreContract, TheNewestStructureNotAfterTheYearServesIt)
{
    const qint64 v2020 = addTable(u"TVER"_s, kCodes, 2020);
    addTable(u"TVER"_s, fields(u"IFISRIGO SA SB"_s), 2024);

    ClientDataSet ds;
    store->open(ds, u"tver"_s);
    EXPECT_EQ(ds.findField(u"SB"_s), nullptr);
    append(ds, {{u"SA"_s, u"x"_s}});
    store->save(ds, u"TVER"_s);
    EXPECT_EQ(valueRows(v2020), 1);

    ClientDataSet later;
    store->openFor(later, u"TVER"_s, 0, 2024);
    EXPECT_NE(later.findField(u"SB"_s), nullptr);
    EXPECT_TRUE(later.isEmpty());

    // A version added while the store is in use serves its next save at
    // once, in the same transaction; the store goes on after the connection
    // is opened again.
    connection().startTransaction();
    saveCodes(u"TVER"_s, {u"y"_s});
    const qint64 v2022 = addTable(u"TVER"_s, kCodes, 2022);
    saveCodes(u"TVER"_s, {u"z"_s});
    connection().commitTransaction();
    EXPECT_EQ(valueRows(v2020), 2);
    EXPECT_EQ(valueRows(v2022), 1);
    connection().CloseConnection();
    ASSERT_TRUE(connection().OpenConnection());
    saveCodes(u"TVER"_s, {u"w"_s});
    EXPECT_EQ(codes(u"TVER"_s), (QStringList{u"z"_s, u"w"_s}));

    // A year left empty counts as 0 and serves every year.
    const qint64 noYear = addTable(u"TNULLO"_s, kCodes, 0);
    exec(u"UPDATE TCDS_STRUTTURA SET ICDSANNO = NULL, ICDSMESE = NULL WHERE ICDSID = ?"_s, {noYear});
    ClientDataSet any;
    store->open(any, u"TNULLO"_s);
    EXPECT_EQ(any.fieldCount(), 2);

    const struct
    {
        QString table;
        int year;
    } missing[] = {{u"TNONESISTE"_s, 2023}, {u"TVER"_s, 2019}};
    for (const auto &m : missing) {
        try {
            store->openFor(any, m.table, 0, m.year);
            ADD_FAILURE() << m.table.toStdString() << " opened for " << m.year;
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), u"Impossibile trovare il ClientDataSet (%1)."_s.arg(m.table));
        }
    }
}

TEST_P(StoreContract, TheProgramCodeSeparatesTablesOfTheSameName)
{
    addTable(u"TCUS_DATISOST"_s, kCodes, 2023, {}, false, false, u"eli"_s);
    addTable(u"TCUS_DATISOST"_s, kCodes);
    saveCodes(u"TCUS_DATISOST"_s, {u"del 770"_s});
    store->setProgramCode(u"eli"_s);
    saveCodes(u"TCUS_DATISOST"_s, {u"della CU"_s, u"altro"_s});
    EXPECT_EQ(codes(u"TCUS_DATISOST"_s), (QStringList{u"della CU"_s, u"altro"_s}));
    store->setProgramCode(u"elh"_s);
    EXPECT_EQ(codes(u"TCUS_DATISOST"_s), (QStringList{u"del 770"_s}));
}

// The identifiers of new persons: one undone with his savepoint may come
// back, and a second client after the commit never gets one already given.
TEST_P(StoreContract, NewPersonsOfATransactionAreNeverGivenTwice)
{
    // Opened first: the opening clears persons without a name.
    TdmkbrConnessione other;
    ASSERT_TRUE(other.OpenConnection());
    const int before = scalar(u"SELECT COUNT(*) FROM TAFI_ANAFISCALE"_s).toInt();
    QList<qint64> ids;
    {
        TNrTransaction t(connection());
        t.StartTransaction();
        connection().savepoint(u"persona"_s);
        store->newPerson();
        connection().rollbackToSavepoint(u"persona"_s);
        connection().releaseSavepoint(u"persona"_s);
        ids << store->newPerson() << store->newPerson();
        t.Commit();
    }
    THlmDBCds second(2023, u"elh"_s, 0);
    second.setConnection(&other);
    TNrTransaction t(other);
    t.StartTransaction();
    ids << second.newPerson() << second.newPerson() << second.newPerson();
    t.Commit();
    EXPECT_EQ(QSet<qint64>(ids.cbegin(), ids.cend()).size(), 5);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TAFI_ANAFISCALE"_s).toInt(), before + 5);
}

TEST_P(StoreContract, DeletingARegistryPersonRemovesThePersonADetailRecordKeepsIt)
{
    addTable(u"TDIP7_ANAGRFISCALI"_s,
             fields(u"IAFIID IFISRIGO SDIP7CODFIS:16 SDIP7COGNOME SDIP7GRUPPOANA:1 SDIP7NOTE"_s), 2023,
             u"saficodfiscale=SDIP7CODFIS;saficognome=SDIP7COGNOME;safigruppoana=SDIP7GRUPPOANA"_s, true);
    addTable(u"TREE7_REDDITOESTER"_s, fields(u"IAFIID IFISRIGO SFIS7ANNOREDDESTER:4"_s));

    // A person given before the first save is the one the record keeps.
    const qint64 id = store->newPerson();
    EXPECT_EQ(saveNew(u"TDIP7_ANAGRFISCALI"_s, {{u"IAFIID"_s, QString::number(id)},
                                                {u"SDIP7CODFIS"_s, u"RSSMRA80A01H501U"_s},
                                                {u"SDIP7COGNOME"_s, u"ROSSI"_s},
                                                {u"SDIP7GRUPPOANA"_s, u"D"_s}}),
              id);
    EXPECT_EQ(person(id, u"SAFICOGNOME"_s).toString(), u"ROSSI"_s);
    EXPECT_EQ(person(id, u"SAFIGRUPPOANA"_s).toString(), u"D"_s);
    // Mapped fields live in the person row only: a record of them alone reads back from it.
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TFIS_DATIFISCALI WHERE IAFIID = ? AND SFISFIELDNAME IN "
                     "('SDIP7CODFIS', 'SDIP7COGNOME', 'SDIP7GRUPPOANA')"_s,
                     {id})
                  .toInt(),
              0);
    ClientDataSet reread;
    store->open(reread, u"TDIP7_ANAGRFISCALI"_s);
    EXPECT_EQ(reread.fieldByName(u"IAFIID"_s).asLargeInt(), id);
    EXPECT_EQ(reread.fieldByName(u"SDIP7COGNOME"_s).asString(), u"ROSSI"_s);
    // A changed surname reaches the person row and keeps the record; after a
    // changed note it still holds the person.
    for (const auto &[field, text] : {std::pair{u"SDIP7COGNOME"_s, u"BIANCHI"_s}, {u"SDIP7NOTE"_s, u"altra"_s}}) {
        reread.edit();
        reread.fieldByName(field).setAsString(text);
        reread.post();
        store->save(reread, u"TDIP7_ANAGRFISCALI"_s);
        EXPECT_EQ(person(id, u"SAFICOGNOME"_s).toString(), u"BIANCHI"_s);
        EXPECT_EQ(person(id, u"SAFICODFISCALE"_s).toString(), u"RSSMRA80A01H501U"_s);
        ClientDataSet again;
        store->open(again, u"TDIP7_ANAGRFISCALI"_s);
        EXPECT_EQ(column(again, u"SDIP7COGNOME"_s), QStringList{u"BIANCHI"_s});
    }

    ClientDataSet income;
    store->open(income, u"TREE7_REDDITOESTER"_s);
    income.append();
    income.fieldByName(u"IAFIID"_s).setAsInteger(id);
    income.fieldByName(u"SFIS7ANNOREDDESTER"_s).setAsString(u"2023"_s);
    income.post();
    store->save(income, u"TREE7_REDDITOESTER"_s);
    income.deleteRecord();
    store->save(income, u"TREE7_REDDITOESTER"_s);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TAFI_ANAFISCALE WHERE IAFIID = ?"_s, {id}).toInt(), 1);

    // Saved with a detail record of the same fiscal code, the person
    // deleted is not the one the detail record finds.
    addTable(u"TDSE7_SOMMEEROGATE"_s, fields(u"IAFIID IFISRIGO SDAU7CODFIS:16"_s), 2023,
             u"saficodfiscale=SDAU7CODFIS"_s);
    ClientDataSet amounts;
    store->open(amounts, u"TDSE7_SOMMEEROGATE"_s);
    append(amounts, {{u"SDAU7CODFIS"_s, u"RSSMRA80A01H501U"_s}});
    reread.deleteRecord();
    store->save({{&reread, u"TDIP7_ANAGRFISCALI"_s}, {&amounts, u"TDSE7_SOMMEEROGATE"_s}});
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TAFI_ANAFISCALE WHERE IAFIID = ?"_s, {id}).toInt(), 0);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TFIS_DATIFISCALI WHERE IAFIID = ? AND SFISFIELDNAME IN "
                     "('SDIP7CODFIS', 'SDIP7COGNOME', 'SDIP7GRUPPOANA')"_s,
                     {id})
                  .toInt(),
              0);
    const qint64 other = amounts.fieldByName(u"IAFIID"_s).asLargeInt();
    EXPECT_NE(other, id);
    EXPECT_EQ(person(other, u"SAFICODFISCALE"_s).toString(), u"RSSMRA80A01H501U"_s);
}

TEST_P(StoreContract, ARecordWhosePersonIsGoneIsReportedOnLoadAndNeverSavedAgain)
{
    const QString table = u"TREE7_REDDITOESTER"_s;
    addTable(table, fields(u"IAFIID IFISRIGO SFIS7ANNOREDDESTER:4"_s));
    const qint64 gone = saveNew(table, {{u"SFIS7ANNOREDDESTER"_s, u"2021"_s}});
    const qint64 kept = saveNew(table, {{u"SFIS7ANNOREDDESTER"_s, u"2022"_s}});
    // The first person deleted by another run, his record left behind.
    exec(u"DELETE FROM TAFI_ANAFISCALE WHERE IAFIID = ?"_s, {gone});
    findings().clear();
    ClientDataSet ds;
    store->open(ds, table);
    EXPECT_EQ(findings().texts(),
              QStringList{u"Tabella TREE7_REDDITOESTER: 1 record senza persona (numeri 1). Non appartengono a nessuna "
                          "persona della dichiarazione e non possono essere salvati: cancellarli, poi importare di "
                          "nuovo le persone interessate."_s});

    // A change to it, or a new record of that person, is refused and writes nothing.
    const QString refused = u"Tabella TREE7_REDDITOESTER, record %1: la persona %2 (IAFIID) del record non esiste "
                            "nell'archivio; il record non è stato salvato."_s;
    const QStringList before = snapshot();
    for (const bool changed : {true, false}) {
        if (changed) {
            ds.first();
            ds.edit();
        } else {
            ds.append();
            ds.fieldByName(u"IAFIID"_s).setAsInteger(gone);
        }
        ds.fieldByName(u"SFIS7ANNOREDDESTER"_s).setAsString(u"2020"_s);
        ds.post();
        try {
            store->save(ds, table);
            ADD_FAILURE() << "saved a record without its person";
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), refused.arg(changed ? 1 : 3).arg(gone));
        }
        EXPECT_EQ(snapshot(), before);
    }
    // Deleted, it leaves a table whose records all have their person.
    ds.first();
    ds.deleteRecord();
    store->save(ds, table);
    findings().clear();
    store->open(ds, table);
    EXPECT_TRUE(findings().texts().isEmpty());
    EXPECT_EQ(column(ds, u"IAFIID"_s), QStringList{QString::number(kept)});
}

TEST_P(StoreContract, DetailRecordsWithTheSameFiscalCodeAndGroupShareAPerson)
{
    addTable(u"TDSE7_SOMMEEROGATE"_s, fields(u"IAFIID IFISRIGO SDAU7CODFIS:16 SGRUPPO:1"_s), 2023,
             u"saficodfiscale=SDAU7CODFIS;safigruppoana=SGRUPPO"_s);
    ClientDataSet ds;
    store->open(ds, u"TDSE7_SOMMEEROGATE"_s);
    append(ds, {{u"SDAU7CODFIS"_s, u"BNCLGU70C12F205Z"_s}, {u"SGRUPPO"_s, u"A"_s}});
    append(ds, {{u"SDAU7CODFIS"_s, u"bnclgu70c12f205z"_s}, {u"SGRUPPO"_s, u"A"_s}});
    append(ds, {{u"SDAU7CODFIS"_s, u"BNCLGU70C12F205Z"_s}, {u"SGRUPPO"_s, u"D"_s}});
    store->save(ds, u"TDSE7_SOMMEEROGATE"_s);
    const QStringList persons = column(ds, u"IAFIID"_s);
    ASSERT_EQ(persons.size(), 3);
    EXPECT_GT(persons[0].toLongLong(), 0);
    EXPECT_EQ(persons[0], persons[1]);
    EXPECT_NE(persons[0], persons[2]);

    // An empty group matches a person of any group.
    EXPECT_EQ(saveNew(u"TDSE7_SOMMEEROGATE"_s, {{u"SDAU7CODFIS"_s, u"BNCLGU70C12F205Z"_s}}), persons[0].toLongLong());
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TAFI_ANAFISCALE"_s).toInt(), 2);
    // New persons draw their numbers from the counter of the identifiers.
    EXPECT_EQ(scalar(u"SELECT INRGULTIMO FROM TNRG_GENERATORE WHERE SNRGTABELLA = 'TAFI_ANAFISCALE'"_s).toLongLong(),
              persons[2].toLongLong());
}

TEST_P(StoreContract, JoinedMapEntriesAreWrittenAsTextAndReadOnlyMapsNeverWrite)
{
    addTable(u"TREG"_s, fields(u"IAFIID IFISRIGO CFLavoratore:16 Cognome Matricola:6 Qualifica2:4"_s), 2023,
             u"saficognome=Cognome;saficodfiscale=CFLavoratore;safigruppoana=Matricola+Qualifica2"_s, true);
    const qint64 id = saveNew(u"TREG"_s, {{u"CFLavoratore"_s, u"VRDLCU75D15L219K"_s},
                                          {u"Cognome"_s, u"VERDI"_s},
                                          {u"Matricola"_s, u"000123"_s},
                                          {u"Qualifica2"_s, u"DOC"_s}});
    EXPECT_EQ(person(id, u"SAFIGRUPPOANA"_s).toString(), u"000123DOC"_s);
    // The joined fields cannot be rebuilt from the person: they keep their rows.
    ClientDataSet back;
    store->open(back, u"TREG"_s);
    EXPECT_EQ(back.fieldByName(u"Matricola"_s).asString(), u"000123"_s);
    EXPECT_EQ(back.fieldByName(u"Qualifica2"_s).asString(), u"DOC"_s);
    EXPECT_EQ(back.fieldByName(u"Cognome"_s).asString(), u"VERDI"_s);

    addTable(u"TSOLOLETTURA"_s, fields(u"IAFIID IFISRIGO SCF:16 SNOME"_s), 2023, u"saficodfiscale=SCF;safinome=SNOME"_s,
             false, true);
    const qint64 readOnly = saveNew(u"TSOLOLETTURA"_s, {{u"SCF"_s, u"NUOVOCF"_s}, {u"SNOME"_s, u"LUCA"_s}});
    EXPECT_GT(readOnly, id);
    EXPECT_TRUE(person(readOnly, u"SAFINOME"_s).isNull());
}

TEST_P(StoreContract, AnErrorMidSaveLeavesTheDatabaseAndTheDataSetAsBefore)
{
    addTable(u"TGUASTO"_s, fields(u"IFISRIGO SA SB SC"_s));
    saveCodes(u"TGUASTO"_s, {u"uno"_s, u"due"_s, u"tre"_s});
    refuseStoredText(u"GUASTO"_s);

    ClientDataSet ds;
    store->open(ds, u"TGUASTO"_s);
    ASSERT_TRUE(ds.locate(u"SA"_s, u"due"_s));
    ds.edit();
    ds.fieldByName(u"SA"_s).setAsString(u"due modificato"_s);
    ds.post();
    ASSERT_TRUE(ds.locate(u"SA"_s, u"uno"_s));
    ds.deleteRecord();
    // Enough rows that whole inserts reach the database before the failing one.
    for (int i = 0; i < 400; ++i)
        append(ds, {{u"SA"_s, u"nuovo %1"_s.arg(i)}, {u"SB"_s, u"b"_s}, {u"SC"_s, i == 399 ? u"GUASTO"_s : u"c"_s}});
    // Saved after another table's change, which goes back with it.
    addTable(u"TPRIMA"_s, kCodes);
    saveCodes(u"TPRIMA"_s, {u"prima"_s});
    const QStringList withFirst = snapshot();
    ClientDataSet first;
    store->open(first, u"TPRIMA"_s);
    append(first, {{u"SA"_s, u"seconda"_s}});
    try {
        store->save({{&first, u"TPRIMA"_s}, {&ds, u"TGUASTO"_s}});
        FAIL() << "the save did not fail";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.message().contains(u"guasto simulato"_s)) << e.message().toStdString();
    }
    EXPECT_TRUE(store->hasError());
    EXPECT_TRUE(store->errorText().contains(u"guasto simulato"_s));
    EXPECT_FALSE(connection().inTransaction());
    EXPECT_EQ(snapshot(), withFirst);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(column(first), QStringList{u"prima"_s});
    EXPECT_EQ(column(ds), (QStringList{u"uno"_s, u"due"_s, u"tre"_s}));

    // The next save works.
    store->save(ds, u"TGUASTO"_s);
    EXPECT_EQ(codes(u"TGUASTO"_s), (QStringList{u"uno"_s, u"due"_s, u"tre"_s}));
}

TEST_P(StoreContract, InTheCallersTransactionTheStoreNeitherCommitsNorRollsBack)
{
    const qint64 id = addTable(u"TCHIAMANTE"_s, kCodes);
    {
        TNrTransaction caller(connection());
        caller.StartTransaction();
        saveCodes(u"TCHIAMANTE"_s, {u"a"_s, u"b"_s});
        EXPECT_TRUE(connection().inTransaction());
        EXPECT_EQ(valueRows(id), 2);
        caller.Rollback();
    }
    EXPECT_EQ(valueRows(id), 0);
    EXPECT_EQ(lastRecord(id), 0);

    // Record numbers go on across two stores sharing the transaction, and
    // after a rollback to a savepoint, which undid the numbers given since.
    {
        TNrTransaction caller(connection());
        caller.StartTransaction();
        saveCodes(u"TCHIAMANTE"_s, {u"a"_s, u"b"_s});
        THlmDBCds other(2023, u"elh"_s, 0);
        other.setConnection(&connection());
        saveCodes(u"TCHIAMANTE"_s, {u"c"_s}, &other);
        connection().savepoint(u"prova"_s);
        saveCodes(u"TCHIAMANTE"_s, {u"annullato"_s});
        connection().rollbackToSavepoint(u"prova"_s);
        connection().releaseSavepoint(u"prova"_s);
        saveCodes(u"TCHIAMANTE"_s, {u"d"_s});
        caller.Commit();
    }
    EXPECT_EQ(codes(u"TCHIAMANTE"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(scalar(u"SELECT COUNT(DISTINCT IFISRIGO) FROM TFIS_DATIFISCALI WHERE ICDSID = ?"_s, {id}).toInt(), 4);
    EXPECT_EQ(lastRecord(id), 4);
    // The first save of a transaction inside a savepoint that is undone: its
    // lock went with it, and the next save takes it again.
    {
        TNrTransaction caller(connection());
        caller.StartTransaction();
        connection().savepoint(u"prova"_s);
        saveCodes(u"TCHIAMANTE"_s, {u"annullato"_s});
        connection().rollbackToSavepoint(u"prova"_s);
        saveCodes(u"TCHIAMANTE"_s, {u"e"_s});
        caller.Commit();
    }
    EXPECT_EQ(codes(u"TCHIAMANTE"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}));
    EXPECT_EQ(lastRecord(id), 5);
    exec(u"DELETE FROM TFIS_DATIFISCALI WHERE ICDSID = ?"_s, {id});

    refuseStoredText(u"GUASTO"_s);
    TNrTransaction caller(connection());
    caller.StartTransaction();
    saveCodes(u"TCHIAMANTE"_s, {u"tenuto"_s});
    EXPECT_THROW(saveCodes(u"TCHIAMANTE"_s, {u"GUASTO"_s}), EDatabaseError);
    // The caller decides: its transaction is still open.
    EXPECT_TRUE(connection().inTransaction());
    caller.Rollback();
    EXPECT_EQ(valueRows(id), 0);
}

TEST_P(StoreContract, TwoClientsSavingTheSameTableNeverShareARecordNumber)
{
    const qint64 id = addTable(u"TCONCORRENTE"_s, kCodes);
    constexpr int kRounds = 6;
    constexpr int kRecords = 150;
    std::mutex failuresLock;
    QStringList failures;
    auto client = [&](int n) {
        try {
            TdmkbrConnessione own;
            if (!own.OpenConnection())
                throw EDatabaseError(u"connessione non aperta"_s);
            THlmDBCds clientStore(2023, u"elh"_s, 0);
            clientStore.setConnection(&own);
            for (int round = 0; round < kRounds; ++round) {
                QStringList codes;
                for (int r = 0; r < kRecords; ++r)
                    codes.append(u"%1-%2-%3"_s.arg(n).arg(round).arg(r));
                saveCodes(u"TCONCORRENTE"_s, codes, &clientStore);
            }
        } catch (const Exception &e) {
            const std::lock_guard<std::mutex> guard(failuresLock);
            failures.append(e.message());
        }
    };
    std::thread first(client, 1);
    std::thread second(client, 2);
    first.join();
    second.join();
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
    const int total = 2 * kRounds * kRecords;
    EXPECT_EQ(scalar(u"SELECT COUNT(DISTINCT IFISRIGO) FROM TFIS_DATIFISCALI WHERE ICDSID = ?"_s, {id}).toInt(), total);
    EXPECT_EQ(valueRows(id), total);
    EXPECT_EQ(lastRecord(id), total);
}

TEST_P(StoreContract, PeriodsAndPersonsSelectTheRecordsLoaded)
{
    addTable(u"TMESE"_s, fields(u"IAFIID IFISRIGO SA"_s), 2020);
    THlmDBCds march(2023, u"elh"_s, 3);
    march.setConnection(&connection());
    ClientDataSet ds;
    march.open(ds, u"TMESE"_s);
    append(ds, {{u"SA"_s, u"marzo"_s}});
    march.save(ds, u"TMESE"_s);
    const qint64 marchPerson = ds.fieldByName(u"IAFIID"_s).asLargeInt();
    saveCodes(u"TMESE"_s, {u"anno"_s});

    EXPECT_EQ(codes(u"TMESE"_s), (QStringList{u"anno"_s}));
    const struct
    {
        int month, year;
        qsizetype records;
    } periods[] = {{3, 2023, 1}, {-1, 2023, 2}, {-1, 2022, 0}};
    ClientDataSet period;
    for (const auto &p : periods) {
        store->openFor(period, u"TMESE"_s, p.month, p.year);
        EXPECT_EQ(period.recordCount(), p.records) << p.month << '/' << p.year;
    }
    store->openForPerson(period, u"TMESE"_s, static_cast<int>(marchPerson), -1, 2023);
    EXPECT_EQ(column(period), QStringList{u"marzo"_s});
}

TEST_P(StoreContract, LoadingRunsNoHandlersAndRestoresThem)
{
    addTable(u"TEVENTI"_s, kCodes);
    saveCodes(u"TEVENTI"_s, {u"a"_s, u"b"_s});
    ClientDataSet ds;
    int posts = 0;
    ds.events().beforePost = [](ClientDataSet &) { throw EDatabaseError(u"controllo del modulo"_s); };
    ds.events().afterPost = [&posts](ClientDataSet &) { ++posts; };
    RecordingWait wait;
    store->setWaitWindow(&wait);
    store->open(ds, u"TEVENTI"_s);
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_FALSE(ds.controlsDisabled());
    EXPECT_EQ(wait.calls, (QStringList{u"Attendere...|Caricamento in corso...attendere."_s, u"chiusa"_s}));
    ds.edit();
    EXPECT_THROW(ds.post(), EDatabaseError);
    ds.cancel();

    store->setShowWait(false);
    wait.calls.clear();
    store->open(ds, u"TEVENTI"_s);
    EXPECT_TRUE(wait.calls.isEmpty());
    // A failed load also gives the handlers back.
    EXPECT_THROW(store->open(ds, u"TMANCANTE"_s), EDatabaseError);
    EXPECT_TRUE(static_cast<bool>(ds.events().afterPost));
    EXPECT_FALSE(ds.controlsDisabled());
}

TEST_P(StoreContract, ExportWritesEveryTableOfTheProgramInDescendingOrder)
{
    addTable(u"TPST_PROSPETTOST"_s, kCodes);
    addTable(u"TFOR_FORNITORE"_s, kCodes);
    addTable(u"TSOS_DATOSOSTITUTO"_s, kCodes, 2020);
    addTable(u"TSOS_DATOSOSTITUTO"_s, kCodes, 2023);
    addTable(u"TFUTURA"_s, kCodes, 2024);
    addTable(u"TCUS_DATISOST"_s, kCodes, 2023, {}, false, false, u"eli"_s);
    saveCodes(u"TFOR_FORNITORE"_s, {u"fornitore"_s});

    TempDir out;
    const QString folder = out.file(u"export/2023"_s);
    const QStringList written = store->exportAll(u"elh"_s, 2023, folder, 0);
    EXPECT_EQ(written, (QStringList{u"TSOS_DATOSOSTITUTO"_s, u"TPST_PROSPETTOST"_s, u"TFOR_FORNITORE"_s}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{u"ESPORTAZIONE.cds"_s, u"TFOR_FORNITORE.cds"_s, u"TPST_PROSPETTOST.cds"_s,
                           u"TSOS_DATOSOSTITUTO.cds"_s}));
    EXPECT_EQ(ExportManifest::year(folder), 2023);
    ClientDataSet file;
    file.loadFromFile(QDir(folder).filePath(u"TFOR_FORNITORE.cds"_s));
    EXPECT_EQ(column(file), QStringList{u"fornitore"_s});
    EXPECT_EQ(store->programCode(), u"elh"_s);
}

TEST_P(StoreContract, AReturnInstanceIsFoundOrCreatedOncePerProgramYearAndMonth)
{
    const qint64 a = THlmDBCds::returnInstance(connection(), u"ELH"_s, 2023, 0);
    EXPECT_EQ(THlmDBCds::returnInstance(connection(), u"elh"_s, 2023, 0), a);
    EXPECT_EQ(THlmDBCds::returnInstance(connection(), u"elh"_s, 2023, -1), a);
    const qint64 b = THlmDBCds::returnInstance(connection(), u"elh"_s, 2023, 5);
    const qint64 c = THlmDBCds::returnInstance(connection(), u"eli"_s, 2023, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(b, c);
    EXPECT_EQ(scalar(u"SELECT SCRFPROGRAMMA FROM TCRF_CROFISCALE WHERE ICRFID = ?"_s, {a}).toString(), u"elh"_s);
    EXPECT_TRUE(scalar(u"SELECT ICRFMESE FROM TCRF_CROFISCALE WHERE ICRFID = ?"_s, {a}).isNull());
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TCRF_CROFISCALE"_s).toInt(), 3);
}

#include "ImportF24.h"
#include "CaseFile.h"
#include "ClientDataSet.h"
#include "NrQuery.h"
#include "PayrollPayments.h"
#include "QtPrinters.h"
#include "ReturnDatabaseTest.h"

#include <QSqlRecord>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Prospetto
{
    QString table;
    QString statement;
};

const Prospetto kProspetti[] = {
    {u"TPST_PROSPETTOST"_s, u"QRY_ELH_ST_I"_s},
    {u"TPST2_PROSPETTOSTS2"_s, u"QRY_ELH_ST_II"_s},
    {u"TPSV_PROSPETTOSV"_s, u"QRY_ELH_SV"_s},
};

class ImportF24Test : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        loadDemo();
        write(u"TSOS_DATOSOSTITUTO"_s,
              R"({"records": [{"SSOSCODFIS": "80012345676", "SSOSTIPOINV": "2", "LSOSDIP": "0", "LSOSAUT": "0"}]})");
    }

    QString run(const ImportF24::Choice &choice = {})
    {
        ImportF24 import(store(), params().anfId());
        const QString text = import.run(choice);
        failed = import.failed();
        return text;
    }

    // The payroll's lines of one delegation paid in March 2023, or on the day given.
    void pay(const QByteArray &lines, const QByteArray &paid = "2023-03-16")
    {
        PayrollPayments::load(connection(),
                              R"({"deleghe": [{"IANFID": 2023, "DDF24DTVERS": ")" + paid + R"(", "righe": [)" + lines
                                  + "]}]}",
                              u"test"_s);
    }

    // Every value of a table, row by row, to compare before and after.
    QStringList rows(const QString &table)
    {
        const auto ds = read(table);
        QStringList all;
        for (; !ds->eof(); ds->next()) {
            QStringList values;
            for (int i = 0; i < ds->fieldCount(); ++i)
                values.append(ds->field(i).asString());
            all.append(values.join(u'|'));
        }
        return all;
    }

    QString agent(const QString &field) { return read(u"TSOS_DATOSOSTITUTO"_s)->fieldByName(field).asString(); }

    bool failed = false;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(ImportF24Test);

} // namespace

TEST_P(ImportF24Test, TheDemoPaymentsReplaceEachProspettoWithItsStatementsRows)
{
    ASSERT_EQ(params().anfId(), 2023);
    const QString expected = u"PROSPETTO ST SEZIONE I Erario\n - Importati 18 righi\n"
                             u"\nPROSPETTO ST SEZIONE II Addizionali regionali\n - Importati 23 righi\n"
                             u"\nPROSPETTO SV Addizionali comunali\n - Importati 20 righi\n"_s;
    EXPECT_EQ(run(), expected);
    EXPECT_FALSE(failed);
    // Importing again replaces the rows instead of adding to them.
    EXPECT_EQ(run(), expected);

    for (const Prospetto &p : kProspetti) {
        SCOPED_TRACE(p.table.toStdString());
        const auto imported = read(p.table);
        TNrQuery q(connection());
        q.fetch(p.statement, 0, u"SELECT"_s);
        q.setParam(u"ANNO"_s, u"2023"_s);
        q.setParam(u"DATA_INIZIALE"_s, u"2023-01-01"_s);
        q.open();
        int row = 0;
        for (; q.next(); imported->next(), ++row) {
            ASSERT_FALSE(imported->eof()) << "row " << row;
            const QSqlRecord columns = q.record();
            for (int c = 0; c < columns.count(); ++c) {
                const Field &field = imported->fieldByName(columns.fieldName(c));
                const QVariant value = q.value(c);
                const QString what = u"row %1 %2"_s.arg(row).arg(field.fieldName());
                if (value.isNull())
                    EXPECT_TRUE(field.isNull()) << what.toStdString();
                else if (field.dataType() == FieldType::Decimal)
                    EXPECT_EQ(field.asCurrency(), Decimal::fromDouble(value.toDouble())) << what.toStdString();
                else if (field.dataType() == FieldType::Date)
                    EXPECT_EQ(field.asDate(), NrSqlValue::toDate(value)) << what.toStdString();
                else
                    EXPECT_EQ(field.asString(), value.toString()) << what.toStdString();
            }
        }
        EXPECT_TRUE(imported->eof()) << "more rows than the statement gave";
    }
    // The municipalities of a month's surcharge are one SV row; IRAP and VAT stay out.
    const auto sv = read(u"TPSV_PROSPETTOSV"_s);
    EXPECT_EQ(sv->fieldByName(u"FPSVIMPVERS"_s).asString(), u"186,42"_s);
    EXPECT_EQ(agent(u"SSOSTIPOINV"_s), u"1"_s);
    EXPECT_EQ(agent(u"LSOSDIP"_s), u"1"_s);
    EXPECT_EQ(agent(u"LSOSAUT"_s), u"1"_s);
}

// Each step on the rows the steps before left: the payments it deletes and
// adds, the Prospetti chosen, the text of the run (whole or a part), whether
// it failed, the tables it must leave as they were, the agent's flags, and
// the count and first row of a table.
TEST_P(ImportF24Test, EachRunFollowsThePaymentsOfTheYearAndTheAgentsFlagsFollowTheRowsKept)
{
    for (const QJsonValue &value : caseDocument(QStringLiteral(ELH_CASES_DIR "/f24-steps.json")).array()) {
        const QJsonObject step = value.toObject();
        SCOPED_TRACE(step[u"note"_s].toString().toStdString());
        if (step[u"delete"_s].toBool())
            exec(u"DELETE FROM TRF24_RIGHEF24EP"_s);
        for (const QJsonValue &payment : step[u"pay"_s].toArray()) {
            const QByteArray lines = QJsonDocument(payment[1].toArray()).toJson(QJsonDocument::Compact);
            pay(lines.mid(1, lines.size() - 2), payment[0].toString().toLatin1());
        }
        QMap<QString, QStringList> before;
        for (const QJsonValue &table : step[u"unchanged"_s].toArray())
            before[table.toString()] = rows(table.toString());
        const QJsonArray choice = step[u"choice"_s].toArray();
        const QString text = run({choice[0].toBool(), choice[1].toBool(), choice[2].toBool()});
        if (step.contains(u"text"_s)) {
            EXPECT_EQ(text, step[u"text"_s].toString());
        }
        EXPECT_TRUE(text.contains(step[u"contains"_s].toString())) << text.toStdString();
        if (step.contains(u"failed"_s)) {
            EXPECT_EQ(failed, step[u"failed"_s].toBool());
        }
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            EXPECT_EQ(rows(it.key()), it.value()) << it.key().toStdString();
        const QJsonObject flags = step[u"flags"_s].toObject();
        for (auto it = flags.begin(); it != flags.end(); ++it)
            EXPECT_EQ(agent(it.key()), it.value().toString()) << it.key().toStdString();
        if (step.contains(u"count"_s)) {
            EXPECT_EQ(read(step[u"count"_s][0].toString())->recordCount(), step[u"count"_s][1].toInt());
        }
        if (step.contains(u"first"_s)) {
            const auto table = read(step[u"first"_s][0].toString());
            const QJsonObject fields = step[u"first"_s][1].toObject();
            for (auto it = fields.begin(); it != fields.end(); ++it)
                EXPECT_EQ(table->fieldByName(it.key()).asString(), it.value().toString()) << it.key().toStdString();
        }
    }
}

TEST_P(ImportF24Test, AFailureHalfWayKeepsTheProspettoAsItWasAndSaysWhy)
{
    const QStringList regional = rows(u"TPST2_PROSPETTOSTS2"_s);
    // The store refuses the rows of the Umbria region (code 19, a text no
    // other field of the three Prospetti holds) once the old rows are deleted.
    refuseStoredText(u"19"_s);
    const QString text = run();
    EXPECT_TRUE(failed);
    EXPECT_TRUE(
        text.contains(u"\nPROSPETTO ST SEZIONE II Addizionali regionali\n - Importazione del PROSPETTO ST SEZIONE II "
                      u"Addizionali regionali non riuscita, i dati già presenti non sono stati modificati: "_s))
        << text.toStdString();
    EXPECT_TRUE(text.contains(u"guasto simulato"_s)) << text.toStdString();
    EXPECT_EQ(rows(u"TPST2_PROSPETTOSTS2"_s), regional);
    // The other Prospetti are imported all the same.
    EXPECT_TRUE(text.startsWith(u"PROSPETTO ST SEZIONE I Erario\n - Importati 18 righi\n"_s));
    EXPECT_TRUE(text.endsWith(u"\nPROSPETTO SV Addizionali comunali\n - Importati 20 righi\n"_s));
}

// Each row: a line of the payroll paid on a day, the text written over its
// amount paid (a text only SQLite keeps in a number column), and the
// Prospetto (0 ST I, 1 ST II, 2 SV) that refuses it with the message, or
// none when it is imported.
TEST_P(ImportF24Test, EachBadLineOfThePayrollIsRefusedAndNamedAndItsProspettoKeepsItsRows)
{
    for (const QJsonValue &value : caseDocument(QStringLiteral(ELH_CASES_DIR "/f24-lines.json")).array()) {
        const QJsonObject c = value.toObject();
        const QByteArray line = QJsonDocument(c[u"line"_s].toObject()).toJson(QJsonDocument::Compact);
        SCOPED_TRACE(line.toStdString());
        const QString amountText = c[u"amountText"_s].toString();
        // PostgreSQL keeps no text in a number column.
        if (!amountText.isEmpty() && GetParam() == Engine::PostgreSQL)
            continue;
        exec(u"DELETE FROM TRF24_RIGHEF24EP"_s);
        exec(u"DELETE FROM TDF24_DELEGHEF24EP"_s);
        pay(R"({"SRF24SEZIONE": "E", "SRF24CODTRIBUTO": "100E", "SRF24MESE": "02", "SRF24ANNO": "2023", "FRF24VERSATO": 100},
               {"SRF24SEZIONE": "R", "SRF24CODTRIBUTO": "381E", "SRF24CODREG": "19", "SRF24MESE": "02", "SRF24ANNO": "2023", "FRF24VERSATO": 20},
               {"SRF24SEZIONE": "EL", "SRF24CODTRIBUTO": "385E", "SRF24MESE": "02", "SRF24ANNO": "2023", "FRF24VERSATO": 10})");
        pay(line, c[u"paid"_s].toString().toLatin1());
        if (!amountText.isEmpty())
            exec(u"UPDATE TRF24_RIGHEF24EP SET FRF24VERSATO = ? WHERE FRF24VERSATO = 5"_s, {amountText});
        QMap<QString, QStringList> before;
        for (const Prospetto &p : kProspetti)
            before[p.table] = rows(p.table);
        const QString text = run();
        const QStringList outcomes = text.split(u"\n\n"_s);
        ASSERT_EQ(outcomes.size(), 3) << text.toStdString();
        const qsizetype refusing = c[u"prospetto"_s].toInt(-1);
        EXPECT_EQ(failed, refusing >= 0) << text.toStdString();
        for (qsizetype i = 0; i < 3; ++i) {
            if (i == refusing) {
                EXPECT_TRUE(outcomes[i].contains(u" - Non importato, i dati già presenti non sono stati modificati: 1 "
                                                 u"righi delle deleghe F24EP non validi\n   - "_s))
                    << text.toStdString();
                EXPECT_TRUE(outcomes[i].contains(c[u"message"_s].toString())) << text.toStdString();
                EXPECT_EQ(rows(kProspetti[i].table), before[kProspetti[i].table]);
            } else {
                EXPECT_TRUE(outcomes[i].contains(u" - Importati "_s)) << text.toStdString();
            }
        }
    }
}

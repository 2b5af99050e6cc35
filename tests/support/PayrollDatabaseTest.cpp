#include "PayrollDatabaseTest.h"

#include "ClientDataSet.h"
#include "DatabaseSetup.h"
#include "FiscalCodes.h"
#include "PayrollTables.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;

namespace {

QString codeField(const ClientDataSet &ds)
{
    return ds.findField(u"SDIP7CODFIS"_s) ? u"SDIP7CODFIS"_s : u"SDAU7CODFIS"_s;
}

} // namespace

void PayrollDatabaseTest::SetUpOpened()
{
    ReturnDatabaseTest::SetUpOpened();
    for (const int year : {2022, 2023})
        exec(u"INSERT INTO TANF_ANNIFINANZ (IANFID, SANFDESCRIZIONE, DANFNORMAINIZIO, DANFNORMAFINE, IANFVALORE) "
             "VALUES (?, ?, ?, ?, ?)"_s,
             {year, QString::number(year), QDate(year, 1, 1), QDate(year, 12, 31), year});
    exec(u"INSERT INTO TSED_SEDI (ISEDID, IDWGID, SSEDNOMCODICEFISC) VALUES (1, 1, '80012345676')"_s);
    DatabaseSetup::pointToDemo(params());
}

void PayrollDatabaseTest::payroll(const QByteArray &json)
{
    PayrollTables::load(connection(), json, u"test"_s);
}

void PayrollDatabaseTest::certify(const QString &table, const QByteArray &records)
{
    write(table, R"({"records": [)" + records + "]}", 2023, u"eli"_s);
}

QString PayrollDatabaseTest::personCode(int n)
{
    const QString stem = u"CRTNMR%1%2%3D653"_s.arg(50 + n % 50)
                             .arg(QChar(u"ABCDEHLMPRST"[n / 50 % 12]))
                             .arg(1 + n / 600, 2, 10, QChar(u'0'));
    return withCheckCharacter(stem);
}

void PayrollDatabaseTest::certifyPeople(int count)
{
    QByteArray certifications;
    for (int n = 0; n < count; ++n) {
        certifications += (n ? ",\n" : "")
                          + uR"({"SCUDCODFIS": "%1", "SCUDMESE": "12", "SCUDCOGNOME": "Cognome%2", "SCUDNOME": "Nome",
                   "FCUDREDDDETR": "%2", "FCUDRITIRPEF": "%3", "FCUDADDREGIRPEF": "%4", "FCUDADDCOMSA": "12.5",
                   "ICUDPERIODOLAV": 365})"_s.arg(personCode(n))
                                .arg(20000 + n)
                                .arg(4000 + n)
                                .arg(300 + n)
                                .toUtf8();
    }
    certify(u"TCUD_DATICUD"_s, certifications);
}

QStringList PayrollDatabaseTest::rows(const QString &table, const QString &code)
{
    const auto ds = read(table);
    const QString field = codeField(*ds);
    QStringList all;
    for (; !ds->eof(); ds->next()) {
        if (ds->fieldByName(field).asString() != code)
            continue;
        QStringList values;
        for (int i = 0; i < ds->fieldCount(); ++i) {
            const Field &f = ds->field(i);
            if (f.fieldName() == u"IFISRIGO" || f.fieldName() == u"IAFIID" || f.fieldName() == field
                || f.asString().isEmpty() || f.asString() == u"0")
                continue;
            values.append(f.fieldName() + u'=' + f.asString());
        }
        all.append(values.join(u' '));
    }
    return all;
}

QString PayrollDatabaseTest::value(const QString &table, const QString &code, const QString &field)
{
    const auto ds = read(table);
    return ds->locate(codeField(*ds), code) ? ds->fieldByName(field).asString() : u"(nessuna riga)"_s;
}

#include "ClientDataSet.h"
#include "DemoSchoolTest.h"
#include "PdfReadBack.h"
#include "THlmDBCds.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The demo school, changed behind the program's back.
class QuadraturaCommand : public DemoSchoolTest
{
protected:
    // Changes the first row of the table whose fields hold the values,
    // behind the program's back.
    void change(const QString &table, const QString &keys, const QVariantList &values,
                const std::function<void(ClientDataSet &)> &edit)
    {
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.OpenConnection());
        THlmDBCds store(2023, u"elh"_s, 0);
        store.setConnection(&connection);
        ClientDataSet rows;
        store.open(rows, table);
        ASSERT_TRUE(rows.locate(keys, values)) << keys.toStdString();
        rows.edit();
        edit(rows);
        rows.post();
        store.save(rows, table);
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(QuadraturaCommand);

QStringList lines(const QString &out)
{
    return out.split(u'\n', Qt::SkipEmptyParts);
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST_P(QuadraturaCommand, ALatePaymentAndAChangedCertificationAreErrorsInEveryReport)
{
    const Outcome demo = run({u"quadratura"_s});
    ASSERT_EQ(demo.exitCode, 0) << demo.out.toStdString() << demo.err.toStdString();
    EXPECT_TRUE(lines(demo.out).last().startsWith(u"Quadratura: 0 errori, "_s)) << demo.out.toStdString();

    // The March withholding paid on the 2nd of May, without ravvedimento;
    // ROSSI certified 25,000 euros more IRPEF: the certifications now hold
    // more than ST I declares (44.631,40).
    change(u"TPST_PROSPETTOST"_s, u"SPSTMESE;SPSTCODTRIBUTO"_s, {u"03"_s, u"100E"_s},
           [](ClientDataSet &st) { st.fieldByName(u"DPSTDTVERS"_s).setAsDate(QDate(2023, 5, 2)); });
    change(u"TDIP7_ANAGRFISCALI"_s, u"SDIP7CODFIS"_s, {u"RSSMRA75D12D653T"_s}, [](ClientDataSet &people) {
        Field &irpef = people.fieldByName(u"FFIS7RITIRPEF"_s);
        irpef.setAsCurrency(irpef.asCurrency() + Decimal::fromInt(25000));
    });
    const QString pdf = root() + u"stampe/quadratura.pdf"_s;
    const QString csv = root() + u"quadratura.csv"_s;
    const Outcome found = run({u"quadratura"_s, u"--pdf"_s, pdf, u"--csv"_s, csv});
    EXPECT_EQ(found.exitCode, 1) << found.err.toStdString();
    QStringList added = lines(found.out);
    for (const QString &line : lines(demo.out))
        added.removeOne(line);
    const QStringList late = added.filter(u"Errore [ST I] 03/2023 100E: "_s);
    ASSERT_EQ(late.size(), 1) << found.out.toStdString();
    EXPECT_TRUE(late.first().contains(u"15 giorni dopo la scadenza del 17/04/2023"_s)) << late.first().toStdString();
    const QStringList certified = added.filter(u"Errore [Certificazioni]"_s);
    ASSERT_EQ(certified.size(), 1) << found.out.toStdString();
    EXPECT_TRUE(certified.first().contains(u"49.144,79"_s) && certified.first().contains(u"4.513,39"_s))
        << certified.first().toStdString();
    EXPECT_TRUE(found.out.endsWith(u"Stampa salvata in «%1».\nFile CSV salvato in «%2».\n"_s.arg(pdf, csv)));

    const QString lateText = late.first().section(u": "_s, 1);
    const QString printed = PdfReadBack::text(pdf, 1).simplified();
    EXPECT_TRUE(printed.contains(u"Quadratura"_s));
    EXPECT_TRUE(printed.contains(u"80012345676"_s));
    QString allPages;
    for (int p = 1; p <= PdfReadBack::pageCount(pdf); ++p)
        allPages += PdfReadBack::text(pdf, p).simplified() + u' ';
    EXPECT_TRUE(allPages.contains(lateText.left(40))) << allPages.toStdString();
    const QStringList csvLines = readAll(csv).split(u"\r\n"_s);
    const QStringList rows = csvLines.filter(u"Errore;ST I;03/2023;100E;"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows.first().contains(u";ST I riga "_s)) << rows.first().toStdString();
    const QStringList people = csvLines.filter(u"Errore;Certificazioni;"_s);
    ASSERT_EQ(people.size(), 1);
    EXPECT_TRUE(people.first().contains(u"ROSSI MARIO (RSSMRA75D12D653T)"_s)) << people.first().toStdString();
}

TEST_P(QuadraturaCommand, WhatKeepsItFromRunningIsSaidWithExitTwo)
{
    const Outcome usage = run({u"quadratura"_s, u"--pdf"_s});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err, u"Uso: elh770 quadratura [--pdf FILE] [--csv FILE]\n"_s);
    EXPECT_EQ(run({u"quadratura"_s, u"--csv"_s, u"a.csv"_s, u"--csv"_s, u"b.csv"_s}).exitCode, 2);

    const QString nowhere = root() + u"manca/quadratura.csv"_s;
    const Outcome unwritable = run({u"quadratura"_s, u"--csv"_s, nowhere});
    EXPECT_EQ(unwritable.exitCode, 2);
    EXPECT_TRUE(unwritable.err.contains(u"Quadratura non eseguita: Impossibile scrivere il file «%1»"_s.arg(nowhere)))
        << unwritable.err.toStdString();

    NrConnectionSettings settings = installation().settings();
    settings.database += GetParam() == Engine::SQLite ? u"/manca"_s : u"_manca"_s;
    installation().writeSettings(settings);
    const Outcome closed = run({u"quadratura"_s});
    EXPECT_EQ(closed.exitCode, 2);
    EXPECT_TRUE(closed.out.isEmpty()) << closed.out.toStdString();
    EXPECT_TRUE(closed.err.startsWith(u"Errore: "_s)) << closed.err.toStdString();
}

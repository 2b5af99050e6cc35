#include "ClientDataSet.h"
#include "DemoSchool.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class DemoPrints : public DemoSchool
{
protected:
    QString output(const QString &name) { return root() + u"stampe/"_s + name; }

    QList<int> templatePages(const QString &pdf)
    {
        QList<int> pages;
        for (const PdfReadBack::Page &p :
             PdfReadBack::read(pdf, QStringLiteral(ELH_DATA_ROOT "/USR/FL2023/Res/CoordStp/770_sempl_mod.pdf")))
            pages.append(p.templatePage);
        return pages;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, DemoPrints, testing::Values(Engine::SQLite), engineName);

} // namespace

TEST_P(DemoPrints, EveryProspettoOfTheDemoSchool)
{
    const QList<std::pair<QString, QList<int>>> prints = {
        {u"frontespizio"_s, {1, 2, 3}},
        {u"st"_s, {23, 24, 25, 26, 23, 24, 23, 24, 25, 26}},
        {u"sv"_s, {27, 27, 27, 27}},
        {u"sx"_s, {28, 29}},
        {u"sy"_s, {30, 31}},
        {u"di"_s, {22}},
        // Bianchi's two years of separate taxation.
        {u"dipendenti"_s, {4, 5, 6, 6,  7, 8, 9, 10, 4, 5, 6,  7, 8, 9, 10, 4, 5, 6,
                           7, 8, 9, 10, 4, 5, 6, 7,  8, 9, 10, 4, 5, 6, 7,  8, 9, 10}},
        {u"autonomi"_s, {11, 11, 11}},
    };
    for (const auto &[what, pages] : prints) {
        const QString file = output(what + u".pdf"_s);
        const Outcome printed = run({u"stampa"_s, what, u"--out"_s, file});
        ASSERT_EQ(printed.exitCode, 0) << what.toStdString() << printed.err.toStdString();
        EXPECT_EQ(printed.out, u"Stampa salvata in «%1».\n"_s.arg(file));
        EXPECT_EQ(templatePages(file), pages) << what.toStdString();
    }
    // Only the persons named, in the order given.
    const QString two = output(u"due.pdf"_s);
    ASSERT_EQ(run({u"stampa"_s, u"dipendenti"_s, u"--out"_s, two, u"--codice-fiscale"_s, u"VRDGPP58C10D653M"_s,
                   u"rssmra75d12d653t"_s})
                  .exitCode,
              0);
    const QList<PdfReadBack::Page> both = PdfReadBack::read(two);
    ASSERT_EQ(both.size(), 14);
    EXPECT_TRUE(both[0].has(u"VERDI"_s) && both[7].has(u"ROSSI"_s));
    // The agent carried over at the first command, with the school's code.
    EXPECT_TRUE(PdfReadBack::read(output(u"frontespizio.pdf"_s))[1].has(u"80012345676"_s));
}

TEST_P(DemoPrints, WhatHasNothingToPrintMakesNoFile)
{
    const Outcome ss = run({u"stampa"_s, u"ss"_s, u"--out"_s, output(u"ss.pdf"_s)});
    EXPECT_EQ(ss.exitCode, 0);
    EXPECT_EQ(ss.out, u"Nessun dato da stampare: il file non è stato creato.\n"_s);
    // The first command on the new database carried the agent of 2022 over.
    EXPECT_TRUE(ss.err.startsWith(u"Informazione: E' stata eseguita l'importazione automatica dall'anno precedente"_s))
        << ss.err.toStdString();
    EXPECT_TRUE(
        ss.err.endsWith(u"Attenzione: Si ricorda che la stampa dei prospetti SS è aggiornata con i dati calcolati "
                        u"durante l'ultima creazione del file telematico.\n"_s))
        << ss.err.toStdString();
    EXPECT_FALSE(QDir(output(QString())).exists());
}

TEST_P(DemoPrints, TheSummaryReportsShowTheDemoPeople)
{
    const std::pair<QString, QStringList> reports[] = {
        {u"inps"_s, {u"ESPOSITO"_s, u"3120,00"_s}},
        {u"tassazione-separata"_s, {u"BIANCHI"_s, u"1240,50"_s, u"2021"_s}},
        {u"irpef"_s, {u"ROSSI"_s, u"VERDI"_s, u"6262,85"_s, u"Totale complessivo"_s}},
        {u"inpdap"_s, {u"ESPOSITO"_s, u"21760,90"_s}},
        {u"autonomi"_s, {u"GALLI"_s, u"STUDIO ASSOCIATO BIANCONI E FORTI"_s, u"2400,00"_s}},
    };
    for (const auto &[what, expected] : reports) {
        const QString file = output(what + u".pdf"_s);
        const Outcome printed = run({u"riepilogo"_s, what, u"--out"_s, file});
        ASSERT_EQ(printed.exitCode, 0) << what.toStdString() << printed.err.toStdString();
        const QString text = PdfReadBack::text(file, 1);
        for (const QString &shown : expected)
            EXPECT_TRUE(text.contains(shown)) << what.toStdString() << ": " << shown.toStdString();
    }
}

TEST_P(DemoPrints, MistakesAndMissingFilesAreReported)
{
    EXPECT_EQ(run({u"stampa"_s}).exitCode, 2);
    EXPECT_EQ(run({u"stampa"_s, u"sz"_s, u"--out"_s, output(u"x.pdf"_s)}).exitCode, 2);
    const Outcome noOut = run({u"riepilogo"_s, u"inps"_s});
    EXPECT_EQ(noOut.exitCode, 2);
    EXPECT_EQ(noOut.err, u"Uso: elh770 riepilogo inps|tassazione-separata|irpef|inpdap|autonomi --out FILE.pdf\n"_s);

    const Outcome unknown = run({u"stampa"_s, u"dipendenti"_s, u"--out"_s, output(u"d.pdf"_s), u"--codice-fiscale"_s,
                                 u"RSSMRA75D12D653T"_s, u"xxxxxx"_s});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err.split(u'\n').filter(u"Codice fiscale"_s),
              QStringList{u"Codice fiscale «XXXXXX» non presente tra i dipendenti della dichiarazione."_s});
    EXPECT_EQ(run({u"stampa"_s, u"autonomi"_s, u"--out"_s, output(u"a.pdf"_s), u"GLLRRT65L08G478C"_s}).exitCode, 2);

    ASSERT_TRUE(QFile::remove(root() + u"USR/FL2023/Res/CoordStp/ProspDI.xml"_s));
    const Outcome failed = run({u"stampa"_s, u"di"_s, u"--out"_s, output(u"di.pdf"_s)});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(u"Errore: Impossibile creare il file PDF:\n\r1) Controllare"_s))
        << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains(u"ProspDI.xml» non esiste."_s));
    EXPECT_FALSE(QFile::exists(output(u"di.pdf"_s)));
}

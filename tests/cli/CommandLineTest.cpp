#include "Elh770Process.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

Outcome elh770(const QStringList &args)
{
    return runProgram(QString::fromUtf8(ELH770_EXE), args);
}

} // namespace

TEST(CommandLine, VersionAndHelp)
{
    const Outcome v = elh770({u"--version"_s});
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_TRUE(v.out.startsWith(u"elh770 "_s));
    EXPECT_EQ(elh770({u"--help"_s}).exitCode, 0);
    const Outcome bad = elh770({u"stampa-tutto"_s});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(u"Comando sconosciuto: stampa-tutto"_s));
}

TEST(CommandLine, WritesATableFromCsvAndReadsItBackAndABadFileFailsWithAnItalianMessage)
{
    TempDir dir;
    const QString csv = dir.write(u"TCOA_CODCARICA.csv"_s, "CODICE:string:2,DESCRIZIONE:string:200\r\n"
                                                           "1,\"Rappresentante legale, negoziale o di fatto\"\r\n"
                                                           "2,Rappresentante di minore\r\n");
    const QString cds = dir.file(u"TCOA_CODCARICA.CDS"_s);
    const Outcome w = elh770({u"cds"_s, u"scrivi"_s, csv, cds});
    ASSERT_EQ(w.exitCode, 0) << w.err.toStdString();
    EXPECT_TRUE(w.out.contains(u"2 record"_s));
    const Outcome r = elh770({u"cds"_s, u"leggi"_s, cds, u"--csv"_s});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, u"CODICE:string:2,DESCRIZIONE:string:200\r\n"
                     "1,\"Rappresentante legale, negoziale o di fatto\"\r\n"
                     "2,Rappresentante di minore\r\n"_s);
    const Outcome j = elh770({u"cds"_s, u"leggi"_s, cds});
    EXPECT_TRUE(j.out.contains(u"\"DESCRIZIONE\": \"Rappresentante di minore\""_s));

    const QString bad = dir.write(u"t.csv"_s, "N:integer\nuno\n");
    const Outcome refused = elh770({u"cds"_s, u"scrivi"_s, bad, dir.file(u"t.cds"_s)});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"riga 2, campo N: valore «uno» non valido"_s)) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file(u"t.cds"_s)));
    const QString junk = dir.write(u"junk.cds"_s, "not a table");
    const Outcome damaged = elh770({u"cds"_s, u"leggi"_s, junk});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains(u"Dati non validi o danneggiati"_s));
}

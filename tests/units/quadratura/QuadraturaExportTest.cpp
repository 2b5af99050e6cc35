#include "QuadraturaExport.h"
#include "DataPaths.h"
#include "Exceptions.h"
#include "PdfReadBack.h"
#include "TempDir.h"

#include <QFile>
#include <QProcess>

#include <functional>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

Decimal amount(const char *text)
{
    return *Decimal::parseC(QString::fromLatin1(text));
}

QuadraturaFinding finding(FindingLevel level, QuadraturaArea area, const QString &period, const QString &code,
                          const QString &text)
{
    QuadraturaFinding f;
    f.level = level;
    f.area = area;
    f.period = period;
    f.taxCode = code;
    f.text = text;
    return f;
}

// Three findings that use every column: quotes and separators in the text,
// a place, days late, rows, people, an amount without its counterpart.
QuadraturaReport threeFindings()
{
    QuadraturaReport report;
    QuadraturaFinding short100 = finding(FindingLevel::Error, QuadraturaArea::StI, u"03/2023"_s, u"100E"_s,
                                         u"Versato meno del ritenuto; controllare la riga \"100E\""_s);
    short100.expected = amount("2655.10");
    short100.found = amount("2455.10");
    short100.rows = {{QuadraturaArea::StI, 3}};
    QuadraturaFinding late = finding(FindingLevel::Warning, QuadraturaArea::StII, u"07/2023"_s, u"3802"_s,
                                     u"Versamento tardivo senza ravvedimento"_s);
    late.place = u"LOMBARDIA"_s;
    late.expected = amount("1234.5");
    late.found = amount("1234.5");
    late.daysLate = 12;
    late.rows = {{QuadraturaArea::StII, 0}, {QuadraturaArea::StII, 1}};
    QuadraturaFinding certified = finding(FindingLevel::Information, QuadraturaArea::Certificazioni, QString(),
                                          QString(), u"Certificato più del versato"_s);
    certified.found = amount("6362.85");
    certified.people = {{u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"ROSSI MARIO"_s},
                        {u"TDIP7_ANAGRFISCALI"_s, u"VRDGPP58C10D653M"_s, u"VERDI GIUSEPPE"_s}};
    report.findings = {short100, late, certified};
    report.months[0][6] = {amount("3340.90"), amount("3340.90"), true};
    report.months[0][7] = {amount("1185.30"), amount("900"), false};
    return report;
}

// Enough findings for several pages, the last one named by its number.
QuadraturaReport manyFindings()
{
    QuadraturaReport report;
    for (int i = 1; i <= 150; ++i) {
        report.findings.append(finding(FindingLevel::Warning, QuadraturaArea::Sv,
                                       u"%1/2023"_s.arg(i % 12 + 1, 2, 10, QChar(u'0')), u"3848"_s,
                                       u"Segnalazione numero %1: una descrizione abbastanza lunga da andare a capo "
                                       u"almeno una volta nella pagina stampata, come i testi veri che spiegano "
                                       u"che cosa controllare."_s.arg(i)));
    }
    return report;
}

QString qpdfCheck(const QString &pdf)
{
    QProcess check;
    check.start(u"qpdf"_s, {u"--check"_s, pdf});
    check.waitForFinished();
    return check.exitCode() == 0 ? QString::fromUtf8(check.readAllStandardOutput())
                                 : u"exit %1: %2"_s.arg(check.exitCode()).arg(QString::fromUtf8(check.readAll()));
}

} // namespace

TEST(QuadraturaExport, LinesOfTheTerminalAndTheWizard)
{
    const QuadraturaReport report = threeFindings();
    const QStringList lines = {
        u"Errore [ST I] 03/2023 100E: Versato meno del ritenuto; controllare la riga \"100E\""_s,
        u"Attenzione [ST II] 07/2023 3802: Versamento tardivo senza ravvedimento"_s,
        u"Informazione [Certificazioni]: Certificato più del versato"_s,
    };
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(quadraturaFindingLine(report.findings[i]), lines[i]);
    EXPECT_EQ(quadraturaCountsLine(report), u"Quadratura: 1 errori, 1 avvisi, 1 informazioni"_s);
    EXPECT_EQ(quadraturaMemoLine(manyFindings()),
              u"Quadratura: 0 errori, 150 avvisi — vedere la finestra Quadratura"_s);
    EXPECT_EQ(quadraturaFailureLine(u"Quadratura: nessuna connessione al database della scuola"_s),
              u"Quadratura non eseguita: nessuna connessione al database della scuola"_s);
    EXPECT_EQ(quadraturaFailureLine(u"Impossibile scrivere il file «q.csv»"_s),
              u"Quadratura non eseguita: Impossibile scrivere il file «q.csv»"_s);
}

TEST(QuadraturaExport, CsvHasALineForEachFindingInItalianForm)
{
    TempDir dir;
    const QString file = dir.file(u"quadratura.csv"_s);
    writeQuadraturaCsv(threeFindings(), file);
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s),
              (QStringList{
                  u"Livello;Area;Periodo;Codice tributo;Regione o comune;Atteso;Trovato;Differenza;Giorni di ritardo;"
                  u"Descrizione;Righe;Persone"_s,
                  u"Errore;ST I;03/2023;100E;;2.655,10;2.455,10;-200,00;;"
                  u"\"Versato meno del ritenuto; controllare la riga \"\"100E\"\"\";ST I riga 4;"_s,
                  u"Attenzione;ST II;07/2023;3802;LOMBARDIA;1.234,50;1.234,50;0,00;12;"
                  u"Versamento tardivo senza ravvedimento;ST II riga 1, ST II riga 2;"_s,
                  u"Informazione;Certificazioni;;;;;6.362,85;;;Certificato più del versato;;"
                  u"ROSSI MARIO (RSSMRA75D12D653T), VERDI GIUSEPPE (VRDGPP58C10D653M)"_s,
                  QString(),
              }));
}

TEST(QuadraturaExport, PrintHoldsTitleSummaryChartAndFindingsOnEnoughPages)
{
    TempDir dir;
    const struct
    {
        QuadraturaReport report;
        QStringList firstPage;
        QStringList lastPage;
        bool severalPages;
    } cases[] = {
        {threeFindings(),
         {u"Quadratura"_s, u"SCUOLA DEMO - C.F. 80012345676"_s, u"Modello 770/2024 - Redditi 2023"_s,
          u"Ritenute lavoro dipendente"_s, u"Addizionale comunale"_s, u"tardivo"_s, u"Segnalazioni (3)"_s,
          u"Versamento tardivo senza ravvedimento"_s, u"12 gg"_s, u"-200,00"_s, u"VERDI GIUSEPPE"_s},
         {u"Pagina 1 di 1"_s},
         false},
        {manyFindings(), {u"Segnalazioni (150)"_s, u"Segnalazione numero 1:"_s}, {u"Segnalazione numero 150:"_s}, true},
    };
    for (const auto &c : cases) {
        const QString pdf = dir.file(u"stampe/quadratura.pdf"_s);
        printQuadratura(c.report, pdf, u"SCUOLA DEMO - C.F. 80012345676"_s);
        EXPECT_TRUE(qpdfCheck(pdf).contains(u"No syntax or stream encoding errors"_s)) << qpdfCheck(pdf).toStdString();
        const int pages = PdfReadBack::pageCount(pdf);
        EXPECT_EQ(pages > 1, c.severalPages) << pages;
        const QString first = PdfReadBack::text(pdf, 1);
        const QString last = PdfReadBack::text(pdf, pages);
        for (const QString &shown : c.firstPage)
            EXPECT_TRUE(first.contains(shown)) << shown.toStdString() << "\n" << first.toStdString();
        for (const QString &shown : c.lastPage)
            EXPECT_TRUE(last.contains(shown)) << shown.toStdString() << "\n" << last.toStdString();
        EXPECT_TRUE(last.contains(u"Pagina %1 di %1"_s.arg(pages)));
    }
}

TEST(QuadraturaExport, AFileThatCannotBeWrittenIsNamed)
{
    TempDir dir;
    const QString notAFolder = dir.write(u"occupato"_s, "un file, non una cartella");
    const QuadraturaReport report = threeFindings();
    const struct
    {
        std::function<void()> write;
        QString named;
    } cases[] = {
        {[&] { writeQuadraturaCsv(report, dir.file(u"manca/q.csv"_s)); }, dir.file(u"manca/q.csv"_s)},
        {[&] { printQuadratura(report, notAFolder + u"/q.pdf"_s, QString()); }, notAFolder},
    };
    for (const auto &c : cases) {
        try {
            c.write();
            ADD_FAILURE() << "written: " << c.named.toStdString();
        } catch (const Exception &e) {
            EXPECT_TRUE(e.message().contains(c.named)) << e.message().toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(dir.file(u"manca"_s)));
}

TEST(QuadraturaExport, ThePrintGoesToThePrintsFolderOfTheYear)
{
    TempDir root;
    DataPaths::setDataRoot(root.path());
    EXPECT_EQ(quadraturaPrintFile(), root.path() + u"/USR/FL2023/Stp/Quadratura.pdf"_s);
    DataPaths::setDataRoot(QString());
}

#include "PdfReadBack.h"
#include "TempDir.h"
#include "THlkPdf.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A template of three pages, each carrying its number as text, written by
// the component itself.
QString makeTemplate(const TempDir &dir)
{
    THlkPdf pdf;
    const int doc = pdf.NewDocument();
    pdf.Check(pdf.CopyPageRanges(doc, u"1,1"_s));
    pdf.SetOrigin(1);
    for (int p = 1; p <= 3; ++p) {
        pdf.Check(pdf.SelectPage(p));
        pdf.SetTextSize(20);
        pdf.NrDrawText(100, 100, u"Pagina modello %1"_s.arg(p), 0, THlkPdf::Alignment::Left);
        pdf.DrawBox(50, 50, 495, 700, 0);
    }
    const QString path = dir.file(u"modello.pdf"_s);
    pdf.Check(pdf.SaveToFile(path));
    return path;
}

// An output document started as the prints start it: template loaded, a new
// document selected, top-left origin in points.
struct Print
{
    THlkPdf pdf;
    int templateId = 0;
    int outputId = 0;

    explicit Print(const QString &templatePath)
    {
        pdf.Check(pdf.LoadFromFile(templatePath), u"Caricamento modello base"_s);
        templateId = pdf.SelectedDocument();
        outputId = pdf.NewDocument();
        pdf.Check(outputId, u"Creazione nuovo documento"_s);
        pdf.Check(pdf.SetOrigin(1));
        pdf.Check(pdf.SetMeasurementUnits(1));
    }
};

QString checkMessage(const THlkPdf &pdf, int result, const QString &label)
{
    try {
        pdf.Check(result, label);
    } catch (const EPdfError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(THlkPdf, CopiesTemplatePagesBehindTheBlankPageAndDeletesIt)
{
    TempDir dir;
    const QString tpl = makeTemplate(dir);
    Print p(tpl);
    EXPECT_EQ(p.pdf.PageCount(), 1);
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"3"_s));
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"1,2,3"_s));
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"2-3"_s));
    EXPECT_EQ(p.pdf.PageCount(), 7);
    p.pdf.Check(p.pdf.DeletePages(1, 1));
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));

    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out, tpl);
    ASSERT_EQ(pages.size(), 6);
    QList<int> sources;
    for (const PdfReadBack::Page &page : pages) {
        sources.append(page.templatePage);
        EXPECT_DOUBLE_EQ(page.width, 595);
        EXPECT_DOUBLE_EQ(page.height, 842);
    }
    EXPECT_EQ(sources, (QList<int>{3, 1, 2, 3, 2, 3}));
    // The template's own text is there, exactly once per page.
    EXPECT_TRUE(PdfReadBack::text(out, 4).contains(u"Pagina modello 3"_s));
    EXPECT_FALSE(PdfReadBack::text(out, 4).contains(u"Pagina modello 1"_s));
}

TEST(THlkPdf, DrawsOnlyOnTheSelectedPage)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"1,1,1"_s));
    p.pdf.Check(p.pdf.SelectPage(3));
    p.pdf.SetTextSize(9);
    p.pdf.NrDrawText(60, 200, u"SOLO QUI"_s, 0, THlkPdf::Alignment::Left);
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    ASSERT_EQ(pages.size(), 4);
    EXPECT_TRUE(pages[0].texts.isEmpty());
    EXPECT_TRUE(pages[1].texts.isEmpty());
    EXPECT_TRUE(pages[2].has(u"SOLO QUI"_s));
    EXPECT_TRUE(pages[3].texts.isEmpty());
}

TEST(THlkPdf, TopLeftOriginPutsTheBaselineWhereAsked)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"2"_s));
    p.pdf.Check(p.pdf.SelectPage(2));
    p.pdf.SetTextSize(10);
    p.pdf.NrDrawText(72, 100, u"ALTO"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(72, 800, u"BASSO"_s, 0, THlkPdf::Alignment::Left);
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    // Seen by poppler, which knows nothing of our coordinates.
    bool high = false;
    bool low = false;
    for (const PdfReadBack::Word &w : PdfReadBack::words(out)) {
        if (w.page != 2)
            continue;
        if (w.text == u"ALTO") {
            high = true;
            EXPECT_NEAR(w.xMin, 72, 0.5);
            EXPECT_LT(w.yMin, 100);
            EXPECT_GT(w.yMax, 100);
            EXPECT_NEAR(w.yMax, 100 + 2.1, 1.0); // descender below the baseline
        }
        if (w.text == u"BASSO") {
            low = true;
            EXPECT_GT(w.yMin, 790);
        }
    }
    EXPECT_TRUE(high);
    EXPECT_TRUE(low);
}

TEST(THlkPdf, AlignsByTheFontsWidths)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.SetTextSize(10);
    p.pdf.NrDrawText(300, 100, u"1.234,50"_s, 0, THlkPdf::Alignment::Right);
    p.pdf.NrDrawText(300, 130, u"MMMiii"_s, 0, THlkPdf::Alignment::Right);
    p.pdf.NrDrawText(300, 160, u"Centro"_s, 0, THlkPdf::Alignment::Centre);
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    QMap<QString, PdfReadBack::Word> found;
    for (const PdfReadBack::Word &w : PdfReadBack::words(out))
        found.insert(w.text, w);
    ASSERT_TRUE(found.contains(u"1.234,50"_s));
    EXPECT_NEAR(found[u"1.234,50"_s].xMax, 300, 0.3);
    ASSERT_TRUE(found.contains(u"MMMiii"_s));
    EXPECT_NEAR(found[u"MMMiii"_s].xMax, 300, 0.3);
    ASSERT_TRUE(found.contains(u"Centro"_s));
    EXPECT_NEAR((found[u"Centro"_s].xMin + found[u"Centro"_s].xMax) / 2, 300, 0.3);
}

TEST(THlkPdf, SpacingPutsOneCharacterInEachCell)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.SetTextSize(10);
    // A fiscal code in 16 cells of 14 points from x = 100.
    p.pdf.NrDrawText(100, 100, u"MWIRSS80A01H501U"_s, 14, THlkPdf::Alignment::Left);
    // Right-aligned cells: the last cell ends at 500.
    p.pdf.NrDrawText(500, 200, u"07"_s, 14, THlkPdf::Alignment::Right);
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    QList<PdfReadBack::Word> first;
    QList<PdfReadBack::Word> second;
    for (const PdfReadBack::Word &w : PdfReadBack::words(out))
        (w.yMax < 150 ? first : second).append(w);
    QString joined;
    for (const PdfReadBack::Word &w : first)
        joined += w.text;
    EXPECT_EQ(joined, u"MWIRSS80A01H501U"_s);
    ASSERT_EQ(first.size(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR((first[i].xMin + first[i].xMax) / 2, 100 + 7 + 14 * i, 0.3) << i;
    ASSERT_EQ(second.size(), 2);
    EXPECT_NEAR((second[1].xMin + second[1].xMax) / 2, 500 - 7, 0.3);
    EXPECT_NEAR((second[0].xMin + second[0].xMax) / 2, 500 - 21, 0.3);

    const PdfReadBack::Page page = PdfReadBack::read(out).first();
    ASSERT_TRUE(page.has(u"MWIRSS80A01H501U"_s));
    EXPECT_NEAR(page.find(u"MWIRSS80A01H501U"_s).first().width, 16 * 14 - (14 - 8.33) / 2 - (14 - 7.22) / 2, 0.05);
}

TEST(THlkPdf, WritesAccentsAndTheEuroInWindows1252)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.SetTextSize(9);
    p.pdf.NrDrawText(50, 100, u"Città di Forlì: è, é, à, ì, ò, ù — totale € 1.234,56"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(50, 120, u"Parentesi (tonde) e \\ barra"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(50, 140, u"Łódź 漢"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.SetTextSize(7);
    p.pdf.Check(p.pdf.DrawRotatedText(10, 747, 90, u"Stampa di prova    "_s));
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    const QString text = PdfReadBack::text(out, 1);
    EXPECT_TRUE(text.contains(u"Città di Forlì: è, é, à, ì, ò, ù — totale € 1.234,56"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Parentesi (tonde) e \\ barra"_s));
    // Characters the encoding lacks take one '?' each, nothing else changes.
    EXPECT_TRUE(text.contains(u"?ód? ?"_s));
    const PdfReadBack::Page page = PdfReadBack::read(out).first();
    ASSERT_TRUE(page.has(u"Stampa di prova    "_s));
    const PdfReadBack::Text banner = page.find(u"Stampa di prova    "_s).first();
    EXPECT_TRUE(banner.rotated);
    EXPECT_DOUBLE_EQ(banner.x, 10);
    EXPECT_DOUBLE_EQ(banner.baseline, 747);
}

TEST(THlkPdf, BoxesUseTheSameCoordinates)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.Check(p.pdf.DrawBox(59, 178, 478, 0.05, 0));
    p.pdf.Check(p.pdf.DrawBox(100, 300, 50, 20, 1));
    EXPECT_EQ(p.pdf.DrawBox(100, 300, 50, 20, 7), 0);
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    const PdfReadBack::Page page = PdfReadBack::read(out).first();
    ASSERT_EQ(page.boxes.size(), 2);
    EXPECT_NEAR(page.boxes[0].left, 59, 0.001);
    EXPECT_NEAR(page.boxes[0].top, 178, 0.001);
    EXPECT_NEAR(page.boxes[0].width, 478, 0.001);
    EXPECT_NEAR(page.boxes[0].height, 0.05, 0.001);
    EXPECT_NEAR(page.boxes[1].top, 300, 0.001);
}

TEST(THlkPdf, FailuresAreReportedByCheckWithTheLabel)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.SetLastOperation(u"Scrivi testo: 12"_s);
    EXPECT_EQ(checkMessage(p.pdf, p.pdf.CopyPageRanges(p.templateId, u"23"_s), u"Copia pagina23"_s),
              u"Errore nel documento PDF (Copia pagina23): le pagine «23» non esistono nel documento di 3 pagine\n"
              u"Ultima operazione: Scrivi testo: 12"_s);
    for (const QString &bad : {u""_s, u"0"_s, u"2-1"_s, u"1,,2"_s, u"a"_s, u"1-2-3"_s, u"4"_s})
        EXPECT_EQ(p.pdf.CopyPageRanges(p.templateId, bad), 0) << bad.toStdString();
    EXPECT_EQ(p.pdf.PageCount(), 1);
    EXPECT_EQ(p.pdf.SelectPage(2), 0);
    EXPECT_EQ(p.pdf.DeletePages(1, 2), 0);
    EXPECT_EQ(p.pdf.CopyPageRanges(99, u"1"_s), 0);
    EXPECT_EQ(p.pdf.SetOrigin(3), 0);
    EXPECT_EQ(p.pdf.SetMeasurementUnits(0), 0);
    EXPECT_NO_THROW(p.pdf.Check(1, u"Salvataggio stampa"_s));

    THlkPdf other;
    EXPECT_EQ(other.LoadFromFile(dir.file(u"manca.pdf"_s)), 0);
    other.SetLastOperation(QString());
    EXPECT_TRUE(checkMessage(other, 0, u"Caricamento modello base"_s).startsWith(
        u"Errore nel documento PDF (Caricamento modello base): il file «"_s));
    const QString broken = dir.write(u"rotto.pdf"_s, "%PDF-1.4\nnon sono un pdf\n");
    EXPECT_EQ(other.LoadFromFile(broken), 0);
    EXPECT_TRUE(checkMessage(other, 0, QString()).contains(u"non è un PDF leggibile"_s));
}

TEST(THlkPdf, SavingReplacesTheFileOnlyWhenComplete)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    const QString out = dir.write(u"uscita.pdf"_s, "vecchio contenuto");
    EXPECT_EQ(p.pdf.SaveToFile(dir.file(u"non/esiste/uscita.pdf"_s)), 0);
    EXPECT_TRUE(checkMessage(p.pdf, 0, u"Salvataggio stampa"_s).contains(u"non si può scrivere"_s));
    p.pdf.Check(p.pdf.SaveToFile(out));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-1."));
    QProcess check;
    check.start(u"qpdf"_s, {u"--check"_s, out});
    check.waitForFinished();
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    EXPECT_TRUE(QString::fromUtf8(check.readAllStandardOutput()).contains(u"No syntax or stream encoding errors"_s));
}

TEST(THlkPdf, CopiesShareTheTemplatesContent)
{
    TempDir dir;
    const QString tpl = makeTemplate(dir);
    auto sizeWith = [&](int copies) {
        Print p(tpl);
        for (int i = 0; i < copies; ++i) {
            p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"2"_s));
            p.pdf.Check(p.pdf.SelectPage(p.pdf.PageCount()));
            p.pdf.SetTextSize(9);
            p.pdf.NrDrawText(100, 100, u"Riga %1"_s.arg(i), 0, THlkPdf::Alignment::Left);
        }
        const QString out = dir.file(u"copie%1.pdf"_s.arg(copies));
        p.pdf.Check(p.pdf.SaveToFile(out));
        return QFileInfo(out).size();
    };
    const qint64 one = sizeWith(1);
    const qint64 many = sizeWith(201);
    EXPECT_LT((many - one) / 200, 400);
}

TEST(THlkPdf, RotatedTemplatePagesKeepTheirLook)
{
    TempDir dir;
    const QString tpl = makeTemplate(dir);
    const QString rotated = dir.file(u"ruotato.pdf"_s);
    QProcess qpdf;
    qpdf.start(u"qpdf"_s, {tpl, u"--rotate=+90:2"_s, rotated});
    qpdf.waitForFinished();
    ASSERT_EQ(qpdf.exitCode(), 0);
    Print p(rotated);
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"2"_s));
    p.pdf.Check(p.pdf.SelectPage(2));
    p.pdf.SetTextSize(9);
    p.pdf.NrDrawText(700, 100, u"IN ORIZZONTALE"_s, 0, THlkPdf::Alignment::Left);
    const QString out = dir.file(u"uscita.pdf"_s);
    p.pdf.Check(p.pdf.SaveToFile(out));
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    EXPECT_DOUBLE_EQ(pages[1].width, 842);
    EXPECT_DOUBLE_EQ(pages[1].height, 595);
    EXPECT_TRUE(PdfReadBack::text(out, 2).contains(u"Pagina modello 2"_s));
    EXPECT_TRUE(PdfReadBack::text(out, 2).contains(u"IN ORIZZONTALE"_s));
}

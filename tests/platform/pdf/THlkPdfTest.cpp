#include "THlkPdf.h"
#include "PdfReadBack.h"
#include "TempDir.h"

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

    QString save(const TempDir &dir)
    {
        const QString out = dir.file(u"uscita.pdf"_s);
        pdf.Check(pdf.SaveToFile(out));
        return out;
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

TEST(THlkPdf, CopiesTemplatePagesBehindTheBlankPageAndDrawsOnTheSelectedOne)
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
    p.pdf.Check(p.pdf.SelectPage(3));
    p.pdf.SetTextSize(9);
    p.pdf.NrDrawText(60, 200, u"SOLO QUI"_s, 0, THlkPdf::Alignment::Left);
    const QString out = p.save(dir);

    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out, tpl);
    ASSERT_EQ(pages.size(), 6);
    QList<int> sources;
    QList<int> drawn;
    for (const PdfReadBack::Page &page : pages) {
        sources.append(page.templatePage);
        drawn.append(int(page.texts.size()));
        EXPECT_DOUBLE_EQ(page.width, 595);
        EXPECT_DOUBLE_EQ(page.height, 842);
    }
    EXPECT_EQ(sources, (QList<int>{3, 1, 2, 3, 2, 3}));
    EXPECT_EQ(drawn, (QList<int>{0, 0, 1, 0, 0, 0}));
    EXPECT_TRUE(pages[2].has(u"SOLO QUI"_s));
    // The template's own text is there, exactly once per page.
    EXPECT_TRUE(PdfReadBack::text(out, 4).contains(u"Pagina modello 3"_s));
    EXPECT_FALSE(PdfReadBack::text(out, 4).contains(u"Pagina modello 1"_s));
}

// Positions as poppler sees them, which knows nothing of our coordinates.
TEST(THlkPdf, PlacesTextFromTheTopLeftByTheFontsWidthsAndSpacing)
{
    TempDir dir;
    Print p(makeTemplate(dir));
    p.pdf.SetTextSize(10);
    p.pdf.NrDrawText(72, 100, u"ALTO"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(72, 800, u"BASSO"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(300, 200, u"1.234,50"_s, 0, THlkPdf::Alignment::Right);
    p.pdf.NrDrawText(300, 230, u"MMMiii"_s, 0, THlkPdf::Alignment::Right);
    p.pdf.NrDrawText(300, 260, u"Centro"_s, 0, THlkPdf::Alignment::Centre);
    // A fiscal code in 16 cells of 14 points from x = 100; right-aligned cells end at 500.
    p.pdf.NrDrawText(100, 400, u"MWIRSS80A01H501U"_s, 14, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(500, 500, u"07"_s, 14, THlkPdf::Alignment::Right);
    QMap<QString, PdfReadBack::Word> found;
    QList<PdfReadBack::Word> cells;
    QList<PdfReadBack::Word> rightCells;
    for (const PdfReadBack::Word &w : PdfReadBack::words(p.save(dir))) {
        if (w.yMax > 390 && w.yMax < 410)
            cells.append(w);
        else if (w.yMax > 490 && w.yMax < 510)
            rightCells.append(w);
        else
            found.insert(w.text, w);
    }
    ASSERT_EQ(found.size(), 5);
    EXPECT_NEAR(found[u"ALTO"_s].xMin, 72, 0.5);
    EXPECT_LT(found[u"ALTO"_s].yMin, 100);
    EXPECT_NEAR(found[u"ALTO"_s].yMax, 100 + 2.1, 1.0); // descender below the baseline
    EXPECT_GT(found[u"BASSO"_s].yMin, 790);
    EXPECT_NEAR(found[u"1.234,50"_s].xMax, 300, 0.3);
    EXPECT_NEAR(found[u"MMMiii"_s].xMax, 300, 0.3);
    EXPECT_NEAR((found[u"Centro"_s].xMin + found[u"Centro"_s].xMax) / 2, 300, 0.3);
    ASSERT_EQ(cells.size(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(cells[i].text, u"MWIRSS80A01H501U"_s.mid(i, 1)) << i;
        EXPECT_NEAR((cells[i].xMin + cells[i].xMax) / 2, 100 + 7 + 14 * i, 0.3) << i;
    }
    ASSERT_EQ(rightCells.size(), 2);
    EXPECT_NEAR((rightCells[0].xMin + rightCells[0].xMax) / 2, 500 - 21, 0.3);
    EXPECT_NEAR((rightCells[1].xMin + rightCells[1].xMax) / 2, 500 - 7, 0.3);
}

TEST(THlkPdf, FailuresAreReportedWithTheLabelAndASavedFileIsCompleteAndSound)
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

    THlkPdf other;
    const QString broken = dir.write(u"rotto.pdf"_s, "%PDF-1.4\nnon sono un pdf\n");
    EXPECT_EQ(other.LoadFromFile(broken), 0);
    EXPECT_TRUE(checkMessage(other, 0, QString()).contains(u"non è un PDF leggibile"_s));

    p.pdf.SetTextSize(9);
    p.pdf.NrDrawText(50, 100, u"Città di Forlì: è, é, à, ì, ò, ù — totale € 1.234,56"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(50, 120, u"Parentesi (tonde) e \\ barra"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.NrDrawText(50, 140, u"Łódź 漢"_s, 0, THlkPdf::Alignment::Left);
    p.pdf.Check(p.pdf.DrawBox(59, 178, 478, 0.05, 0));
    p.pdf.Check(p.pdf.DrawBox(100, 300, 50, 20, 1));
    EXPECT_EQ(p.pdf.SaveToFile(dir.file(u"non/esiste/uscita.pdf"_s)), 0);
    EXPECT_EQ(
        checkMessage(p.pdf, 0, u"Salvataggio stampa"_s),
        u"Errore nel documento PDF (Salvataggio stampa): Impossibile scrivere il file «%1»: la cartella non esiste "
        "(No such file or directory). Il file non è stato creato."_s.arg(dir.file(u"non/esiste/uscita.pdf"_s)));
    dir.write(u"uscita.pdf"_s, "vecchio contenuto");
    const QString out = p.save(dir);
    QProcess check;
    check.start(u"qpdf"_s, {u"--check"_s, out});
    check.waitForFinished();
    const QString report = QString::fromUtf8(check.readAllStandardOutput());
    EXPECT_EQ(check.exitCode(), 0) << report.toStdString();
    EXPECT_TRUE(report.contains(u"No syntax or stream encoding errors"_s));

    const PdfReadBack::Page page = PdfReadBack::read(out).first();
    ASSERT_EQ(page.boxes.size(), 2);
    EXPECT_NEAR(page.boxes[0].left, 59, 0.001);
    EXPECT_NEAR(page.boxes[0].top, 178, 0.001);
    EXPECT_NEAR(page.boxes[0].width, 478, 0.001);
    EXPECT_NEAR(page.boxes[0].height, 0.05, 0.001);
    EXPECT_NEAR(page.boxes[1].top, 300, 0.001);

    // Accents and the euro in Windows-1252; characters the encoding lacks take one '?' each.
    const QString text = PdfReadBack::text(out, 1);
    EXPECT_TRUE(text.contains(u"Città di Forlì: è, é, à, ì, ò, ù — totale € 1.234,56"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Parentesi (tonde) e \\ barra"_s));
    EXPECT_TRUE(text.contains(u"?ód? ?"_s));
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
    const QString out = p.save(dir);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    EXPECT_DOUBLE_EQ(pages[1].width, 842);
    EXPECT_DOUBLE_EQ(pages[1].height, 595);
    EXPECT_TRUE(PdfReadBack::text(out, 2).contains(u"Pagina modello 2"_s));
    EXPECT_TRUE(PdfReadBack::text(out, 2).contains(u"IN ORIZZONTALE"_s));
}

// Texts drawn one after another, between boxes, a rotated text and sizes
// that change, each stand at their own position: on a page whose height is
// not a whole number of points the baselines are fractions too.
TEST(THlkPdf, EachTextStandsAtItsOwnPositionWhateverWasDrawnBefore)
{
    TempDir dir;
    // A template of one blank page of 595.5 x 841.5 points, written by hand.
    const QByteArrayList objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.5 841.5] /Contents 4 0 R /Resources << >> >>",
        "<< /Length 0 >>\nstream\n\nendstream",
    };
    QByteArray bytes = "%PDF-1.4\n";
    QByteArray xref = "xref\n0 5\n0000000000 65535 f \n";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        xref += QByteArray::number(bytes.size()).rightJustified(10, '0') + " 00000 n \n";
        bytes += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const QByteArray start = QByteArray::number(bytes.size());
    Print p(dir.write(u"frazionale.pdf"_s,
                      bytes + xref + "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n" + start + "\n%%EOF\n"));
    p.pdf.Check(p.pdf.CopyPageRanges(p.templateId, u"1"_s));
    p.pdf.Check(p.pdf.SelectPage(2));
    const struct
    {
        int x, y, size;
        const char16_t *text;
        THlkPdf::Alignment alignment;
    } rows[] = {
        {60, 100, 7, u"uno", THlkPdf::Alignment::Left},    {300, 100, 7, u"1.234,50", THlkPdf::Alignment::Right},
        {80, 100, 9, u"due", THlkPdf::Alignment::Left},    {300, 120, 6, u"Centro", THlkPdf::Alignment::Centre},
        {60, 140, 6, u"tre", THlkPdf::Alignment::Left},    {61, 160, 7, u"quattro", THlkPdf::Alignment::Left},
        {62, 160, 7, u"cinque", THlkPdf::Alignment::Left},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        p.pdf.SetTextSize(rows[i].size);
        p.pdf.NrDrawText(rows[i].x, rows[i].y, QString::fromUtf16(rows[i].text), 0, rows[i].alignment);
        if (i == 2)
            p.pdf.Check(p.pdf.DrawBox(50, 130, 100, 5, 0));
        if (i == 4)
            p.pdf.Check(p.pdf.DrawRotatedText(10, 700, 90, u"margine"_s));
    }
    const PdfReadBack::Page page = PdfReadBack::read(p.save(dir)).at(1);
    for (const auto &row : rows) {
        const QString text = QString::fromUtf16(row.text);
        const QList<PdfReadBack::Text> found = page.find(text);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        const PdfReadBack::Text &t = found.first();
        EXPECT_DOUBLE_EQ(t.baseline, row.y) << text.toStdString();
        EXPECT_DOUBLE_EQ(t.size, row.size) << text.toStdString();
        const double anchor = row.alignment == THlkPdf::Alignment::Left    ? t.x
                              : row.alignment == THlkPdf::Alignment::Right ? t.x + t.width
                                                                           : t.x + t.width / 2;
        EXPECT_NEAR(anchor, row.x, 0.001) << text.toStdString();
    }
    ASSERT_EQ(page.find(u"margine"_s).size(), 1);
    EXPECT_DOUBLE_EQ(page.find(u"margine"_s).first().x, 10);
    ASSERT_EQ(page.boxes.size(), 1);
    EXPECT_NEAR(page.boxes[0].top, 130, 0.001);
}

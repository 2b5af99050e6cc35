#pragma once

#include <QList>
#include <QString>

// What a PDF written by the prints holds, read back with qpdf: page sizes,
// which page of a template each page places, and the text and boxes drawn
// over it. Positions are in points from the top-left corner of the page.
namespace PdfReadBack {

struct Text
{
    QString text;
    double x = 0;        // start of the first glyph's advance
    double baseline = 0; // from the top of the page
    double width = 0;    // advance of the whole text, spacing included
    double size = 0;
    bool rotated = false;
};

struct Box
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct Page
{
    double width = 0;
    double height = 0;
    // 1-based page of the template whose content the page places; 0 when it
    // places none, -1 when it places a page that is not in the template.
    int templatePage = 0;
    QList<Text> texts;
    QList<Box> boxes;

    // The texts drawn with exactly that content.
    QList<Text> find(const QString &text) const;
    bool has(const QString &text) const { return !find(text).isEmpty(); }
    QStringList strings() const;
};

// Raises std::runtime_error when the file cannot be read. Without a
// template every page that places a form has templatePage -1.
QList<Page> read(const QString &pdf, const QString &templatePdf = QString());

// The page count of a PDF file (qpdf), -1 when it cannot be read.
int pageCount(const QString &pdf);

// What poppler's pdftotext finds in the file: the words of each page (first
// page 1) with their boxes in points from the top-left corner, and the plain
// text of a page.
struct Word
{
    int page = 0;
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};
QList<Word> words(const QString &pdf);
QString text(const QString &pdf, int page);

} // namespace PdfReadBack

#pragma once

#include "Exceptions.h"

#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

// A failed operation of the PDF component, raised by Check with the label of
// the operation and what went wrong.
class EPdfError : public Exception
{
public:
    using Exception::Exception;
};

// The PDF component of the prints: pages of a template document are copied
// into a new document and text and boxes are drawn over them. The template's
// pages are copied untouched (each one is placed whole on the new page), so
// the form keeps its exact appearance.
//
// Documents are known by the identifier that loading or creating them gives.
// Operations that can fail return 1 on success and 0 on failure, keeping the
// reason for Check, which raises EPdfError; the callers do not test results
// themselves. Pages are numbered from 1.
//
// Coordinates: origin mode 0 (the default) puts the origin at the bottom-left
// corner of the page with y growing upwards, origin mode 1 at the top-left
// corner with y growing downwards. Measurement mode 1 is the point (1/72 of
// an inch), the only unit. Text is drawn in Helvetica, one of the standard
// fonts every viewer has, encoded in WinAnsi (Windows-1252): accented letters
// and the euro sign are drawn as such, a character the encoding lacks as '?'.
// The y of a text is its baseline.
class THlkPdf
{
public:
    enum class Alignment { Left, Right, Centre };

    THlkPdf();
    ~THlkPdf();
    THlkPdf(const THlkPdf &) = delete;
    THlkPdf &operator=(const THlkPdf &) = delete;

    // Opens a PDF file as a document and selects it.
    int LoadFromFile(const QString &fileName);
    // The selected document; 0 when there is none.
    int SelectedDocument() const { return m_selected; }
    // Creates a document with one blank A4 page and selects it; returns its
    // identifier.
    int NewDocument();
    int SetOrigin(int mode);
    int SetMeasurementUnits(int mode);

    // Appends to the selected document copies of pages of another document
    // (or of itself), with what was drawn on them: "23", "1,2,3", "4-7,9".
    int CopyPageRanges(int documentId, const QString &ranges);
    int DeletePages(int first, int count);
    int PageCount() const;
    // Later drawing goes to that page of the selected document.
    int SelectPage(int page);

    void SetTextSize(double size);
    // Text turned by `angle` degrees anticlockwise around its start.
    int DrawRotatedText(double left, double top, double angle, const QString &text);
    // Options: 0 outline, 1 filled, 2 filled and outlined.
    int DrawBox(double left, double top, double width, double height, int options);
    // Writes one value on the selected page. With a spacing above 0 the text
    // goes in cells of that width, one character centred in each cell, as in
    // the boxed fields of a form; the alignment places the whole row of cells
    // (left: starting at x; right: ending at x; centre: centred on x).
    // Without spacing the text is placed by its own width.
    void NrDrawText(int x, int y, const QString &text, double spacing, Alignment alignment);

    // Writes the selected document to the file, through a temporary file
    // renamed into place.
    int SaveToFile(const QString &fileName);

    // The operation in progress, named in the reports of Check: the text,
    // followed by the detail (kept apart, so that naming each value drawn
    // costs no new text).
    void SetLastOperation(const QString &text, const QString &detail = QString())
    {
        m_lastOperation = text;
        m_lastDetail = detail;
    }
    // Raises EPdfError when `result` is 0.
    void Check(int result, const QString &label = QString()) const;

private:
    struct Page;
    struct Document;

    Document *selected();
    const Document *selected() const;
    Page *selectedPage();
    int fail(const QString &reason);
    // The y of the selected page's coordinates in PDF space (x is the same in both).
    double pdfY(double y) const;
    void appendText(double pdfLeft, double pdfBaseline, const QByteArray &encoded, double spacing);
    static void closeText(Page &page);
    // Called after each drawing: the first one ends where it stops.
    static void endDrawing(Page &page);

    std::map<int, std::unique_ptr<Document>> m_documents;
    int m_nextId = 1;
    int m_selected = 0;
    int m_page = 0; // 1-based page of the selected document; 0 when none
    int m_origin = 0;
    double m_textSize = 10.0;
    QString m_lastOperation;
    QString m_lastDetail;
    QString m_error;
};

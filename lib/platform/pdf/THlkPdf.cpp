#include "THlkPdf.h"

#include "AtomicFile.h"
#include "Exceptions.h"
#include "HelveticaMetrics.h"
#include "PdfSyntax.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>
#include <unordered_map>

using namespace Qt::Literals::StringLiterals;

namespace {

// A4 portrait, the size of the blank page of a new document.
constexpr double kA4Width = 595.0;
constexpr double kA4Height = 842.0;
// Outlines of boxes.
constexpr double kLineWidth = 0.3;
// Resource names on the pages written.
constexpr const char *kFontName = "/F1";
constexpr const char *kFormName = "/Tpl";

QString fromStd(const std::exception &e)
{
    return QString::fromLocal8Bit(e.what());
}

// "1,2,3", "23", "4-7": the 1-based page numbers, in order; empty on any
// other text or a page outside 1..count.
std::vector<int> parseRanges(const QString &ranges, int count)
{
    std::vector<int> pages;
    for (const QString &item : ranges.split(u',')) {
        const QStringList bounds = item.trimmed().split(u'-');
        if (bounds.size() > 2)
            return {};
        bool okFirst = false;
        bool okLast = false;
        const int first = bounds.first().trimmed().toInt(&okFirst);
        const int last = bounds.size() == 2 ? bounds.last().trimmed().toInt(&okLast) : first;
        if (!okFirst || (bounds.size() == 2 && !okLast) || first < 1 || last > count || first > last)
            return {};
        for (int p = first; p <= last; ++p)
            pages.push_back(p);
    }
    return pages;
}

} // namespace

struct THlkPdf::Page
{
    int sourceDocument = 0; // document whose file draws the page; 0 for a blank page
    int sourceIndex = 0;    // 0-based page of that file
    double width = kA4Width;
    double height = kA4Height;
    // Content drawn over the page: each operator is followed by one blank
    // and none stands before or after the brackets of strings and arrays,
    // which end a token by themselves.
    std::string overlay;
    std::size_t firstEnd = 0; // end of the first drawing in the overlay
    // The overlay's text object: texts follow one another in it; see appendText.
    bool textOpen = false;
    double textSize = 0;    // of the last Tf, 0 before any
    std::int64_t lineY = 0; // in thousandths, where the text object's line stands
};

struct THlkPdf::Document
{
    std::unique_ptr<QPDF> file; // the file a loaded document was read from
    std::vector<QPDFObjectHandle> filePages;
    std::vector<Page> pages;
};

THlkPdf::THlkPdf() = default;
THlkPdf::~THlkPdf() = default;

THlkPdf::Document *THlkPdf::selected()
{
    const auto it = m_documents.find(m_selected);
    return it == m_documents.end() ? nullptr : it->second.get();
}

const THlkPdf::Document *THlkPdf::selected() const
{
    const auto it = m_documents.find(m_selected);
    return it == m_documents.end() ? nullptr : it->second.get();
}

THlkPdf::Page *THlkPdf::selectedPage()
{
    Document *doc = selected();
    if (!doc || m_page < 1 || m_page > static_cast<int>(doc->pages.size()))
        return nullptr;
    return &doc->pages[static_cast<std::size_t>(m_page - 1)];
}

int THlkPdf::fail(const QString &reason)
{
    m_error = reason;
    return 0;
}

int THlkPdf::LoadFromFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return fail(u"il file «%1» non esiste"_s.arg(QDir::toNativeSeparators(fileName)));
    auto doc = std::make_unique<Document>();
    try {
        doc->file = std::make_unique<QPDF>();
        doc->file->setSuppressWarnings(true);
        doc->file->processFile(QFile::encodeName(fileName).constData());
        // Copies taken from the file carry their data with them, whatever
        // happens to the file before the output is written.
        doc->file->setImmediateCopyFrom(true);
        doc->filePages = doc->file->getAllPages();
        for (std::size_t i = 0; i < doc->filePages.size(); ++i) {
            QPDFPageObjectHelper helper(doc->filePages[i]);
            const QPDFObjectHandle::Rectangle box = helper.getTrimBox().getArrayAsRectangle();
            const int rotate = helper.getAttribute("/Rotate", false).isInteger()
                                   ? helper.getAttribute("/Rotate", false).getIntValueAsInt()
                                   : 0;
            Page page;
            page.sourceDocument = m_nextId;
            page.sourceIndex = static_cast<int>(i);
            page.width = std::fabs(box.urx - box.llx);
            page.height = std::fabs(box.ury - box.lly);
            if (((rotate % 180) + 180) % 180 == 90)
                std::swap(page.width, page.height);
            doc->pages.push_back(std::move(page));
        }
    } catch (const std::exception &e) {
        return fail(u"il file «%1» non è un PDF leggibile: %2"_s.arg(QDir::toNativeSeparators(fileName), fromStd(e)));
    }
    m_selected = m_nextId++;
    m_page = doc->pages.empty() ? 0 : 1;
    m_documents.emplace(m_selected, std::move(doc));
    return 1;
}

int THlkPdf::NewDocument()
{
    auto doc = std::make_unique<Document>();
    doc->pages.emplace_back();
    m_selected = m_nextId++;
    m_page = 1;
    m_documents.emplace(m_selected, std::move(doc));
    return m_selected;
}

int THlkPdf::SetOrigin(int mode)
{
    if (mode != 0 && mode != 1)
        return fail(u"modo di origine %1 non previsto"_s.arg(mode));
    m_origin = mode;
    return 1;
}

int THlkPdf::SetMeasurementUnits(int mode)
{
    if (mode != 1)
        return fail(u"unità di misura %1 non prevista"_s.arg(mode));
    return 1;
}

int THlkPdf::CopyPageRanges(int documentId, const QString &ranges)
{
    Document *target = selected();
    const auto source = m_documents.find(documentId);
    if (!target)
        return fail(u"nessun documento selezionato"_s);
    if (source == m_documents.end())
        return fail(u"il documento %1 non esiste"_s.arg(documentId));
    const std::vector<Page> &from = source->second->pages;
    const std::vector<int> numbers = parseRanges(ranges, static_cast<int>(from.size()));
    if (numbers.empty()) {
        return fail(u"le pagine «%1» non esistono nel documento di %2 pagine"_s.arg(ranges).arg(from.size()));
    }
    std::vector<Page> copies;
    copies.reserve(numbers.size());
    for (const int n : numbers)
        copies.push_back(from[static_cast<std::size_t>(n - 1)]);
    target->pages.insert(target->pages.end(), copies.begin(), copies.end());
    return 1;
}

int THlkPdf::DeletePages(int first, int count)
{
    Document *doc = selected();
    if (!doc)
        return fail(u"nessun documento selezionato"_s);
    const int total = static_cast<int>(doc->pages.size());
    if (first < 1 || count < 1 || first + count - 1 > total) {
        return fail(
            u"non si possono eliminare %1 pagine dalla %2 in un documento di %3 pagine"_s.arg(count).arg(first).arg(
                total));
    }
    const auto begin = doc->pages.begin() + (first - 1);
    doc->pages.erase(begin, begin + count);
    m_page = std::min(m_page, static_cast<int>(doc->pages.size()));
    return 1;
}

int THlkPdf::PageCount() const
{
    const Document *doc = selected();
    return doc ? static_cast<int>(doc->pages.size()) : 0;
}

int THlkPdf::SelectPage(int page)
{
    if (page < 1 || page > PageCount())
        return fail(u"la pagina %1 non esiste nel documento di %2 pagine"_s.arg(page).arg(PageCount()));
    m_page = page;
    return 1;
}

void THlkPdf::SetTextSize(double size)
{
    m_textSize = size;
}

double THlkPdf::pdfY(double y) const
{
    if (m_origin == 0)
        return y;
    const Document *doc = selected();
    return doc->pages[static_cast<std::size_t>(m_page - 1)].height - y;
}

int THlkPdf::DrawRotatedText(double left, double top, double angle, const QString &text)
{
    Page *page = selectedPage();
    if (!page)
        return fail(u"nessuna pagina selezionata"_s);
    const double radians = angle * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    closeText(*page);
    page->textSize = m_textSize;
    std::string &out = page->overlay;
    out += "BT ";
    out += kFontName;
    out += ' ';
    PdfSyntax::appendNumber(out, m_textSize);
    out += " Tf ";
    for (const double v : {c, s, -s, c, left, pdfY(top)}) {
        PdfSyntax::appendNumber(out, v);
        out += ' ';
    }
    out += "Tm[";
    PdfSyntax::appendLiteral(out, PdfSyntax::encodeWinAnsi(text));
    out += "]TJ ET ";
    endDrawing(*page);
    return 1;
}

int THlkPdf::DrawBox(double left, double top, double width, double height, int options)
{
    static constexpr const char *kPaint[] = {" re S ", " re f ", " re B "};
    Page *page = selectedPage();
    if (!page)
        return fail(u"nessuna pagina selezionata"_s);
    if (options < 0 || options > 2)
        return fail(u"opzione di riquadro %1 non prevista"_s.arg(options));
    const double bottom = m_origin == 1 ? pdfY(top + height) : top;
    closeText(*page);
    std::string &out = page->overlay;
    for (const double v : {left, bottom, width}) {
        PdfSyntax::appendNumber(out, v);
        out += ' ';
    }
    PdfSyntax::appendNumber(out, height);
    out += kPaint[options];
    endDrawing(*page);
    return 1;
}

void THlkPdf::endDrawing(Page &page)
{
    if (page.firstEnd == 0)
        page.firstEnd = page.overlay.size();
}

void THlkPdf::closeText(Page &page)
{
    if (!page.textOpen)
        return;
    page.overlay += "ET ";
    page.textOpen = false;
}

// The texts of a page follow one another in one text object. Each one moves
// from the line's start at x 0 to its own x and, once drawn, back by the same
// amount, which a reader undoes exactly; a baseline moves from the previous
// one while both are whole points, whose sums are exact too, and otherwise a
// new text object starts from the origin. Every text thus stands where its
// own absolute position puts it.
void THlkPdf::appendText(double pdfLeft, double pdfBaseline, const QByteArray &encoded, double spacing)
{
    Page &page = *selectedPage();
    std::string &out = page.overlay;
    const std::int64_t y = PdfSyntax::thousandths(pdfBaseline);
    if (page.textOpen && page.lineY != 0 && (page.lineY % 1000 != 0 || y % 1000 != 0))
        closeText(page);
    if (!page.textOpen) {
        out += "BT ";
        page.textOpen = true;
        page.lineY = 0;
    }
    if (page.textSize != m_textSize) {
        out += kFontName;
        out += ' ';
        PdfSyntax::appendNumber(out, m_textSize);
        out += " Tf ";
        page.textSize = m_textSize;
    }
    // Cells: the first glyph centred in the first cell, then each step moves
    // from the centre of one glyph to the centre of the next by one cell.
    const double first =
        spacing > 0.0 ? HelveticaMetrics::width(static_cast<unsigned char>(encoded.front())) * m_textSize / 1000.0
                      : 0.0;
    const std::int64_t x = PdfSyntax::thousandths(spacing > 0.0 ? pdfLeft + (spacing - first) / 2.0 : pdfLeft);
    PdfSyntax::appendThousandths(out, x);
    out += ' ';
    PdfSyntax::appendThousandths(out, y - page.lineY);
    out += " Td[";
    page.lineY = y;
    // Every text is shown with TJ; in cells, between two glyphs, the number
    // that moves the pen back, in thousandths of the text size.
    if (spacing <= 0.0) {
        PdfSyntax::appendLiteral(out, encoded);
    } else {
        for (qsizetype i = 0; i < encoded.size(); ++i) {
            if (i > 0) {
                const int w0 = HelveticaMetrics::width(static_cast<unsigned char>(encoded[i - 1]));
                const int w1 = HelveticaMetrics::width(static_cast<unsigned char>(encoded[i]));
                PdfSyntax::appendNumber(out, -(spacing * 1000.0 / m_textSize - (w0 + w1) / 2.0));
            }
            PdfSyntax::appendLiteral(out, encoded.mid(i, 1));
        }
    }
    out += "]TJ ";
    PdfSyntax::appendThousandths(out, -x);
    out += " 0 Td ";
    endDrawing(page);
}

void THlkPdf::NrDrawText(int x, int y, const QString &text, double spacing, Alignment alignment)
{
    if (!selectedPage() || text.isEmpty())
        return;
    const QByteArray encoded = PdfSyntax::encodeWinAnsi(text);
    const double width = spacing > 0.0 ? spacing * static_cast<double>(encoded.size())
                                       : HelveticaMetrics::width(encoded) * m_textSize / 1000.0;
    double left = x;
    if (alignment == Alignment::Right)
        left -= width;
    else if (alignment == Alignment::Centre)
        left -= width / 2.0;
    appendText(left, pdfY(y), encoded, spacing);
}

int THlkPdf::SaveToFile(const QString &fileName)
{
    // What fails from here on is the save itself, not the last drawing.
    SetLastOperation(QString());
    const Document *doc = selected();
    if (!doc)
        return fail(u"nessun documento selezionato"_s);
    std::shared_ptr<Buffer> bytes;
    try {
        QPDF out;
        out.emptyPDF();
        std::string version = "1.4";
        const QPDFObjectHandle font = out.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
        // What the pages showing the same template page share: the resources
        // and the drawing that places the form.
        struct Form
        {
            QPDFObjectHandle resources;
            std::string placement;
        };
        std::map<std::pair<int, int>, Form> forms;
        std::map<std::pair<double, double>, QPDFObjectHandle> mediaBoxes;
        // Streams of the same content are written once, whichever pages draw them.
        std::unordered_map<std::string, QPDFObjectHandle> streams;
        const auto stream = [&](std::string content) {
            auto found = streams.find(content);
            if (found == streams.end()) {
                QPDFObjectHandle handle = out.newStream(content);
                found = streams.emplace(std::move(content), handle).first;
            }
            return found->second;
        };
        // The drawing with which every page showing a template page starts,
        // up to an operator: the first drawing of a page and as much of the
        // rest as they all share go with the form into the shared stream.
        std::map<std::pair<int, int>, std::string_view> shared;
        for (const Page &page : doc->pages) {
            if (page.overlay.empty())
                continue;
            const std::string_view overlay = page.overlay;
            const auto [group, added] = shared.try_emplace({page.sourceDocument, page.sourceIndex}, overlay);
            const std::string_view common = group->second;
            if (!added)
                group->second = common.substr(
                    0, static_cast<std::size_t>(
                           std::mismatch(common.begin(), common.end(), overlay.begin(), overlay.end()).first
                           - common.begin()));
        }
        std::map<std::pair<int, int>, std::size_t> sharedEnds;
        for (const auto &[group, common] : shared)
            sharedEnds.emplace(group, PdfSyntax::lastOperatorEnd(common));
        std::string overlayStart = "q 0 g 0 G ";
        PdfSyntax::appendNumber(overlayStart, kLineWidth);
        overlayStart += " w ";
        QPDFObjectHandle tree = out.getRoot().getKey("/Pages");
        QPDFObjectHandle kids = QPDFObjectHandle::newArray();
        for (const Page &page : doc->pages) {
            const auto key = std::make_pair(page.sourceDocument, page.sourceIndex);
            auto form = forms.find(key);
            if (form == forms.end()) {
                QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
                fonts.replaceKey(kFontName, font);
                QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
                resources.replaceKey("/Font", fonts);
                std::string placement;
                if (page.sourceDocument != 0) {
                    const Document &source = *m_documents.at(page.sourceDocument);
                    QPDFPageObjectHelper sourcePage(source.filePages[static_cast<std::size_t>(page.sourceIndex)]);
                    const QPDFObjectHandle xobject = out.copyForeignObject(sourcePage.getFormXObjectForPage());
                    version = std::max(version, source.file->getPDFVersion());
                    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
                    xobjects.replaceKey(kFormName, xobject);
                    resources.replaceKey("/XObject", xobjects);
                    QPDFPageObjectHelper placing(QPDFObjectHandle::newDictionary());
                    placement = "q "
                                + placing.placeFormXObject(xobject, kFormName, {0, 0, page.width, page.height}, true,
                                                           false, false)
                                + "Q ";
                }
                form = forms.emplace(key, Form{out.makeIndirectObject(resources), std::move(placement)}).first;
            }
            auto mediaBox = mediaBoxes.find({page.width, page.height});
            if (mediaBox == mediaBoxes.end()) {
                const QPDFObjectHandle box =
                    out.makeIndirectObject(QPDFObjectHandle::newFromRectangle({0, 0, page.width, page.height}));
                mediaBox = mediaBoxes.emplace(std::make_pair(page.width, page.height), box).first;
            }
            QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
            dict.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
            dict.replaceKey("/MediaBox", mediaBox->second);
            dict.replaceKey("/Resources", form->second.resources);
            // The form, the page's first drawing and as much more as the pages
            // of its template page share in one shared stream; the rest of the
            // drawing in the page's own; its closing, the same on every page,
            // in one more shared stream.
            std::string head = form->second.placement;
            if (page.overlay.empty()) {
                dict.replaceKey("/Contents", stream(std::move(head)));
            } else {
                const std::size_t headEnd = std::max(page.firstEnd, sharedEnds.at(key));
                head += overlayStart;
                head.append(page.overlay, 0, headEnd);
                QPDFObjectHandle contents = QPDFObjectHandle::newArray();
                contents.appendItem(stream(std::move(head)));
                if (headEnd < page.overlay.size())
                    contents.appendItem(stream(page.overlay.substr(headEnd)));
                contents.appendItem(stream(page.textOpen ? "ET Q" : "Q"));
                dict.replaceKey("/Contents", contents);
            }
            dict.replaceKey("/Parent", tree);
            kids.appendItem(out.makeIndirectObject(dict));
        }
        tree.replaceKey("/Kids", kids);
        tree.replaceKey("/Count", QPDFObjectHandle::newInteger(kids.getArrayNItems()));
        QPDFWriter writer(out);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.setCompressStreams(true);
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.setMinimumPDFVersion(version);
        writer.write();
        bytes = writer.getBufferSharedPointer();
    } catch (const std::exception &e) {
        return fail(u"il documento non si può comporre: %1"_s.arg(fromStd(e)));
    }
    try {
        AtomicFile::save(fileName, QByteArrayView(bytes->getBuffer(), static_cast<qsizetype>(bytes->getSize())));
    } catch (const EInOutError &e) {
        return fail(e.message());
    }
    return 1;
}

void THlkPdf::Check(int result, const QString &label) const
{
    if (result != 0)
        return;
    QString text = label.isEmpty() ? u"Errore nel documento PDF: %1"_s.arg(m_error)
                                   : u"Errore nel documento PDF (%1): %2"_s.arg(label, m_error);
    if (!m_lastOperation.isEmpty())
        text += u"\nUltima operazione: "_s + m_lastOperation + m_lastDetail;
    throw EPdfError(text);
}

#include "PdfReadBack.h"

#include "Cp1252.h"
#include "HelveticaMetrics.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QFile>
#include <QProcess>
#include <QXmlStreamReader>

#include <map>
#include <stdexcept>

namespace PdfReadBack {

namespace {

class Collector : public QPDFObjectHandle::ParserCallbacks
{
public:
    explicit Collector(Page &page)
        : m_page(page)
    {
    }

    std::vector<std::string> forms; // XObjects drawn with Do

    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "BT") {
            m_x = m_y = 0;
            m_rotated = false;
        } else if (op == "Tf" && m_operands.size() == 2) {
            m_size = m_operands[1].getNumericValue();
        } else if (op == "Td" && m_operands.size() == 2) {
            m_x += m_operands[0].getNumericValue();
            m_y += m_operands[1].getNumericValue();
        } else if (op == "Tm" && m_operands.size() == 6) {
            m_rotated = m_operands[1].getNumericValue() != 0.0;
            m_x = m_operands[4].getNumericValue();
            m_y = m_operands[5].getNumericValue();
        } else if (op == "Tj" && m_operands.size() == 1) {
            addText({m_operands[0]});
        } else if (op == "TJ" && m_operands.size() == 1) {
            addText(m_operands[0].getArrayAsVector());
        } else if (op == "re" && m_operands.size() == 4) {
            Box box;
            box.left = m_operands[0].getNumericValue();
            box.width = m_operands[2].getNumericValue();
            box.height = m_operands[3].getNumericValue();
            box.top = m_page.height - m_operands[1].getNumericValue() - box.height;
            m_page.boxes.append(box);
        } else if (op == "Do" && m_operands.size() == 1) {
            forms.push_back(m_operands[0].getName());
        }
        m_operands.clear();
    }

    void handleEOF() override {}

private:
    void addText(const std::vector<QPDFObjectHandle> &parts)
    {
        Text text;
        text.x = m_x;
        text.baseline = m_page.height - m_y;
        text.size = m_size;
        text.rotated = m_rotated;
        double advance = 0; // thousandths of the size
        for (QPDFObjectHandle part : parts) {
            if (part.isString()) {
                const std::string bytes = part.getStringValue();
                text.text += Cp1252::decode(QByteArray::fromStdString(bytes));
                advance += HelveticaMetrics::width(QByteArray::fromStdString(bytes));
            } else if (part.isNumber()) {
                advance -= part.getNumericValue();
            }
        }
        text.width = advance * m_size / 1000.0;
        m_page.texts.append(text);
    }

    Page &m_page;
    std::vector<QPDFObjectHandle> m_operands;
    double m_x = 0;
    double m_y = 0;
    double m_size = 0;
    bool m_rotated = false;
};

std::string formContent(QPDFObjectHandle form)
{
    const std::shared_ptr<Buffer> data = form.getStreamData(qpdf_dl_all);
    return std::string(reinterpret_cast<const char *>(data->getBuffer()), data->getSize());
}

} // namespace

QList<Text> Page::find(const QString &text) const
{
    QList<Text> found;
    for (const Text &t : texts) {
        if (t.text == text)
            found.append(t);
    }
    return found;
}

QStringList Page::strings() const
{
    QStringList list;
    for (const Text &t : texts)
        list.append(t.text);
    return list;
}

QList<Page> read(const QString &pdf, const QString &templatePdf)
{
    std::map<std::string, int> templatePages;
    QPDF tpl;
    if (!templatePdf.isEmpty()) {
        tpl.processFile(QFile::encodeName(templatePdf).constData());
        int n = 0;
        for (QPDFObjectHandle p : tpl.getAllPages())
            templatePages.emplace(formContent(QPDFPageObjectHelper(p).getFormXObjectForPage()), ++n);
    }
    QPDF in;
    in.processFile(QFile::encodeName(pdf).constData());
    QList<Page> pages;
    for (QPDFObjectHandle p : in.getAllPages()) {
        QPDFPageObjectHelper helper(p);
        const QPDFObjectHandle::Rectangle box = helper.getMediaBox().getArrayAsRectangle();
        Page page;
        page.width = box.urx - box.llx;
        page.height = box.ury - box.lly;
        Collector collector(page);
        helper.parseContents(&collector);
        if (!collector.forms.empty()) {
            QPDFObjectHandle form = helper.getObjectHandle().getKey("/Resources").getKey("/XObject").getKey(
                collector.forms.front());
            const auto found = templatePages.find(formContent(form));
            page.templatePage = found == templatePages.end() ? -1 : found->second;
        }
        pages.append(page);
    }
    return pages;
}

int pageCount(const QString &pdf)
{
    try {
        QPDF in;
        in.processFile(QFile::encodeName(pdf).constData());
        return static_cast<int>(in.getAllPages().size());
    } catch (const std::exception &) {
        return -1;
    }
}

namespace {

QByteArray runPdfToText(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        throw std::runtime_error("pdftotext failed: " + process.readAllStandardError().toStdString());
    return process.readAllStandardOutput();
}

} // namespace

QList<Word> words(const QString &pdf)
{
    QXmlStreamReader xml(runPdfToText({QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    QList<Word> list;
    int page = 0;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == u"page") {
            ++page;
        } else if (xml.name() == u"word") {
            Word w;
            w.page = page;
            const QXmlStreamAttributes a = xml.attributes();
            w.xMin = a.value(QStringLiteral("xMin")).toDouble();
            w.yMin = a.value(QStringLiteral("yMin")).toDouble();
            w.xMax = a.value(QStringLiteral("xMax")).toDouble();
            w.yMax = a.value(QStringLiteral("yMax")).toDouble();
            w.text = xml.readElementText();
            list.append(w);
        }
    }
    return list;
}

QString text(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    return QString::fromUtf8(runPdfToText({QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-layout"),
                                           pdf, QStringLiteral("-")}));
}

} // namespace PdfReadBack

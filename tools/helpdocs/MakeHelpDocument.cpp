// Writes a help document of the program: a Markdown text laid out on A4
// pages as a PDF, with its pictures (paths relative to the text) fitted to
// the width of the page. The first heading is the document's title.
//   elh_helpdoc TESTO.md DOCUMENTO.pdf

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

// QTextDocument::print lays an unpaginated document out on the page with a
// margin of its own, 2 cm; the writer adds none, or the text would be
// narrower than the pictures sized for it, and they would be cut.
constexpr double kMarginMm = 20.0;

// The width of the text on an A4 page, in the document's units (1/96 in).
double textWidth()
{
    return (QPageSize(QPageSize::A4).size(QPageSize::Millimeter).width() - 2 * kMarginMm) / 25.4 * 96.0;
}

// The pictures are read from the text's folder and handed to the document;
// one wider than the text is shrunk to its width, a missing one stops.
void addPictures(QTextDocument &document, const QDir &folder)
{
    const double width = textWidth();
    QList<QTextFragment> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                pictures.append(it.fragment());
        }
    }
    for (const QTextFragment &fragment : pictures) {
        QTextImageFormat format = fragment.charFormat().toImageFormat();
        const QImage image(folder.filePath(format.name()));
        if (image.isNull())
            throw std::runtime_error("immagine mancante o illeggibile: " + format.name().toStdString());
        document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
        if (image.width() > width) {
            format.setWidth(width);
            format.setHeight(width * image.height() / image.width());
        }
        QTextCursor cursor(&document);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

// Tables with room around the text of their cells and a thin border.
void spaceTables(QTextDocument &document)
{
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            QTextTableFormat format = table->format();
            format.setCellPadding(3);
            format.setCellSpacing(0);
            format.setBorder(1);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderBrush(Qt::gray);
            table->setFormat(format);
        }
    }
}

void write(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error("impossibile leggere " + source.toStdString());
    QTextDocument document;
    document.setDefaultFont(QFont(u"DejaVu Sans"_s, 10));
    document.setMarkdown(QString::fromUtf8(in.readAll()));
    addPictures(document, QFileInfo(source).dir());
    spaceTables(document);

    QPdfWriter pdf(target);
    pdf.setTitle(document.begin().text());
    pdf.setCreator(u"elh770"_s);
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    document.print(&pdf);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fputs("Uso: elh_helpdoc TESTO.md DOCUMENTO.pdf\n", stderr);
        return 2;
    }
    try {
        write(args[0], args[1]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

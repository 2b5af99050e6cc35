#include "FormLines.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Captions wrap within this width, as the boxes of the form do; a caption
// the form writes on lines of its own keeps them up to the wider width.
constexpr int kCaptionWidth = 150;
constexpr int kLinedCaptionWidth = 210;
// The column of the line labels.
constexpr int kLabelWidth = 44;

QLabel *styled(const QString &text, bool bold, bool italic = false)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

// The point number in bold before the caption; every line of a long caption
// is shown.
QLabel *caption(const FormLines::Box &box)
{
    QString text = box.caption.toHtmlEscaped().replace(u'\n', u"<br>"_s);
    if (!box.point.isEmpty())
        text = u"<b>%1</b>&nbsp;%2"_s.arg(box.point, text);
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    if (!box.controls.isEmpty())
        label->setBuddy(box.controls.constFirst());
    int widest = 0;
    const QString plain = box.point + u' ' + box.caption;
    for (const QString &line : plain.split(u'\n'))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    const bool lined = box.caption.contains(u'\n');
    if (lined || widest > kCaptionWidth) {
        const int width = lined ? std::min(widest + 4, kLinedCaptionWidth) : kCaptionWidth;
        label->setFixedWidth(width);
        label->setMinimumHeight(label->heightForWidth(width));
    }
    return label;
}

QWidget *boxWidget(const FormLines::Box &box)
{
    auto *widget = new QWidget;
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    if (!box.heading.isEmpty()) {
        QLabel *heading = styled(box.heading, true);
        heading->setMaximumWidth(kCaptionWidth);
        column->addWidget(heading);
    }
    column->addStretch(1);
    column->addWidget(caption(box));
    if (!box.controls.isEmpty()) {
        auto *controls = new QHBoxLayout;
        controls->setSpacing(4);
        for (QWidget *control : box.controls)
            controls->addWidget(control);
        controls->addStretch(1);
        column->addLayout(controls);
    }
    return widget;
}

} // namespace

FormLines::FormLines(int boxesPerRow, QWidget *parent)
    : QVBoxLayout(parent)
    , m_boxesPerRow(boxesPerRow)
{
    setSpacing(12);
}

QGridLayout *FormLines::newGrid()
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    grid->setColumnMinimumWidth(0, kLabelWidth);
    addLayout(grid);
    return grid;
}

void FormLines::addHeading(const QString &text)
{
    m_table = nullptr;
    addSpacing(4);
    addWidget(styled(text, true));
}

void FormLines::addNote(const QString &text)
{
    m_table = nullptr;
    addWidget(styled(text, false, true));
}

void FormLines::addLine(const QString &label, const QList<Box> &boxes)
{
    m_table = nullptr;
    QGridLayout *grid = newGrid();
    for (int i = 0; i < boxes.size(); ++i) {
        grid->addWidget(boxWidget(boxes.at(i)), static_cast<int>(i) / m_boxesPerRow,
                        1 + static_cast<int>(i) % m_boxesPerRow, Qt::AlignLeft | Qt::AlignBottom);
    }
    if (!label.isEmpty())
        grid->addWidget(styled(label, true), 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    grid->setColumnStretch(m_boxesPerRow + 1, 1);
}

void FormLines::addTitles(const QList<Box> &titles)
{
    m_table = newGrid();
    m_table->setVerticalSpacing(3);
    for (int i = 0; i < titles.size(); ++i) {
        // A title is as wide as the controls of its column, and at least as
        // wide as its longest word or the lines the form gives it.
        const Box &box = titles.at(i);
        QWidget *title = boxWidget(box);
        title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        const int column = 1 + static_cast<int>(i) % m_boxesPerRow;
        m_table->addWidget(title, static_cast<int>(i) / m_boxesPerRow, column, Qt::AlignBottom);
        const QString text = box.point + u"\u00a0"_s + box.caption;
        int widest = title->minimumSizeHint().width();
        for (const QString &word : text.split(QRegularExpression(u"\\s+"_s)))
            widest = std::max(widest, title->fontMetrics().horizontalAdvance(word) + 4);
        m_table->setColumnMinimumWidth(column, std::max(m_table->columnMinimumWidth(column), widest));
    }
    m_table->setColumnStretch(m_boxesPerRow + 1, 1);
}

void FormLines::addRow(const QString &label, const QList<QWidget *> &controls)
{
    if (!m_table)
        m_table = newGrid();
    // A little space between one line and the next.
    const int gap = m_table->rowCount();
    m_table->setRowMinimumHeight(gap, 4);
    const int first = gap + 1;
    for (int i = 0; i < controls.size(); ++i) {
        m_table->addWidget(controls.at(i), first + static_cast<int>(i) / m_boxesPerRow,
                           1 + static_cast<int>(i) % m_boxesPerRow, Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_table->addWidget(styled(label, true), first, 0, Qt::AlignLeft | Qt::AlignVCenter);
}

void FormLines::finish()
{
    addStretch(1);
}

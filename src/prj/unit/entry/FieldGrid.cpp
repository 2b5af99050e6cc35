#include "FieldGrid.h"

#include <QHBoxLayout>
#include <QLabel>

// A caption of the left column: a long one wraps within the column.
QLabel *FieldGrid::caption(const QString &text) const
{
    auto *label = new QLabel(text);
    if (label->sizeHint().width() > m_captionWidth) {
        label->setWordWrap(true);
        label->setFixedWidth(m_captionWidth);
        label->setMinimumHeight(label->heightForWidth(m_captionWidth));
    }
    return label;
}

FieldGrid::FieldGrid(QWidget *parent, int captionWidth)
    : QGridLayout(parent)
    , m_captionWidth(captionWidth)
{
    setColumnStretch(1, 1);
    setColumnMinimumWidth(0, captionWidth);
    setHorizontalSpacing(12);
    setVerticalSpacing(6);
}

QLabel *FieldGrid::addRow(const QString &caption, QWidget *control)
{
    QLabel *label = this->caption(caption);
    label->setBuddy(control);
    addWidget(label, m_row, 0, Qt::AlignVCenter | Qt::AlignLeft);
    addWidget(control, m_row, 1, Qt::AlignVCenter | Qt::AlignLeft);
    ++m_row;
    return label;
}

void FieldGrid::addControl(QWidget *control)
{
    addWidget(control, m_row++, 1);
}

void FieldGrid::addControls(const QString &caption, const QList<QWidget *> &controls)
{
    if (!caption.isEmpty())
        addWidget(this->caption(caption), m_row, 0, Qt::AlignVCenter | Qt::AlignLeft);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    for (QWidget *control : controls)
        row->addWidget(control);
    row->addStretch(1);
    addLayout(row, m_row++, 1);
}

void FieldGrid::addWide(QLayout *layout)
{
    addLayout(layout, m_row++, 0, 1, 2);
}

QLabel *FieldGrid::addHeading(const QString &text)
{
    auto *label = new QLabel(text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setWordWrap(true);
    if (m_row > 0)
        setRowMinimumHeight(m_row++, 8);
    addWidget(label, m_row++, 0, 1, 2);
    return label;
}

void FieldGrid::addNote(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    QFont italic = label->font();
    italic.setItalic(true);
    label->setFont(italic);
    addWidget(label, m_row++, 0, 1, 2);
}

void FieldGrid::finish()
{
    setRowStretch(m_row, 1);
}

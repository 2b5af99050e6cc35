#pragma once

#include <QGridLayout>

class QLabel;

// The layout of a detail page: captions on the left, their controls on the
// right, headings and notes across both, so that every page of the editors
// lines up the same way. Long captions wrap instead of being cut.
class FieldGrid : public QGridLayout
{
public:
    // The caption width of a page with two columns of fields.
    static constexpr int kColumnCaptionWidth = 220;

    // Captions wider than `captionWidth` wrap.
    explicit FieldGrid(QWidget *parent = nullptr, int captionWidth = 300);

    // A caption and its control; returns the caption's label.
    QLabel *addRow(const QString &caption, QWidget *control);
    // A control without a caption (a check box), under the controls.
    void addControl(QWidget *control);
    // Several controls on one row, after an optional caption.
    void addControls(const QString &caption, const QList<QWidget *> &controls);
    // A layout across both columns (a table of fields).
    void addWide(QLayout *layout);
    QLabel *addHeading(const QString &text);
    void addNote(const QString &text);
    // Leaves the free space below the last row.
    void finish();

private:
    QLabel *caption(const QString &text) const;

    int m_captionWidth;
    int m_row = 0;
};

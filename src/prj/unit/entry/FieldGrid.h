#pragma once

#include <QGridLayout>

class QLabel;

// The layout of a detail page: captions on the left, their controls on the
// right, headings and notes across both, so that every page of the editors
// lines up the same way. Long captions wrap instead of being cut.
class FieldGrid : public QGridLayout
{
public:
    explicit FieldGrid(QWidget *parent = nullptr);

    // A caption and its control; returns the caption's label.
    QLabel *addRow(const QString &caption, QWidget *control);
    // A control without a caption (a check box), under the controls.
    void addControl(QWidget *control);
    // Several controls on one row, after an optional caption.
    void addControls(const QString &caption, const QList<QWidget *> &controls);
    void addHeading(const QString &text);
    void addNote(const QString &text);
    // Leaves the free space below the last row.
    void finish();

private:
    int m_row = 0;
};

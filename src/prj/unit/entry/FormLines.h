#pragma once

#include <QList>
#include <QString>
#include <QVBoxLayout>

class QGridLayout;

// The detail page of a prospetto laid out as the printed form: lines that
// open with their label ("ST1", "SX40") and hold their boxes, each with its
// point number and caption over its controls, a heading over a group of
// boxes where the form has one. A line with more boxes than fit in a row
// goes on in the next row; the labels of all lines stand in one column.
// Lines of equal boxes (the eleven payment lines of ST sections III and IV)
// read as a table: the titles once, then the controls of each line, in as
// many rows as its boxes take.
class FormLines : public QVBoxLayout
{
public:
    struct Box
    {
        QString point;
        QString caption;
        QList<QWidget *> controls;
        // A heading over the box, for a group of boxes of the form.
        QString heading;
    };

    explicit FormLines(int boxesPerRow, QWidget *parent = nullptr);

    void addHeading(const QString &text);
    void addNote(const QString &text);
    void addLine(const QString &label, const QList<Box> &boxes);
    // The titles of the columns of the rows that follow.
    void addTitles(const QList<Box> &titles);
    void addRow(const QString &label, const QList<QWidget *> &controls);
    // Leaves the free space below the last line.
    void finish();

private:
    QGridLayout *newGrid();

    int m_boxesPerRow;
    QGridLayout *m_table = nullptr;
};

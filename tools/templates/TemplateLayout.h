#pragma once

#include <QList>
#include <QString>

// The readable description of a template PDF: its pages and what is drawn
// on each, in points from the top-left corner. A JSON file:
//   {"pages": [{"size": [595, 842], "elements": [ ... ]}, ...]}
// named after the PDF it describes ("770_sempl_mod.json").
// Elements, each an object named by its first key:
//   {"text": "PROSPETTO ST", "at": [x, y], "size": 9, "bold": true, "align": "left|center|right"}
//       y is the baseline; x the left end, the centre or the right end
//   {"wrap": "...", "rect": [x, y, w, h], "size": 7, "bold": false, "align": "left"}
//       text broken into lines inside the rectangle
//   {"box": [x, y, w, h], "number": "2", "label": "Ritenute operate", "line": "ST2"}
//       a field's box with its number and caption in the top-left corner
//   {"comb": [x, y, cells, cellWidth, h], "number": "", "label": "Codice fiscale"}
//       a row of cells, one character each, the caption above it
//   {"date": [x, y, h], "label": "Data di nascita"}
//       a 72-point box split into day, month and year, the caption above it
//   {"band": [x, y, w, h], "text": "SEZIONE I", "size": 8}
//       a grey title band
//   {"frame": [x, y, w, h]}
//       an outline that holds no value
//   {"line": [x1, y1, x2, y2], "width": 0.5}
//   {"table": {"top": y, "rowHeight": h, "rows": n, "label": "ST%1", "labelFrom": 1,
//              "labelAt": [x, w], "extra": [[row, points], ...],
//              "head": [y, h], "captionsInside": false,
//              "columns": [{"x": x, "w": w, "dy": 0, "h": h, "number": "1", "head": "Mese",
//                           "headDy": 0, "headH": h, "cells": 0}, ...]}}
//       rows of field boxes: row i starts at top + i × rowHeight, plus the
//       extra points of the last entry whose row is not above i; heads in
//       their own boxes above, or the captions inside every box; a column
//       with cells is a comb
// Tables are expanded into boxes, texts and lines when the file is read.
// A box, comb or date may name the line of the supply file its value
// belongs to ("line"; in a table, the row's label) and the point of that
// line ("point", else its number; in a table, the column's "point" or
// "number"): the prints' read-back maps what is drawn to the file by them.
namespace TemplateLayout {

struct Rect
{
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;

    bool contains(const Rect &other, double tolerance) const;
};

enum class Kind { Text, Wrap, Box, Comb, Date, Band, Frame, Line };
enum class Align { Left, Centre, Right };

struct Element
{
    Kind kind = Kind::Text;
    Rect rect;          // the box; for a text its anchor (x, baseline); for a line its ends (x, y, x2, y2)
    QString text;       // text, band title, the caption of a box
    QString number;     // the number of a box
    double size = 8;    // text size
    bool bold = false;
    Align align = Align::Left;
    int cells = 0;      // comb
    double lineWidth = 0.5;
    QString line;  // the line of the supply file ("ST2"), empty when none
    QString point; // the point of that line ("7")
};

struct Page
{
    double width = 595;
    double height = 842;
    QList<Element> elements;

    // The boxes where values go (boxes, combs, dates).
    QList<Rect> fieldBoxes() const;
};

struct Layout
{
    QList<Page> pages;
};

// Raises std::runtime_error naming the file and the element that is wrong.
Layout load(const QString &path);

} // namespace TemplateLayout

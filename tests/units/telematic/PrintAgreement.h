#pragma once

#include <QList>
#include <QString>

class THlmDBCds;

// The supply file and the printed form of one return, read back and laid
// side by side: each element of the file (Prospetto, module, line, point,
// value, continuation pieces joined) and each value drawn on the prints
// (the Prospetto of its print, the module of its page's "Mod. N." box, the
// line and point of the template box it stands in, per the readable layout
// of the form).
namespace PrintAgreement {

struct Element
{
    QString prospetto; // "ST"
    int module = 0;
    QString line;  // "ST4"
    QString point; // "7"
    QString value; // as the file or the page writes it

    QString describe() const;
};

// The elements of the records D, I and J of a supply file.
QList<Element> fileElements(const QString &supply);

// Prints every Prospetto that `elements` hold into `folder` with the store
// of the return, reads the pages back and returns what they show.
QList<Element> printedElements(THlmDBCds &store, const QList<Element> &elements, const QString &folder);

// The file's elements that no page shows at their Prospetto, module, line
// and point with the same value (blanks, leading zeros of digits and the
// ticked box's "X" against "1" aside).
QStringList missingFromPrints(const QList<Element> &file, const QList<Element> &printed);

} // namespace PrintAgreement

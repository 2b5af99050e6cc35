#pragma once

#include <QStringList>

class ReturnCatalogue;
class TdmNrConnection;

// The table structures stored in a school database brought up to the
// catalogue of the program, for every structure (table and year) of a
// catalogued table: a field the catalogue adds is added, a text that grows
// or becomes a memo, an integer that becomes a large one, a date that gets a
// time and amounts shown with more decimals are widened; a field the
// catalogue drops or narrows keeps its place and its type when it holds
// values, and the user is told, otherwise it follows the catalogue. Values
// are never touched.
class StructureUpgrade
{
public:
    // In the connection's transaction; returns what the user is to be told.
    static QStringList run(TdmNrConnection &connection, const ReturnCatalogue &catalogue);
    // Makes the schema upgrade of an older database run it with the
    // catalogue delivered with the program (the program does this at start).
    static void install();
};

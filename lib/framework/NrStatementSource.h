#pragma once

#include <QString>

class TNrQuery;

// Where the statements run against the school database come from: no SQL
// text is written in the program, every statement is fetched by name.
class NrStatementSource
{
public:
    virtual ~NrStatementSource() = default;
    // Places the text of the statement (name, kind, index) into the target.
    // A statement the source does not hold raises EAssertionFailed with the
    // text "Query: " followed by the name.
    virtual void fetch(const QString &name, TNrQuery &target, int index, const QString &kind) = 0;
};

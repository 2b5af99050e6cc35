#pragma once

#include <QString>

#include <memory>

class ClientDataSet;

// A compiled filter of a client dataset. The language: field names and the
// keywords and, or, not, is, null, true, false without regard to case; text
// literals in single quotes with a doubled quote inside ('D''ANGELO');
// numbers with a decimal point; = <> < <= > >= between values of one kind
// (a text literal compared with a date or a number field is read as one);
// + joins texts or adds numbers, - subtracts; "is null", "is not null";
// parentheses. A comparison with null is false. Raises EDatabaseError naming
// the text and the position for malformed text, unknown fields and values of
// kinds that do not compare.
class FilterExpression
{
public:
    FilterExpression(const ClientDataSet &dataSet, const QString &text);
    ~FilterExpression();
    FilterExpression(const FilterExpression &) = delete;
    FilterExpression &operator=(const FilterExpression &) = delete;

    bool matches(int row) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

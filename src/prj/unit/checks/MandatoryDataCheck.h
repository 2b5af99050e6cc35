#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ClientDataSet;

// The mandatory-data check of the frontispiece and of the employee and
// self-employed records: it examines the current record of each dataset,
// field by field in field order, and appends one text per missing or
// incoherent item (a text may hold several lines separated by CR LF). Filled
// values are checked too: fiscal codes (shape and check character), amounts
// that are negative, dates outside the years of the return.
// The editors run it before a record is confirmed, the telematic file
// before its generation.
namespace MandatoryDataCheck {

// Returns true when nothing was appended.
bool run(QStringList &findings, const QList<const ClientDataSet *> &dataSets);

// Whether the amount of a decimal field may be negative: the amounts of the
// form (the fields "F...") never are.
bool negativeAllowed(const QString &field);

} // namespace MandatoryDataCheck

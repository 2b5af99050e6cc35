#pragma once

#include "Conversions.h"

#include <QString>

// What a long run tells while it goes: the step it is on (a person, a
// page) out of how many, and what it does between steps. It asks between
// steps whether the user wants it to stop, and then stops after the step
// under way. The desktop shows a window with the count and "Annulla"; the
// command line passes none.
class NrProgress
{
public:
    virtual ~NrProgress() = default;
    // Step `current` (from 1) of `total` begins; `text` names it.
    virtual void step(int current, int total, const QString &text) = 0;
    // What the run does now, outside its steps.
    virtual void status(const QString &text) = 0;
    // True once the user asked to stop.
    virtual bool cancelled() = 0;
};

// A count as the progress and the logs show it: "2.000".
inline QString progressCount(int n)
{
    return Conv::formatFloat(QStringLiteral("#,##0"), static_cast<double>(n));
}

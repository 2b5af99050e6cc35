#pragma once

#include "FiscalCode.h"

#include <QString>

// A person's fiscal code for made-up people: the fifteen characters given
// and the check character they call for.
inline QString withCheckCharacter(const QString &stem)
{
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        if (FiscalCode::check(stem + QChar(c)) == FiscalCode::Verdict::Valid)
            return stem + QChar(c);
    }
    return QString();
}

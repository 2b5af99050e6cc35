#pragma once

#include <QString>

#include <optional>

// The answer of an option "si|no" of the command line; nothing for another word.
inline std::optional<bool> yesNo(const QString &text)
{
    if (text == u"si")
        return true;
    if (text == u"no")
        return false;
    return std::nullopt;
}

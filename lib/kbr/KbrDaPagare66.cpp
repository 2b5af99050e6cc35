#include "KbrDaPagare66.h"

namespace KbrDaPagare66 {

std::optional<int> settlements(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1)
        return std::nullopt;
    return value;
}

} // namespace KbrDaPagare66

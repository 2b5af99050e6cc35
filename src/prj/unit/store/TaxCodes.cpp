#include "TaxCodes.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace TaxCodes {

const std::vector<Section> &sections()
{
    static const std::vector<Section> all{
        {u"E"_s,
         QRegularExpression(u"^1[0-9]{2}E$|^1[0-9]{3}$"_s),
         {u"620E"_s, u"621E"_s},
         u"delle ritenute erariali (1nnE, 1nnn)"_s},
        {u"R"_s, QRegularExpression(u"^(381E|3802)$"_s), {u"380E"_s}, u"dell'addizionale regionale (381E, 3802)"_s},
        {u"EL"_s,
         QRegularExpression(u"^(384E|385E|3847|3848)$"_s),
         {},
         u"dell'addizionale comunale (384E, 385E, 3847, 3848)"_s},
    };
    return all;
}

const Section *sectionOf(const QString &taxCode)
{
    const auto &all = sections();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Section &s) {
        return !s.others.contains(taxCode) && s.withholdings.match(taxCode).hasMatch();
    });
    return found == all.end() ? nullptr : &*found;
}

bool selfEmployed(const QString &taxCode)
{
    static const QStringList codes{u"104E"_s, u"1019"_s, u"1020"_s, u"1040"_s};
    return codes.contains(taxCode);
}

bool municipalAdvance(const QString &taxCode)
{
    return taxCode == u"384E"_s || taxCode == u"3847"_s;
}

bool municipalBalance(const QString &taxCode)
{
    return taxCode == u"385E"_s || taxCode == u"3848"_s;
}

} // namespace TaxCodes

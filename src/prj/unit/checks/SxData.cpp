#include "SxData.h"

#include "ClientDataSet.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace SxData {

bool present(const ClientDataSet &sx)
{
    static const QStringList amounts{
        u"FCRECONGCESSRAPP_SX"_s,     u"CRERISDICH_SX"_s,      u"CRERITLAVDIPASSASSFIS_SX"_s,
        u"CRERITLAVAUTPROVRDIV_SX"_s, u"CREMAT_SX"_s,          u"CRESPETT_SX"_s,
        u"CRERICFAMNUMANN_SX"_s,      u"CRERICCANLOCANN_SX"_s, u"BONUSEROANN_SX"_s};
    static const QStringList regions{u"LVA_SX"_s, u"LSA_SX"_s, u"LSI_SX"_s};
    return std::any_of(amounts.cbegin(), amounts.cend(),
                       [&](const QString &f) { return !sx.fieldByName(f).asCurrency().isZero(); })
           || std::any_of(regions.cbegin(), regions.cend(), [&](const QString &f) {
                  const QString flag = sx.fieldByName(f).asString().trimmed();
                  return !flag.isEmpty() && flag != u"0";
              });
}

} // namespace SxData

#include "DeliveredData.h"

#include "DataPaths.h"

using namespace Qt::Literals::StringLiterals;

namespace DeliveredData {

QString path(const QString &relative)
{
    return DataPaths::resolve(QString::fromUtf8(ELH_DATA_ROOT), relative);
}

const ReturnCatalogue &catalogue()
{
    static const ReturnCatalogue loaded = ReturnCatalogue::load(path(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
    return loaded;
}

} // namespace DeliveredData

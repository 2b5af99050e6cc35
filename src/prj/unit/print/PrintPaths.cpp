#include "PrintPaths.h"

#include "DataPaths.h"

using namespace Qt::Literals::StringLiterals;

namespace PrintPaths {

QString coordStp(const QString &file)
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Res\\CoordStp\\"_s + file);
}

} // namespace PrintPaths

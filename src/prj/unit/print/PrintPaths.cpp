#include "PrintPaths.h"

#include "DataPaths.h"

using namespace Qt::Literals::StringLiterals;

namespace PrintPaths {

QString coordStp(const QString &file)
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Res\\CoordStp\\"_s + file);
}

QString output(const QString &name)
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Stp\\"_s + name + u".pdf"_s);
}

} // namespace PrintPaths

#include "SchoolFiscalCode.h"

#include "NrConnection.h"
#include "NrQuery.h"
#include "NruParams.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

QString schoolFiscalCode(TdmNrConnection *connection, const TdmNruParams &params)
{
    if (!connection || !connection->connected())
        return QString();
    TNrQuery q(*connection);
    q.fetch(u"QRY_SED"_s, 0, u"SELECT"_s);
    q.setParam(u"IDWGID"_s, params.dwgId());
    q.open();
    const QString code = q.next() ? TextLib::Trim(q.value(u"SSEDNOMCODICEFISC"_s).toString()) : QString();
    q.close();
    return code;
}

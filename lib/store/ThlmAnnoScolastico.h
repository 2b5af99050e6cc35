#pragma once

#include "ThlmAnno.h"

// A school year (TANS_ANNISCOLAST).
class ThlmAnnoScolastico : public ThlmAnno
{
public:
    explicit ThlmAnnoScolastico(int id, TdmNruParams *params = nullptr)
        : ThlmAnno(id, params, QStringLiteral("QRY_ANS_DATE"), QStringLiteral("anno scolastico"))
    {
    }
};

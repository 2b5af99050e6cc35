#pragma once

#include "ThlmAnno.h"

// A financial year (TANF_ANNIFINANZ).
class ThlmAnnoFinanziario : public ThlmAnno
{
public:
    explicit ThlmAnnoFinanziario(int id, TdmNruParams *params = nullptr)
        : ThlmAnno(id, params, QStringLiteral("QRY_ANF_DATE"), QStringLiteral("anno finanziario"))
    {
    }
};

#pragma once

#include "Decimal.h"

// The shared calculation unit of the payroll library.
namespace THlmCalcola {

// The percentage of an amount: amount x rate / 100 (the amount itself when
// the rate is exactly 100), rounded to two decimals with halves away from
// zero. Exact: no binary floating point.
Decimal percentuale(Decimal amount, Decimal rate);

} // namespace THlmCalcola

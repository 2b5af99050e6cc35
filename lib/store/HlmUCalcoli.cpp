#include "HlmUCalcoli.h"

#include <cstdint>

namespace THlmCalcola {

Decimal percentuale(Decimal amount, Decimal rate)
{
    static const Decimal hundred = Decimal::fromInt(100);
    if (rate == hundred)
        return amount.rounded(2);
    // amount x rate is exact for amounts and rates of up to two decimals; a
    // hundredth of it, counted in cents, is its count of ten-thousandths
    // divided by 10,000, rounded once, halves away from zero.
    const std::int64_t product = (amount * rate).units();
    const std::int64_t magnitude = product < 0 ? -product : product;
    std::int64_t cents = magnitude / 10000;
    if (magnitude % 10000 >= 5000)
        ++cents;
    return Decimal::fromUnits((product < 0 ? -cents : cents) * 100);
}

} // namespace THlmCalcola

#pragma once

class ClientDataSet;

// An amount of the return fits the sixteen characters of its element in the
// supply file: thirteen integer digits, the comma and two decimals.
inline constexpr int kAmountIntegerDigits = 13;

// The amounts of a dataset as the frames show them: every decimal field gets
// the display format "#,##0.00" and the edit format "#.00" (with three
// zeros, "#,##0.000" and "#.000", for a field of three decimals), and a zero
// amount is shown as empty text.
void applyAmountFormats(ClientDataSet &dataSet);

#pragma once

class ClientDataSet;

// The amounts of a dataset as the frames show them: every decimal field gets
// the display format "#,##0.00", the edit format "#.00", and a zero amount
// is shown as empty text.
void applyAmountFormats(ClientDataSet &dataSet);

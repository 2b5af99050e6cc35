#pragma once

#include <QString>

class TdmNrConnection;
class TdmNruParams;

// The school's fiscal code, read from the school database with the named
// statement QRY_SED for the current school of the user's parameters
// (NRUP_DwgId). Empty when there is no connection or no such school.
QString schoolFiscalCode(TdmNrConnection *connection, const TdmNruParams &params);

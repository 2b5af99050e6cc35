#pragma once

#include <QString>

#include <functional>

class FindingSink;
class THlmDBCds;

// Makes sure that the withholding agent's record of the year exists, at the
// first start of the year: copied from the previous year's agent (with the
// supplier, when that is missing too), or filled from the payroll data
// (the school's fiscal code and the payroll module's agent table,
// TCUS_DATISOST under the program code "eli"). Reports what was imported
// to the findings once it is saved. A second start finds the record and
// does nothing.
namespace AgentBootstrap {

void run(THlmDBCds &store, const std::function<QString()> &schoolFiscalCode, FindingSink &findings);

} // namespace AgentBootstrap

#pragma once

class ClientDataSet;
class THlmDBCds;

// The summary fields of the withholding agent's record, refreshed from the
// tables of the return before the frontispiece is shown or printed: the
// number of employees (ISOSNDIP) and of self-employed workers (ISOSNAUTON),
// and for each prospetto its flag (LSOSST, LSOSSS, LSOSSV, LSOSSX, LSOSSY,
// LSOSDI): 1 when its table (any of the four of SY) holds a record, null
// otherwise. The record is posted in the dataset, not saved; an empty
// dataset is left alone.
namespace AgentSummary {

void refresh(ClientDataSet &agent, THlmDBCds &store);

} // namespace AgentSummary

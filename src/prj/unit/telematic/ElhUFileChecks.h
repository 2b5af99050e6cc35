#pragma once

#include <QString>

class ClientDataSet;
class FileWizard;
class TdmElhFile;

// The checks that keep data the tax authority would reject out of the
// supply file.

// The mandatory data of the agent and of the supplier. When something is
// missing the findings are shown and the user is asked whether to go on;
// "No" adds "Generazione file telematico terminata dall'utente" to the memo.
// Returns whether to go on.
bool CheckCompleteness(FileWizard &wizard);

// Every row of the Prospetti that names an extinct agent must name one of
// TSOE7_SOSESTINTO; the first that does not stops the run with the message
// of its table.
void CheckExtinctAgents(TdmElhFile &dm);

// The values of the Prospetti that the supply cannot carry, however the row
// was made: a period of ST or SV whose month is not 01-12 or whose year is
// not of four digits, a negative amount (the layout has no signed amount).
// The first found stops the run with a message naming the Prospetto, the row
// and the value.
void CheckProspettiValues(TdmElhFile &dm);

// The two parts of the protocol of a return sent under separate management
// are both given or both missing.
void CheckFrontispiece(const ClientDataSet &cdsSost);

// The row of SY section II emitted on a line of a module belongs to the
// module's agent (empty: the declaring agent); otherwise the run stops with
// a message naming both agents, the line, the module and the row.
void CheckSyCongruence(const QString &moduleAgent, const ClientDataSet &rows, int line, int module);

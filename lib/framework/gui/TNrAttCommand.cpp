#include "TNrAttCommand.h"

void TNrAttCommand::Execute()
{
    bool allow = true;
    if (BeforeExecute)
        BeforeExecute(*this, allow);
    if (!allow || !run())
        return;
    if (AfterExecute)
        AfterExecute(*this);
}

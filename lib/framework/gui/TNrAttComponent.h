#pragma once

#include "TNrAttCommand.h"

// A command that runs its OnExecute handler.
class TNrAttComponent : public TNrAttCommand
{
public:
    explicit TNrAttComponent(TdmNrAttivazioni *owner)
        : TNrAttCommand(owner)
    {
    }

    NotifyEvent OnExecute;

protected:
    bool run() override
    {
        if (OnExecute)
            OnExecute(*this);
        return true;
    }
};

#pragma once

#include "NrReturnLock.h"

#include <memory>

class THlmDBCds;

// The lock of the store's return (its program, year and month) for a run
// that writes it whole, held until it is let go (TNrReturnLock).
std::unique_ptr<TNrReturnLock> HlmLockReturn(THlmDBCds &store);

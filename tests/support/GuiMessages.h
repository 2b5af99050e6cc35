#pragma once

#include "NrMessages.h"

// The message boxes of a widget test, recorded and answered from its script;
// each test starts with a fresh one.
ScriptedMessageService &messages();

#pragma once

#include "NrExceptions.h"

// The shared library's warning; the query store does not decorate it with
// the last statement.
class EHlmWarning : public ENrWarning
{
public:
    using ENrWarning::ENrWarning;
};

// A warning raised by the import computations.
class EHlmCalcola : public EHlmWarning
{
public:
    using EHlmWarning::EHlmWarning;
};

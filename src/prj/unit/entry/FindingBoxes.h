#pragma once

#include "NrFindings.h"

// The findings of the core shown as the windows show their messages: each
// at once, in a box of its kind with an OK button.
class FindingBoxes : public FindingSink
{
public:
    void report(const Finding &finding) override;
};

// A question of the core, in a box with the buttons Yes and No.
bool askYesNo(const QString &question);

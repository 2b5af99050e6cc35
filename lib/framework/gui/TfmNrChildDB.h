#pragma once

#include "TfmNrVuota.h"

// Base of the child editing windows of the main window: an empty window
// (TfmNrVuota) whose content edits data.
class TfmNrChildDB : public TfmNrVuota
{
    Q_OBJECT

public:
    explicit TfmNrChildDB(QWidget *parent = nullptr);
};

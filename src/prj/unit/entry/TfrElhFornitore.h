#pragma once

#include "TfrElhFrontRecord.h"

// The frame of the supplier of the telematic file (TFOR_FORNITORE, a single
// record): its fiscal code and type.
class TfrElhFornitore : public TfrElhFrontRecord
{
    Q_OBJECT

public:
    explicit TfrElhFornitore(QWidget *parent = nullptr);

    QString tableName() const override;

protected:
    QString deleteQuestion() const override;
};

#pragma once

#include "TfrElfBase.h"

// The frame of the supplier of the telematic file (TFOR_FORNITORE, a single
// record): its fiscal code and type.
class TfrElhFornitore : public TfrElfBase
{
    Q_OBJECT

public:
    explicit TfrElhFornitore(QWidget *parent = nullptr);

    QString tableName() const override;

protected:
    void cdsMainBeforePost() override;
    QString deleteQuestion() const override;
    void updateActions() override;
};

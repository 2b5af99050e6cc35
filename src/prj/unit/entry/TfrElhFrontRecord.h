#pragma once

#include "TfrElfBase.h"

// The frame of a single record of the frontispiece (the agent, the
// supplier): a record can be added only to an empty table, a new record
// needs its fiscal code, and every record confirmed by the user passes the
// mandatory-data check or the user's "Si".
class TfrElhFrontRecord : public TfrElfBase
{
    Q_OBJECT

public:
    // `fiscalCodeField` is the field that a new record may not leave empty.
    explicit TfrElhFrontRecord(const QString &fiscalCodeField, QWidget *parent = nullptr);

protected:
    void cdsMainBeforePost() override;
    void updateActions() override;

private:
    QString m_fiscalCodeField;
};

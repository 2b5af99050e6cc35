#pragma once

#include <QHash>
#include <QString>

class TdmNrConnection;

// The payroll library's calculation module: the look-ups in the school's
// payroll that the import computations make.
class TdmKbrCalcola
{
public:
    // A person's contract in a financial year: its identifier, qualification
    // and position (type of appointment); all 0 when he has none.
    struct Contratto
    {
        int iacomId = 0;
        int iqarId = 0;
        int itnoId = 0;
    };

    explicit TdmKbrCalcola(TdmNrConnection &connection);

    // QRY_IMP_CF: everyone's contract started last in the year, by fiscal
    // code as the database upper-cases it.
    QHash<QString, Contratto> contratti(int anfId);
    // QRY_REPA_ACOM_CALC: the code of the region of the contract's regional
    // additional tax; 0 when it has none.
    int regione(int iacomId);

private:
    TdmNrConnection &m_connection;
};

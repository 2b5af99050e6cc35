#pragma once

#include "DatabaseTest.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"
#include "TdmKbrParams.h"

#include <QByteArray>

#include <memory>

class ClientDataSet;

// A test on a school database of the return, as "elh770 crea-database"
// makes one: the structures of every catalogued table for 2022 and 2023,
// the table store of the run (program "elh", 2023, month 0, reporting to
// the findings) and the user's
// parameters in a file of the test. The data root holds the delivered data
// of the year (USR\FL2023) of the build.
class ReturnDatabaseTest : public DatabaseTest
{
public:
    // The information boxes of the first start of the year.
    static const QString kCopiedFromLastYear;
    static const QString kFilledFromPayroll;

protected:
    void SetUpOpened() override;

    // The demo school with its years and accounting parameters and the demo
    // data of the return; the parameters point to it.
    void loadDemo();
    // Records {"records": [...]} appended to a table through a store of
    // that year and program.
    void write(const QString &table, const QByteArray &json, int year = 2023,
               const QString &program = QStringLiteral("elh"));
    // The return of a second school that closed, written into another
    // instance of the store (month 1) and exported into the folder as
    // "Esporta dati " does, with the agent's fiscal code given. Employees:
    // RUSSO (adjustment data and an INPS row), ROSSI (dependants), MARINI
    // (only there, with a dependant and an annotation); self-employed: GALLI
    // (reason A) and BRUNI (only there, reason M).
    void exportExtinctSchool(const QString &folder, const QString &agentCode);
    // A table as the store gives it now.
    std::unique_ptr<ClientDataSet> read(const QString &table, int year = 2023,
                                        const QString &program = QStringLiteral("elh"));

    const ReturnCatalogue &catalogue() const { return m_catalogue; }
    THlmDBCds &store() { return *m_store; }
    TdmKbrParams &params() { return *m_params; }

private:
    ReturnCatalogue m_catalogue;
    std::unique_ptr<THlmDBCds> m_store;
    std::unique_ptr<TdmKbrParams> m_params;
};

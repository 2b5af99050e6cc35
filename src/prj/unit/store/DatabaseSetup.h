#pragma once

#include <QList>
#include <QString>

class ReturnCatalogue;
class TdmNruParams;
class TdmkbrConnessione;

// A new school database for the return: the structures of every catalogued
// table for the years served, and on request a demo school with its years,
// accounting parameters and the demo data of the return.
class DatabaseSetup
{
public:
    // The demo school's fiscal code (11 digits, valid check digit); the demo
    // data of the return carry the same code.
    static constexpr const char16_t *kDemoFiscalCode = u"80012345676";
    static constexpr int kDemoSchool = 1;
    static constexpr int kDemoYear = 2023;
    static constexpr int kDemoPreviousYear = 2022;
    // The demo payroll's F24EP delegations and the payroll rows that the CU
    // import's computations read, in the demo folder.
    static constexpr const char16_t *kDemoPayments = u"Paghe\\F24EP.json";
    static constexpr const char16_t *kDemoPayroll = u"Paghe\\Retribuzioni.json";

    explicit DatabaseSetup(TdmkbrConnessione &connection);

    // Whether the database holds no table structure yet.
    bool isEmpty();
    // Stores a structure (month 0) of every table of the catalogue for each year.
    void createStructures(const ReturnCatalogue &catalogue, const QList<int> &years);
    // Writes the demo school, its school and financial years and accounting
    // parameters, then loads through the table store every file of the
    // folder named after a catalogued table: <TABLE>.json for the current
    // year, <TABLE>.2022.json for the previous one, the payroll's F24EP
    // delegations (kDemoPayments) and its other rows (kDemoPayroll). Returns
    // the files loaded.
    QStringList createDemo(const ReturnCatalogue &catalogue, const QString &demoFolder);
    // Points the user's parameters to the demo school and years.
    static void pointToDemo(TdmNruParams &params);

private:
    TdmkbrConnessione &m_connection;
};

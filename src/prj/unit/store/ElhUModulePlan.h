#pragma once

#include <QList>
#include <QString>
#include <QStringView>

class ClientDataSet;

// A table of a Prospetto as records D and I carry it: the order of its rows
// (the order of the lines of the form) and how many of its rows one module
// takes. The supply file and the printed form both read it from here, so
// that they put the same row in the same module and line.
struct ProspettoTable
{
    QStringView prospetto; // the two letters of the Prospetto, the codes' prefix
    QStringView table;
    QStringView order;
    int rowsPerModule;
};

namespace ModuleLayout {

// Record D: Prospetti ST (sections I to IV, a row of III and IV fills its
// section), SV, SX (a row fills the Prospetto) and DI.
inline constexpr ProspettoTable kSt{u"ST", u"TPST_PROSPETTOST",
                                    u"SSOE7CODICE;LPSTEVENTIECC;DPSTDTVERS;SPSTANNO;SPSTMESE", 12};
inline constexpr ProspettoTable kSt2{u"ST", u"TPST2_PROSPETTOSTS2",
                                     u"SSOE7CODICE;LPSTEVENTIECC;DPST2DTVERS;SPST2ANNO;SPST2MESE;SPST2CODREG", 12};
inline constexpr ProspettoTable kSt3{u"ST", u"TPST3_PROSPETTOSTS3", u"SSOE7CODICE;LPSTEVENTIECC;SPST3CFINTNRES", 1};
inline constexpr ProspettoTable kSt4{u"ST", u"TPST4_PROSPETTOSTS4", u"SSOE7CODICE;LPSTEVENTIECC;SCFINTNRES", 1};
inline constexpr ProspettoTable kSv{u"SV", u"TPSV_PROSPETTOSV", u"SSOE7CODICE;DPSVDTVERS;SPSVANNO;SPSVMESE", 12};
inline constexpr ProspettoTable kSx{u"SX", u"TPSX_PROSPETTOSX", u"SSOE7CODICE;", 1};
inline constexpr ProspettoTable kDi{u"DI", u"TPDI_PROSPETTODI", u"SSOE7CODICE;SPDICODFIS;SPDIPERIMP", 20};

// Record I: Prospetto SY, sections I (lines 2-6), II (7-11), III (12-15)
// and IV (16-20).
inline constexpr ProspettoTable kSy2{u"SY", u"TPSY2_PROSPETTOSY2", u"SSOE7CODICE;SPSY2CREPIGCF", 5};
inline constexpr ProspettoTable kSy{u"SY", u"TPSY_PROSPETTOSY", u"SSOE7CODICE;SPSYDEBPRICODF;SPSYCREPIGCODF", 5};
inline constexpr ProspettoTable kSy3{u"SY", u"TPSY3_PROSPETTOSY3", u"SSOE7CODICE;SPSY3CFBEN", 4};
inline constexpr ProspettoTable kSy4{u"SY", u"TPSY4_PROSPETTOSY4", u"SSOE7CODICE;SSY4DEN", 5};

} // namespace ModuleLayout

// The modules of record D or I: the rows of each withholding agent in turn
// (the agent itself, then each extinct agent in the order of
// TSOE7_SOSESTINTO, then any other code that rows name, in the order of the
// codes) never share a module; an agent has as many modules as its fullest
// table needs, and module k of an agent takes the k-th group of
// rowsPerModule rows of each table. Progressive numbers run on across the
// agents from 1.
class ModulePlan
{
public:
    struct Table
    {
        ClientDataSet *rows; // open, ordered as its ProspettoTable says
        const ProspettoTable *layout;
    };

    struct Module
    {
        QString agent; // empty for the agent itself
        int index = 0; // 0 for the agent's first module
        int progressive = 0;
    };

    // Counts the modules; the tables are left filtered on the last agent.
    ModulePlan(QList<Table> tables, const ClientDataSet &extinctAgents);

    const QList<Module> &modules() const { return m_modules; }

    // Filters every table to the module's agent and puts each on its first
    // row of the module, or past its end when the module has none of its
    // rows. rows() then says how many it has.
    void select(const Module &module);
    int rows(const ClientDataSet &table) const;
    // Whether the selected module holds rows of the Prospetto ("ST").
    bool holds(QStringView prospetto) const;
    // Removes the filters.
    void release();

private:
    void filterAgent(const QString &agent);

    QList<Table> m_tables;
    QList<Module> m_modules;
    QList<int> m_selectedRows;
    QString m_filteredAgent;
    bool m_filtered = false;
};

#pragma once

#include "ClientDataSet.h"

#include <QString>
#include <QStringView>

class TdmNrConnection;
class THlmDBCds;

// Constants of this edition of the return.
namespace Edition {
// The year of the return ("Modello 770/2024").
inline constexpr QStringView kReturnYear = u"2024";
// The fiscal code of the software producer, written in records B, D, I, J.
inline constexpr QStringView kSoftwareProducer = u"01234567897";
} // namespace Edition

// The file generation data module: one client dataset per table that the
// supply file is made from, and the two working tables of the generation,
// which are local files in the year's data folder.
class TdmElhFile
{
public:
    explicit TdmElhFile(THlmDBCds &store);
    TdmElhFile(const TdmElhFile &) = delete;
    TdmElhFile &operator=(const TdmElhFile &) = delete;

    ClientDataSet cdsFileTel;   // TFILE_FILETELEM: the finished records
    ClientDataSet cdsFieldFile; // TFIFI_FIELDSFILE: the field elements of records D, I, J
    ClientDataSet cdsForn;      // TFOR_FORNITORE
    ClientDataSet cdsSost;      // TSOS_DATOSOSTITUTO
    ClientDataSet cdsSostEst;   // TSOE7_SOSESTINTO
    ClientDataSet cdsPrSt;      // TPST_PROSPETTOST
    ClientDataSet cdsPrSt2;     // TPST2_PROSPETTOSTS2
    ClientDataSet cdsPrSt3;     // TPST3_PROSPETTOSTS3
    ClientDataSet cdsPrSt4;     // TPST4_PROSPETTOSTS4
    ClientDataSet cdsPrSv;      // TPSV_PROSPETTOSV
    ClientDataSet cdsPrSx;      // TPSX_PROSPETTOSX
    ClientDataSet cdsPrDi;      // TPDI_PROSPETTODI
    ClientDataSet cdsPrSy;      // TPSY_PROSPETTOSY
    ClientDataSet cdsPrSy2;     // TPSY2_PROSPETTOSY2
    ClientDataSet cdsPrSy3;     // TPSY3_PROSPETTOSY3
    ClientDataSet cdsPrSy4;     // TPSY4_PROSPETTOSY4
    ClientDataSet cdsPrSs4;     // TSS4_PROSPETTOSS4: the Prospetto SS as the user enters it
    ClientDataSet cdsPrSs;      // TPSS_PROSPETTOSS: the Prospetto SS as the supply carries it

    // Opens every table in the order the generation reads it (what the
    // wizard does when it is created); closes them all.
    void openTables();
    void closeTables();
    // Loads the frontispiece tables again from the store.
    void reopenFrontispiece();
    // The connection of the store, for changes that go together.
    TdmNrConnection &connection() const;
    // The store of the return the tables come from.
    THlmDBCds &store() const { return m_store; }

    // The working tables, read from and written to the year's local data
    // folder.
    void loadWorkingTables();
    void loadFieldFile();
    void saveWorkingTables();

    // The dataset component of that name, without regard to case; null when
    // there is none.
    ClientDataSet *findDataSet(const QString &name);
    // The same, raising "Sezione non trovata <name>" when there is none.
    ClientDataSet &FindSectionDataset(const QString &name);

    // The layout descriptor of a record kind ("A", "B", "D", ...).
    static QString descriptorPath(QStringView kind);

private:
    QString workingFile(QStringView table) const;

    THlmDBCds &m_store;
};

#include "ElhMFile.h"

#include "DataPaths.h"
#include "ElhUModulePlan.h"
#include "LocalDataFolder.h"
#include "NrExceptions.h"
#include "THlmCds.h"
#include "THlmDBCds.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct StoredTable
{
    ClientDataSet TdmElhFile::*component;
    QStringView table;
    QStringView indexFieldNames;
};

// The tables of the return, with the order each is read in.
constexpr StoredTable kStoredTables[] = {
    {&TdmElhFile::cdsForn, u"TFOR_FORNITORE", u""},
    {&TdmElhFile::cdsSost, u"TSOS_DATOSOSTITUTO", u""},
    {&TdmElhFile::cdsSostEst, u"TSOE7_SOSESTINTO", u""},
    {&TdmElhFile::cdsPrSt, ModuleLayout::kSt.table, ModuleLayout::kSt.order},
    {&TdmElhFile::cdsPrSt2, ModuleLayout::kSt2.table, ModuleLayout::kSt2.order},
    {&TdmElhFile::cdsPrSt3, ModuleLayout::kSt3.table, ModuleLayout::kSt3.order},
    {&TdmElhFile::cdsPrSt4, ModuleLayout::kSt4.table, ModuleLayout::kSt4.order},
    {&TdmElhFile::cdsPrSv, ModuleLayout::kSv.table, ModuleLayout::kSv.order},
    {&TdmElhFile::cdsPrSx, ModuleLayout::kSx.table, ModuleLayout::kSx.order},
    {&TdmElhFile::cdsPrDi, ModuleLayout::kDi.table, ModuleLayout::kDi.order},
    {&TdmElhFile::cdsPrSy, ModuleLayout::kSy.table, ModuleLayout::kSy.order},
    {&TdmElhFile::cdsPrSy2, ModuleLayout::kSy2.table, ModuleLayout::kSy2.order},
    {&TdmElhFile::cdsPrSy3, ModuleLayout::kSy3.table, ModuleLayout::kSy3.order},
    {&TdmElhFile::cdsPrSy4, ModuleLayout::kSy4.table, ModuleLayout::kSy4.order},
    {&TdmElhFile::cdsPrSs4, u"TSS4_PROSPETTOSS4", u"SSOE7CODICE"},
    {&TdmElhFile::cdsPrSs, u"TPSS_PROSPETTOSS", u""},
};

const QString kFieldFile = u"TFIFI_FIELDSFILE"_s;
const QString kFileTel = u"TFILE_FILETELEM"_s;
const QString kSost = u"TSOS_DATOSOSTITUTO"_s;
const QString kPrSs = u"TPSS_PROSPETTOSS"_s;

} // namespace

TdmElhFile::TdmElhFile(THlmDBCds &store)
    : cdsFileTel(u"cdsFileTel"_s)
    , cdsFieldFile(u"cdsFieldFile"_s)
    , cdsForn(u"cdsForn"_s)
    , cdsSost(u"cdsSost"_s)
    , cdsSostEst(u"cdsSostEst"_s)
    , cdsPrSt(u"cdsPrSt"_s)
    , cdsPrSt2(u"cdsPrSt2"_s)
    , cdsPrSt3(u"cdsPrSt3"_s)
    , cdsPrSt4(u"cdsPrSt4"_s)
    , cdsPrSv(u"cdsPrSv"_s)
    , cdsPrSx(u"cdsPrSx"_s)
    , cdsPrDi(u"cdsPrDi"_s)
    , cdsPrSy(u"cdsPrSy"_s)
    , cdsPrSy2(u"cdsPrSy2"_s)
    , cdsPrSy3(u"cdsPrSy3"_s)
    , cdsPrSy4(u"cdsPrSy4"_s)
    , cdsPrSs4(u"cdsPrSs4"_s)
    , cdsPrSs(u"cdsPrSs"_s)
    , m_store(store)
{
    // The agent's record and the Prospetto SS are written back as soon as
    // they change.
    cdsSost.events().afterPost = [this](ClientDataSet &ds) { m_store.save(ds, kSost); };
    cdsPrSs.events().afterPost = [this](ClientDataSet &ds) { m_store.save(ds, kPrSs); };
    cdsPrSs.events().afterDelete = [this](ClientDataSet &ds) { m_store.save(ds, kPrSs); };
}

void TdmElhFile::openTables()
{
    loadWorkingTables();
    for (const StoredTable &t : kStoredTables) {
        ClientDataSet &ds = this->*t.component;
        m_store.open(ds, t.table.toString());
        ds.setIndexFieldNames(t.indexFieldNames.toString());
        ds.first();
    }
}

void TdmElhFile::closeTables()
{
    cdsFileTel.close();
    cdsFieldFile.close();
    for (const StoredTable &t : kStoredTables)
        (this->*t.component).close();
}

void TdmElhFile::reopenFrontispiece()
{
    m_store.open(cdsForn, u"TFOR_FORNITORE"_s);
    m_store.open(cdsSost, kSost);
}

TdmNrConnection &TdmElhFile::connection() const
{
    if (!m_store.connection())
        throw ENrError(u"Database della scuola non collegato"_s);
    return *m_store.connection();
}

QString TdmElhFile::workingFile(QStringView table) const
{
    return DataPaths::resolve(LocalDataFolder::path(), table + u".CDS");
}

void TdmElhFile::loadWorkingTables()
{
    THlmCds::loadFromFile(cdsFileTel, workingFile(kFileTel), m_store.findings());
    loadFieldFile();
}

void TdmElhFile::loadFieldFile()
{
    THlmCds::loadFromFile(cdsFieldFile, workingFile(kFieldFile), m_store.findings());
}

void TdmElhFile::saveWorkingTables()
{
    THlmCds::saveToFile(cdsFieldFile, workingFile(kFieldFile));
    THlmCds::saveToFile(cdsFileTel, workingFile(kFileTel));
}

ClientDataSet *TdmElhFile::findDataSet(const QString &name)
{
    ClientDataSet *const all[] = {&cdsFileTel, &cdsFieldFile, &cdsForn,  &cdsSost,  &cdsSostEst, &cdsPrSt,
                                  &cdsPrSt2,   &cdsPrSt3,     &cdsPrSt4, &cdsPrSv,  &cdsPrSx,    &cdsPrDi,
                                  &cdsPrSy,    &cdsPrSy2,     &cdsPrSy3, &cdsPrSy4, &cdsPrSs4,   &cdsPrSs};
    for (ClientDataSet *ds : all) {
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    }
    return nullptr;
}

ClientDataSet &TdmElhFile::FindSectionDataset(const QString &name)
{
    if (ClientDataSet *ds = findDataSet(name))
        return *ds;
    throw ENrError(u"Sezione non trovata "_s + name);
}

QString TdmElhFile::descriptorPath(QStringView kind)
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Res\\FileTel\\Record_"_s + kind + u".xml");
}

#include "ElhMFile.h"

#include "DataPaths.h"
#include "NrExceptions.h"
#include "THlmCds.h"
#include "THlmDBCds.h"
#include "store/LocalDataFolder.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct StoredTable
{
    ClientDataSet TdmElhFile::*component;
    const char16_t *table;
    const char16_t *indexFieldNames;
};

// The tables of the return, with the order each is read in.
constexpr StoredTable kStoredTables[] = {
    {&TdmElhFile::cdsForn, u"TFOR_FORNITORE", u""},
    {&TdmElhFile::cdsSost, u"TSOS_DATOSOSTITUTO", u""},
    {&TdmElhFile::cdsSostEst, u"TSOE7_SOSESTINTO", u""},
    {&TdmElhFile::cdsPrSt, u"TPST_PROSPETTOST", u"SSOE7CODICE;LPSTEVENTIECC;DPSTDTVERS;SPSTANNO;SPSTMESE"},
    {&TdmElhFile::cdsPrSt2, u"TPST2_PROSPETTOSTS2",
     u"SSOE7CODICE;LPSTEVENTIECC;DPST2DTVERS;SPST2ANNO;SPST2MESE;SPST2CODREG"},
    {&TdmElhFile::cdsPrSt3, u"TPST3_PROSPETTOSTS3", u"SSOE7CODICE;LPSTEVENTIECC;SPST3CFINTNRES"},
    {&TdmElhFile::cdsPrSt4, u"TPST4_PROSPETTOSTS4", u"SSOE7CODICE;LPSTEVENTIECC;SCFINTNRES"},
    {&TdmElhFile::cdsPrSv, u"TPSV_PROSPETTOSV", u"SSOE7CODICE;DPSVDTVERS;SPSVANNO;SPSVMESE"},
    {&TdmElhFile::cdsPrSx, u"TPSX_PROSPETTOSX", u"SSOE7CODICE;"},
    {&TdmElhFile::cdsPrDi, u"TPDI_PROSPETTODI", u"SSOE7CODICE;SPDICODFIS;SPDIPERIMP"},
    {&TdmElhFile::cdsPrSy, u"TPSY_PROSPETTOSY", u"SSOE7CODICE;SPSYDEBPRICODF;SPSYCREPIGCODF"},
    {&TdmElhFile::cdsPrSy2, u"TPSY2_PROSPETTOSY2", u"SSOE7CODICE;SPSY2CREPIGCF"},
    {&TdmElhFile::cdsPrSy3, u"TPSY3_PROSPETTOSY3", u"SSOE7CODICE;SPSY3CFBEN"},
    {&TdmElhFile::cdsPrSy4, u"TPSY4_PROSPETTOSY4", u"SSOE7CODICE;SSY4DEN"},
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
        m_store.open(ds, QString::fromUtf16(t.table));
        ds.setIndexFieldNames(QString::fromUtf16(t.indexFieldNames));
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
    THlmCds::loadFromFile(cdsFileTel, workingFile(kFileTel));
    loadFieldFile();
}

void TdmElhFile::loadFieldFile()
{
    THlmCds::loadFromFile(cdsFieldFile, workingFile(kFieldFile));
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

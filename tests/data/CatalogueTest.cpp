#include "DeliveredData.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

const ReturnCatalogue &catalogue()
{
    return DeliveredData::catalogue();
}

const TableDef &table(const QString &name)
{
    const TableDef *t = catalogue().find(name);
    if (!t)
        throw std::runtime_error("table not catalogued: " + name.toStdString());
    return *t;
}

std::string where(const QString &table, const QString &field)
{
    return QString(table + u'.' + field).toStdString();
}

const FieldDef *field(const TableDef &t, const QString &name)
{
    const qsizetype i = t.fields.indexOf(name);
    return i < 0 ? nullptr : &t.fields.at(i);
}

// Registries and the tables whose records belong to one of their persons,
// with the person's fiscal-code field.
const QList<std::pair<QString, QString>> kPersonTables = {
    {u"TDIP7_ANAGRFISCALI"_s, u"SDIP7CODFIS"_s},   {u"TREE7_REDDITOESTER"_s, u"SDIP7CODFIS"_s},
    {u"TCFF7_CFFAMILIARE"_s, u"SDIP7CODFIS"_s},    {u"TCON7_DATICONGUAG"_s, u"SDIP7CODFIS"_s},
    {u"TTAS7_TASSAZIONESE"_s, u"SDIP7CODFIS"_s},   {u"TTFR7_TFR"_s, u"SDIP7CODFIS"_s},
    {u"TANN7_ANNOTAZIONI"_s, u"SDIP7CODFIS"_s},    {u"TINPS7_INPS"_s, u"SDIP7CODFIS"_s},
    {u"TINP7_INPDAP"_s, u"SDIP7CODFIS"_s},         {u"TINA7_INAIL"_s, u"SDIP7CODFIS"_s},
    {u"TRAR7_REDASSTIRTIT"_s, u"SDIP7CODFIS"_s},   {u"TCFC7_CONFAMCARICO"_s, u"SDIP7CODFIS"_s},
    {u"TSLS7_SOMEROLAVSTRA"_s, u"SDIP7CODFIS"_s},  {u"TDAU7_DATIAUTONOM"_s, u"SDAU7CODFIS"_s},
    {u"TDSE7_SOMMEEROGATE"_s, u"SDAU7CODFIS"_s},   {u"TCUD_DATICUD"_s, u"SCUDCODFIS"_s},
    {u"TCUDI_INPS"_s, u"SCUDCODFIS"_s},            {u"TCUDN_INPDAP"_s, u"SCUDCODFIS"_s},
    {u"TCUDC_CONFAMCARICO"_s, u"SCUDCODFIS"_s},    {u"TASE_AUTSOMMEEROGATE"_s, u"SCUDCODFIS"_s},
    {u"TCUIN_INAIL"_s, u"SCUDCODFIS"_s},
};
const QStringList kRegistries = {u"TDIP7_ANAGRFISCALI"_s, u"TDAU7_DATIAUTONOM"_s, u"TCUD_DATICUD"_s};
// The Prospetti: the telematic file and the prints group their rows by agent.
const QStringList kProspetti = {
    u"TPST_PROSPETTOST"_s,   u"TPST2_PROSPETTOSTS2"_s, u"TPST3_PROSPETTOSTS3"_s, u"TPST4_PROSPETTOSTS4"_s,
    u"TPSV_PROSPETTOSV"_s,   u"TPSX_PROSPETTOSX"_s,    u"TPDI_PROSPETTODI"_s,    u"TPSY_PROSPETTOSY"_s,
    u"TPSY2_PROSPETTOSY2"_s, u"TPSY3_PROSPETTOSY3"_s,  u"TPSY4_PROSPETTOSY4"_s,  u"TSS4_PROSPETTOSS4"_s,
    u"TPSS_PROSPETTOSS"_s,
};

bool isPersonTable(const QString &name)
{
    return std::any_of(kPersonTables.begin(), kPersonTables.end(), [&](const auto &p) { return p.first == name; });
}

// Fields written without a type letter that hold text: the extinct agent's
// own two fields and the codes and fiscal codes of Prospetto SX.
const QSet<QString> kTextWithoutTypeLetter = {
    u"CODICE"_s,           u"DENOMINAZI0NE"_s,      u"CFISCEDENTE_SX40"_s,   u"CFISCESSION_SX40"_s,
    u"RACUCMCFCED_SX41"_s, u"RACUCMCFCESS_SX41"_s,  u"RACCA1C2CFCED_SX42"_s, u"RACA1C2CFCESS_SX42"_s,
    u"RACCAICFCED_SX46"_s, u"RACCAICFCESS_SX46"_s,  u"CODICEREP_SX"_s,
};
// Fields named as amounts that hold a code or a fiscal code looked up or typed as text.
const QSet<QString> kCodesNamedAsAmounts = {
    u"FFIS7CODFIS"_s,   u"FDSE7CFALTSOG"_s,  u"FDSE7CODICE"_s,    u"FTFR007CODICE"_s,
    u"FTFR017CODICE"_s, u"FPRES007CODICE"_s, u"FPRES017CODICE"_s,
};
// Texts of several lines: the certification's annotations, one a line.
const QSet<QString> kMultiLineTexts = {u"SCUDANNOTAZIONI"_s};
// Flags of the Prospetti that hold the code of an exceptional event ("1", "99").
const QSet<QString> kEventCodes = {u"LPSTEVENTIECC"_s, u"LPSVEVENTIECC"_s, u"LPSYEVENTIECC"_s};

struct Expected
{
    FieldType type;
    int size = 0; // for text: the size required, or 0 for any size
};

// The naming rule: the first letter gives the type (S text, F amount, D date,
// I integer, L flag "0"/"1", C fiscal code); in Prospetto SX a field that
// starts with none of F, L, S, I is an amount written without a type letter.
Expected expectedType(const QString &table, const QString &fieldName)
{
    const QString name = fieldName.toUpper();
    if (kTextWithoutTypeLetter.contains(name) || kCodesNamedAsAmounts.contains(name))
        return {FieldType::String};
    if (kEventCodes.contains(name))
        return {FieldType::String, 2};
    if (kMultiLineTexts.contains(name))
        return {FieldType::Memo};
    const QChar letter = name.at(0);
    if (table == u"TPSX_PROSPETTOSX" && !QStringLiteral("FLSI").contains(letter))
        return {FieldType::Decimal};
    switch (letter.unicode()) {
    case 'S':
        return {FieldType::String};
    case 'F':
        return {FieldType::Decimal};
    case 'D':
        return {FieldType::Date};
    case 'I':
        return {FieldType::Integer};
    case 'L':
        return {FieldType::String, 1};
    case 'C':
        return {FieldType::String, 16};
    }
    return {FieldType::Blob}; // no rule: never matches a catalogued type
}

} // namespace

TEST(DeliveredCatalogue, HoldsEveryTableOfTheReturnUnderItsProgram)
{
    QSet<QString> expected{u"TSOS_DATOSOSTITUTO"_s, u"TFOR_FORNITORE"_s, u"TSOE7_SOSESTINTO"_s, u"TCUS_DATISOST"_s};
    for (const QString &name : kProspetti)
        expected.insert(name);
    for (const auto &[name, fiscalCode] : kPersonTables)
        expected.insert(name);
    EXPECT_EQ(catalogue().tables().size(), expected.size());
    for (const QString &name : expected) {
        SCOPED_TRACE(name.toStdString());
        const TableDef *t = catalogue().find(name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->name, name);
        // The certification tables are read under the program code of the CU.
        const bool certification = name.startsWith(u"TCU") || name == u"TASE_AUTSOMMEEROGATE";
        EXPECT_EQ(t->program, certification ? u"eli"_s : u"elh"_s);
    }
}

TEST(DeliveredCatalogue, EveryTableStartsWithItsRecordNumberAndPersonTablesCarryThePerson)
{
    for (const TableDef &t : catalogue().tables()) {
        SCOPED_TRACE(t.name.toStdString());
        ASSERT_FALSE(t.fields.isEmpty());
        EXPECT_EQ(t.fields.at(0).name, u"IFISRIGO"_s);
        EXPECT_EQ(t.fields.at(0).type, FieldType::Integer);
        const FieldDef *person = field(t, u"IAFIID"_s);
        if (isPersonTable(t.name)) {
            ASSERT_NE(person, nullptr);
            EXPECT_EQ(person->type, FieldType::Integer);
        } else {
            EXPECT_EQ(person, nullptr);
        }
    }
}

TEST(DeliveredCatalogue, FieldTypesFollowTheNamingRule)
{
    for (const TableDef &t : catalogue().tables()) {
        for (const FieldDef &f : t.fields) {
            SCOPED_TRACE(where(t.name, f.name));
            const Expected e = expectedType(t.name, f.name);
            EXPECT_EQ(fieldTypeName(f.type).toStdString(), fieldTypeName(e.type).toStdString());
            if (f.type == FieldType::String) {
                EXPECT_GT(f.size, 0);
                if (e.size > 0) {
                    EXPECT_EQ(f.size, e.size);
                }
            }
        }
    }
}

TEST(DeliveredCatalogue, FiscalCodesMonthsAndYearsHaveTheirWidths)
{
    // A fiscal code of a person or an agent has 16 characters (11 for an
    // entity); foreign identifiers and the codes of entities only are apart.
    const QRegularExpression fiscalCode(u"CODFIS(?!EST)|CFBEN|CREPIG(CF|CODF)|DEBPRICODF"_s);
    const QRegularExpression month(u"MESE(\\d\\d)?$"_s);
    const QRegularExpression year(u"ANNO(\\d\\d)?$"_s);
    for (const TableDef &t : catalogue().tables()) {
        for (const FieldDef &f : t.fields) {
            if (f.type != FieldType::String || kCodesNamedAsAmounts.contains(f.name.toUpper()))
                continue;
            SCOPED_TRACE(where(t.name, f.name));
            const QString name = f.name.toUpper();
            if (fiscalCode.match(name).hasMatch() && name != u"SSOSCODFISCAF") {
                EXPECT_EQ(f.size, 16);
            }
            if (month.match(name).hasMatch()) {
                EXPECT_EQ(f.size, 2);
            }
            if (year.match(name).hasMatch()) {
                EXPECT_EQ(f.size, 4);
            }
        }
    }
}

TEST(DeliveredCatalogue, PersonMapsNameFieldsOfTheirTables)
{
    const QSet<QString> personColumns = {u"saficognome"_s, u"safinome"_s, u"saficodfiscale"_s, u"safigruppoana"_s};
    for (const auto &[name, fiscalCode] : kPersonTables) {
        SCOPED_TRACE(name.toStdString());
        const TableDef &t = table(name);
        ASSERT_NE(field(t, fiscalCode), nullptr);
        EXPECT_EQ(t.registry, kRegistries.contains(name));
        EXPECT_EQ(t.fieldMapReadOnly, !t.registry);
        const QStringList pairs = t.fieldMap.split(u';');
        QSet<QString> columns;
        for (const QString &pair : pairs) {
            const QStringList parts = pair.split(u'=');
            ASSERT_EQ(parts.size(), 2) << pair.toStdString();
            EXPECT_TRUE(personColumns.contains(parts[0])) << pair.toStdString();
            columns.insert(parts[0]);
            for (const QString &part : parts[1].split(u'+'))
                EXPECT_NE(field(t, part), nullptr) << pair.toStdString();
        }
        EXPECT_TRUE(t.fieldMap.contains(u"saficodfiscale="_s + fiscalCode));
        if (t.registry) {
            EXPECT_TRUE(columns.contains(u"saficognome"_s));
            EXPECT_TRUE(columns.contains(u"safinome"_s));
        } else {
            EXPECT_EQ(t.fieldMap, u"saficodfiscale="_s + fiscalCode);
        }
    }
    for (const TableDef &t : catalogue().tables()) {
        if (!isPersonTable(t.name)) {
            EXPECT_FALSE(t.registry) << t.name.toStdString();
            EXPECT_TRUE(t.fieldMap.isEmpty()) << t.name.toStdString();
        }
    }
    // The two registries keep an employee and a self-employed worker with
    // the same fiscal code apart by their group letter.
    EXPECT_TRUE(table(u"TDIP7_ANAGRFISCALI"_s).fieldMap.contains(u"safigruppoana=SDIP7GRUPPOANA"_s));
    EXPECT_TRUE(table(u"TDAU7_DATIAUTONOM"_s).fieldMap.contains(u"safigruppoana=SDAU7GRUPPOANA"_s));
}

TEST(DeliveredCatalogue, FieldsThatTheProgramWritesByNameExist)
{
    const QList<std::pair<QString, QStringList>> named = {
        // start-up: flags reset on the agent copied from the previous year,
        // and the payroll agent's fields copied into the agent
        {u"TSOS_DATOSOSTITUTO"_s,
         {u"ISOSSEZ"_s,    u"LSOSCORRETTIVA"_s, u"LSOSINTEGRATIVA"_s, u"LSOSAVVISO"_s,    u"LSOSAVVISORIC"_s,
          u"LSOSSS"_s,     u"LSOSST"_s,         u"LSOSSX"_s,          u"LSOSSY"_s,        u"LSOSORD"_s,
          u"LSOSDICHCONTRIB"_s, u"LSOSCONFERMADICH"_s, u"LSOSSV"_s,   u"LSOSDIP"_s,       u"LSOSAUT"_s,
          u"LSOSATTEST"_s, u"LSOSDI"_s,         u"LSOSALTRIT"_s,      u"LSOSCAP"_s,       u"LSOSLOCBRV"_s,
          u"LGESDIP1"_s,   u"LGESAUT1"_s,       u"LGESCAP1"_s,        u"LGESLOCBRV1"_s,   u"LGESALTRIT1"_s,
          u"LGESDIP2"_s,   u"LGESAUT2"_s,       u"LGESCAP2"_s,        u"LGESLOCBRV2"_s,   u"LGESALTRIT2"_s,
          u"LSOSCASIPART"_s, u"LSOSINCGESSEP"_s, u"LGESCFSOS1"_s,     u"LGESCFSOS2"_s,    u"LSOSEVECCEZ"_s,
          u"LSOSDICHNOCONTRIB"_s, u"LSOSVISTO"_s, u"LSOSSSPARZ"_s,    u"LSOSSTPARZ"_s,    u"LSOSSVPARZ"_s,
          u"LSOSSXPARZ"_s, u"LSOSSYPARZ"_s,     u"LSOSPREAVTELE"_s,   u"SSOSMESESL"_s,    u"SSOSANNOSL"_s,
          u"SSOSMESEDF"_s, u"SSOSANNODF"_s,     u"SSOSCODFIS"_s,      u"SSOSDENOM"_s,     u"SSOSCOMUNESL"_s,
          u"SSOSPROVSL"_s, u"SSOSCAPSL"_s,      u"SSOSINDIRIZSL"_s,   u"SSOSEMAIL"_s,     u"SCOACODICE"_s,
          u"SSOSTIPOINV"_s, u"ISOSNDIP"_s,      u"ISOSNAUTON"_s,      u"SSOSTEL"_s,       u"SSOSFAX"_s}},
        {u"TCUS_DATISOST"_s,
         {u"SSOSCODFIS"_s, u"SSOSDENOM"_s, u"SSOSCOMUNE"_s, u"SSOSPROV"_s, u"SSOSCAP"_s, u"SSOSINDIRIZZO"_s,
          u"SSOSEMAIL"_s, u"SSOSCODATTIVITA"_s}},
        // the payments import: the tax-code column of each target
        {u"TPST_PROSPETTOST"_s, {u"SPSTCODTRIBUTO"_s}},
        {u"TPST2_PROSPETTOSTS2"_s, {u"SPST2CODTRIBUTO"_s}},
        {u"TPSV_PROSPETTOSV"_s, {u"SPSVCODTRIBCAP"_s}},
        // the telematic file: SS rebuilt from SY, SX presence
        {u"TPSS_PROSPETTOSS"_s, {u"SSOE7CODICE"_s, u"FQUADROSYRIT1_SS"_s, u"FQUADROSYRIT2_SS"_s}},
        {u"TPSX_PROSPETTOSX"_s,
         {u"FCRECONGCESSRAPP_SX"_s, u"CRERISDICH_SX"_s, u"CRERITLAVDIPASSASSFIS_SX"_s, u"CRERITLAVAUTPROVRDIV_SX"_s,
          u"CREMAT_SX"_s, u"CRESPETT_SX"_s, u"CRERICFAMNUMANN_SX"_s, u"CRERICCANLOCANN_SX"_s, u"BONUSEROANN_SX"_s,
          u"LVA_SX"_s, u"LSA_SX"_s, u"LSI_SX"_s}},
        // the CU import: keys of the certifications and of the return's rows
        {u"TCUD_DATICUD"_s,
         {u"SCUDCODFIS"_s, u"SCUDMESE"_s, u"SCUDCOGNOME"_s, u"SCUDNOME"_s, u"SCUDALTROSOSCODFIS"_s,
          u"LCUDCOMPRENSIVO"_s, u"LCUDCONGUAGLIO"_s, u"SCUDANNOTAZIONI"_s}},
        {u"TCUDI_INPS"_s, {u"SCUDCODFIS"_s, u"SCUDMESE"_s, u"SCUDMATRAZIENDA"_s}},
        {u"TCUDN_INPDAP"_s, {u"SCUDCODFIS"_s, u"SCUDMESE"_s, u"ICUDANNORIF"_s, u"SCUDCODFISAMMNE"_s}},
        {u"TCUIN_INAIL"_s, {u"SCUDCODFIS"_s, u"SCUDMESE"_s, u"SQUACODICE"_s, u"SINA7POSASSTERR"_s}},
        {u"TASE_AUTSOMMEEROGATE"_s, {u"SCUDCODFIS"_s, u"SCUDMESE"_s, u"SCAUCODICE"_s, u"SDSE7ANNO"_s}},
        {u"TINPS7_INPS"_s, {u"SINPS7MATRAZIENDA"_s, u"LINPS7GENNAIO_C"_s, u"LINPS7DICEMBRE_C"_s}},
        {u"TINP7_INPDAP"_s, {u"IINPDAP7ANNORIF"_s, u"SINPDAP7CODFISAMMNE"_s, u"SINP7CODCOMPARTO"_s}},
        {u"TTAS7_TASSAZIONESE"_s, {u"STAS7PERIODOIMP"_s}},
        {u"TCFC7_CONFAMCARICO"_s, {u"SCFC7DTANNOCONIUGE"_s, u"SCFC7DTANNOPRIFIGL"_s, u"SCFC7DTANNOFIGL"_s}},
        {u"TDAU7_DATIAUTONOM"_s, {u"SDAU7INDIRIZZZO"_s, u"LDAU7EREDE"_s}},
        {u"TDSE7_SOMMEEROGATE"_s, {u"SSOE7CODICE"_s, u"SCAUCODICE"_s, u"SDSE7ANNO"_s}},
    };
    for (const auto &[name, fields] : named) {
        const TableDef &t = table(name);
        for (const QString &f : fields)
            EXPECT_NE(field(t, f), nullptr) << where(name, f);
    }
    // The CU import fills 54 annotation slots.
    const TableDef &annotations = table(u"TANN7_ANNOTAZIONI"_s);
    for (int slot = 1; slot <= 54; ++slot)
        EXPECT_NE(field(annotations, u"SANN7%1"_s.arg(slot, 2, 10, QChar(u'0'))), nullptr) << slot;
}

TEST(DeliveredCatalogue, ProspettiRowsNameTheAgentTheyBelongTo)
{
    // The telematic file and the prints group every Prospetto by SSOE7CODICE:
    // empty for the agent itself, the extinct agent's code otherwise.
    for (const QString &name : kProspetti) {
        const FieldDef *extinct = field(table(name), u"SSOE7CODICE"_s);
        ASSERT_NE(extinct, nullptr) << name.toStdString();
        EXPECT_EQ(extinct->size, field(table(u"TSOE7_SOSESTINTO"_s), u"CODICE"_s)->size) << name.toStdString();
    }
}

TEST(DeliveredCatalogue, TheSuppliedProspettoSsHoldsEveryAmountTheUserEnters)
{
    // The telematic file copies the amounts of the SS editor by name into the
    // Prospetto SS that the supply and the SS print read.
    const TableDef &entered = table(u"TSS4_PROSPETTOSS4"_s);
    const TableDef &supplied = table(u"TPSS_PROSPETTOSS"_s);
    int amounts = 0;
    for (const FieldDef &f : entered.fields) {
        if (f.type != FieldType::Decimal)
            continue;
        ++amounts;
        const FieldDef *copy = field(supplied, f.name);
        ASSERT_NE(copy, nullptr) << where(supplied.name, f.name);
        EXPECT_EQ(copy->type, FieldType::Decimal) << where(supplied.name, f.name);
    }
    EXPECT_EQ(amounts, 15);
}

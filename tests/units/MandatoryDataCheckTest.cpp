#include "MandatoryDataCheck.h"
#include "ClientDataSet.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A dataset of the given text fields (D... fields are dates, F... amounts) with one record.
std::unique_ptr<ClientDataSet> record(std::initializer_list<std::pair<const char16_t *, const char16_t *>> values)
{
    auto ds = std::make_unique<ClientDataSet>();
    for (const auto &[name, value] : values) {
        const QString n = QString::fromUtf16(name);
        const FieldType type = n.startsWith(u'D') ? FieldType::Date : n.startsWith(u'F') ? FieldType::Decimal : FieldType::String;
        ds->fieldDefs().add(n, type, type == FieldType::String ? 60 : 0);
    }
    ds->createDataSet();
    ds->append();
    for (const auto &[name, value] : values) {
        if (value)
            ds->fieldByName(QString::fromUtf16(name)).setAsString(QString::fromUtf16(value));
    }
    ds->post();
    return ds;
}

QStringList check(std::initializer_list<const ClientDataSet *> dataSets)
{
    QStringList findings;
    const bool passed = MandatoryDataCheck::run(findings, dataSets);
    EXPECT_EQ(passed, findings.isEmpty());
    return findings;
}

// The findings on one record of the given fields.
QStringList checkRecord(std::initializer_list<std::pair<const char16_t *, const char16_t *>> values)
{
    const auto ds = record(values);
    return check({ds.get()});
}

} // namespace

TEST(MandatoryDataCheck, ReportsMissingItemsInFieldOrderAcrossDatasets)
{
    const auto agent = record({{u"SSOSCODFIS", u"80012345676"},
                               {u"SSOSDENOM", u"  "},
                               {u"ssosdichiarante", nullptr},
                               {u"DSOSDTNASRAPPR", u"30/12/1899"},
                               {u"SSOSNOTE", nullptr}});
    const auto supplier = record({{u"SFORCODFIS", nullptr}, {u"STFOCODICE", u"01"}});
    EXPECT_EQ(
        check({agent.get(), supplier.get()}),
        (QStringList{u" - Dato obbligatorio mancante: Denominazione del sostituto"_s,
                     u" - Dato obbligatorio mancante: Firma del dichiarante nella redazione della dichiarazione"_s,
                     u" - Dato obbligatorio mancante: Data di nascita del rappresentante firmatario"_s,
                     u" - Dato obbligatorio mancante: Codice fiscale del fornitore"_s}));
}

TEST(MandatoryDataCheck, FilledValuesTheFormCannotHoldAreReported)
{
    EXPECT_EQ(checkRecord({{u"SSOSCODFIS", u"80012345670"},
                           {u"SSOSCFRAPPR", u"RSSMRA80A01H501U"},
                           {u"SSOSCFSOGG1", u"RSSMRA80A01H50"},
                           {u"SSOSCODFISEST", u"XY-123"},
                           {u"DSOSDTNASRAPPR", u"12/05/1962"},
                           {u"DSOSDTCARICA", u"01/09/2032"},
                           {u"DPSTDTVERS", u"16/02/2021"},
                           {u"FPSTIMPOVERSATO", u"-12,5"},
                           {u"FPSTRITOPEARTE", u"12,5"}}),
              (QStringList{u" - Campo errato: Codice fiscale del sostituto: Codice fiscale «80012345670» non valido: il "
                           "carattere di controllo non corrisponde"_s,
                           u" - Campo errato: Codice fiscale del soggetto 1 della redazione: Codice fiscale "
                           "«RSSMRA80A01H50» non valido: deve avere 16 caratteri (persona) o 11 cifre"_s,
                           u" - Campo errato: DSOSDTCARICA: la data 01/09/2032 è fuori dagli anni ammessi (dal 1900 al "
                           "2024)"_s,
                           u" - Campo errato: DPSTDTVERS: la data 16/02/2021 è fuori dagli anni ammessi (dal 2023 al "
                           "2024)"_s,
                           u" - Campo errato: FPSTIMPOVERSATO: l'importo -12,50 è negativo, il modello non ne prevede"_s}));
}

TEST(MandatoryDataCheck, NumbersAreFilledUnlessEmptyOrMinusOne)
{
    ClientDataSet ds;
    ds.fieldDefs().add(u"SPSTMESE"_s, FieldType::Integer);
    ds.fieldDefs().add(u"SPSTANNO"_s, FieldType::Decimal);
    ds.createDataSet();
    ds.append();
    ds.field(0).setAsInteger(0);
    ds.field(1).setAsInteger(-1);
    ds.post();
    EXPECT_EQ(check({&ds}), QStringList{u" - Dato obbligatorio mancante: Anno di riferimento prospetto ST"_s});
}

TEST(MandatoryDataCheck, TheRepresentativeNeedsADenominationOrASurnameAndAName)
{
    const struct
    {
        const char16_t *denomination, *surname, *name, *finding;
    } cases[] = {
        {u"ALFA SRL", u"ROSSI", nullptr,
         u" - Dati in eccesso: Nome o cognome del rappresentante della dichiarazione compilati in presenza della "
         u"denominazione"},
        {u"ALFA SRL", nullptr, nullptr, nullptr},
        {nullptr, nullptr, u"MARIO", u" - Dato obbligatorio mancante: Cognome del rappresentante della dichiarazione"},
        {nullptr, u"ROSSI", nullptr, u" - Dato obbligatorio mancante: Nome del rappresentante della dichiarazione"},
        {nullptr, nullptr, nullptr,
         u" - Dato obbligatorio mancante: Denominazione o cognome e nome del rappresentante della dichiarazione"},
        {nullptr, u"ROSSI", u"MARIO", nullptr},
    };
    for (const auto &c : cases) {
        const auto ds =
            record({{u"SSOSDENRAPPR", c.denomination}, {u"SSOSCOGNRAPPR", c.surname}, {u"SSOSNOMERAPPR", c.name}});
        EXPECT_EQ(check({ds.get()}), c.finding ? QStringList{QString::fromUtf16(c.finding)} : QStringList());
    }
}

TEST(MandatoryDataCheck, InpsAllMonthsAgainstExcludedMonths)
{
    const QString none =
        u" - Campo errato: Nessun mese escluso dall'EMens quindi il campo \"tutti i mesi\" (INPS 10) del modulo INPS deve essere compilato"_s;
    const QString some =
        u" - Campo errato: Sono stati esclusi dei mesi sebbene il campo \"tutti i mesi\" (INPS 10) del modulo INPS fosse compilato"_s;
    EXPECT_EQ(checkRecord({{u"LINPS7MESIRETR", u"0"}, {u"LINPS7MARZO", u"0"}, {u"FINPS7IMPONIBILE", u"1000"}}),
              QStringList{none});
    EXPECT_EQ(checkRecord({{u"LINPS7MESIRETR", u"1"}, {u"LINPS7MARZO", u"1"}, {u"FINPS7IMPONIBILE", u"1000"}}),
              QStringList{some});
    EXPECT_EQ(checkRecord({{u"LINPS7MESIRETR", u"1"}, {u"LINPS7MARZO", u"0"}, {u"FINPS7IMPONIBILE", u"1000"}}),
              QStringList());
    // Without data in the section nothing is checked.
    EXPECT_EQ(checkRecord({{u"LINPS7MESIRETR", u"0"}, {u"LINPS7MARZO", u"0"}, {u"FINPS7IMPONIBILE", nullptr}}),
              QStringList());
    QString none16 = none;
    none16.replace(u"(INPS 10)"_s, u"(INPS 16)"_s);
    EXPECT_EQ(checkRecord({{u"LINPS7MESIRETR_C", u"0"}, {u"FINPS7COMPDOVUTI", u"12"}}), QStringList{none16});
}

TEST(MandatoryDataCheck, ASelfEmployedPersonNeedsBirthDataACompanyOnlyItsName)
{
    EXPECT_EQ(checkRecord({{u"SDAU7CODFIS", nullptr}}),
              QStringList{u" - Dato obbligatorio mancante: Codice fiscale dell'autonomo"_s});
    EXPECT_EQ(checkRecord({{u"SDAU7CODFIS", u"01234567897"}, {u"SDAU7COGNOME", nullptr}, {u"SDAU7NOME", nullptr}}),
              QStringList{u" - Dato obbligatorio mancante: Cognome o denominazione dell'autonomo"_s});
    EXPECT_EQ(checkRecord({{u"SDAU7CODFIS", u"01234567897"}, {u"SDAU7COGNOME", u"ALFA SPA"}, {u"SDAU7NOME", nullptr}}),
              QStringList());
    EXPECT_EQ(checkRecord({{u"SDAU7CODFIS", u"RSSMRA80A01H501U"},
                           {u"SDAU7COGNOME", u"ROSSI"},
                           {u"SDAU7NOME", u"MARIO"},
                           {u"SDAU7SEX", nullptr},
                           {u"DDAU7DATANAS", nullptr}}),
              QStringList{u" - Dato obbligatorio mancante: Sesso dell'autonomo"_s});
    // A payment carries the worker's code without his personal data.
    EXPECT_EQ(checkRecord({{u"SDAU7CODFIS", u"RSSMRA80A01H501U"}, {u"FDSE7AMMLORDO", u"2400"}}), QStringList());
}

TEST(MandatoryDataCheck, DependantsListEveryMissingItemInOneText)
{
    const auto ds = record({{u"LCFC7RELPARCON", u"1"},
                            {u"SCFC7CODFISCON", u"RSSMRA80A01H501U"},
                            {u"SCFC7MESICARCON", nullptr},
                            {u"LCFC7RELPARFIGL", u"1"},
                            {u"LCFC7RELPARFIGLALTRFAM", u"1"},
                            {u"SCFC7CODFISFIGL", nullptr},
                            {u"SCFC7MESICARFIGL", u"12"},
                            {u"FCFC7DETRSPETTFIGL", nullptr}});
    EXPECT_EQ(check({ds.get()}),
              QStringList{
                  u" - Dato obbligatorio mancante: Nr. Mesi a carico coniuge\r\n"
                  u" - Dati incongruenti: Altro figlio e altro familiare ambedue abilitati\r\n"
                  u" - Dato obbligatorio mancante: Codice fiscale altro figlio o altro familiare\r\n"
                  u" - Dato obbligatorio mancante: Percentuale detrazione spettante altro figlio o altro familiare"_s});
    ClientDataSet empty;
    empty.fieldDefs().add(u"LCFC7RELPARCON"_s, FieldType::String, 1);
    empty.createDataSet();
    EXPECT_EQ(check({&empty}), QStringList());
}

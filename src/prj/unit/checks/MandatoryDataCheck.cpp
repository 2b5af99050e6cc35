#include "MandatoryDataCheck.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "FiscalCode.h"
#include "TextLib.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;

namespace MandatoryDataCheck {

namespace {

const QString kMissing = u" - Dato obbligatorio mancante: "_s;

struct Mandatory
{
    const char16_t *field;
    const char16_t *description;
};

// In the order the check reports them.
constexpr Mandatory kMandatory[] = {
    {u"SSOSDENOM", u"Denominazione del sostituto"},
    {u"SSOSCODFIS", u"Codice fiscale del sostituto"},
    {u"SCOACODICE", u"Codice attività del sostituto"},
    {u"SSOSCFRAPPR", u"Codice fiscale del rappresentante firmatario"},
    {u"SCARCODICE", u"Codice carica del rappresentante firmatario"},
    {u"STSACODICE", u"Stato (tab. SA) in altri soggetti"},
    {u"STSBCODICE", u"Natura giuridica (tab. SB) in altri soggetti"},
    {u"STSCCODICE", u"Situazione (tab. SC) in altri soggetti"},
    {u"SSOSSESSO", u"Sesso del rappresentante firmatario"},
    {u"DSOSDTNASRAPPR", u"Data di nascita del rappresentante firmatario"},
    {u"SSOSCOMNASRAPPR", u"Comune o stato estero di nascita del rappresentante firmatario"},
    {u"SSOSPROVNASRAPPR", u"Provincia di nascita del rappresentante firmatario"},
    {u"SSOSCOMRESRAPPR", u"Comune di residenza del rappresentante firmatario"},
    {u"SSOSPROVRESRAPPR", u"Provincia di residenza del rappresentante firmatario"},
    {u"SSOSDICHIARANTE", u"Firma del dichiarante nella redazione della dichiarazione"},
    {u"STFOCODICE", u"Tipo fornitore"},
    {u"SFORCODFIS", u"Codice fiscale del fornitore"},
    {u"SDIP7CODFIS", u"Codice fiscale del dipendente"},
    {u"SDIP7COGNOME", u"Cognome del dipendente"},
    {u"SDIP7NOME", u"Nome del dipendente"},
    {u"SDIP7SEX", u"Sesso del dipendente"},
    {u"DDIP7DATANAS", u"Data di nascita del dipendente"},
    {u"SDIP7COMNAS", u"Comune di nascita del dipendente"},
    {u"SDIP7PROVNAS", u"Provincia di nascita del dipendente"},
    {u"SINPS7MATRAZIENDA", u"Matricola azienda"},
    {u"SINPDAP7CODFISAMMNE", u"Codice fiscale amministrazione nel modulo INPDAP"},
    {u"SINPDAP7GESASS_1", u"Cassa pensionistica nel modulo INPDAP"},
    {u"SINPDAP7GESASS_2", u"Cassa previdenziale nel modulo INPDAP"},
    {u"SINPDAP7GESASS_3", u"Cassa credito nel modulo INPDAP"},
    {u"SPSTMESE", u"Mese di riferimento prospetto ST"},
    {u"SPSTANNO", u"Anno di riferimento prospetto ST"},
    {u"SPSVMESE", u"Mese di riferimento prospetto SV"},
    {u"SPSVANNO", u"Anno di riferimento prospetto SV"},
    // The payment lines name their tax code and date, the SY their parties.
    {u"SPSTCODTRIBUTO", u"Codice tributo prospetto ST"},
    {u"DPSTDTVERS", u"Data di versamento prospetto ST"},
    {u"SPST2CODTRIBUTO", u"Codice tributo prospetto ST, sezione II"},
    {u"DPST2DTVERS", u"Data di versamento prospetto ST, sezione II"},
    {u"SPSVCODTRIBCAP", u"Codice tributo prospetto SV"},
    {u"DPSVDTVERS", u"Data di versamento prospetto SV"},
    {u"SPSYDEBPRICODF", u"Codice fiscale debitore principale prospetto SY"},
    {u"SPSYCREPIGCODF", u"Codice fiscale creditore pignoratizio prospetto SY"},
    {u"SPSY2CREPIGCF", u"Codice fiscale creditore pignoratizio prospetto SY, sezione II"},
    {u"SPSY3CFBEN", u"Codice fiscale beneficiario prospetto SY, sezione III"},
};

// The fields that hold an Italian fiscal code, checked for their shape and
// check character whenever they are filled. Foreign codes are not here.
constexpr Mandatory kFiscalCodes[] = {
    {u"SSOSCODFIS", u"Codice fiscale del sostituto"},
    {u"SSOSCFDICASTERO", u"Codice fiscale del dicastero di appartenenza"},
    {u"SSOSDOMNOTCODFIS", u"Codice fiscale del domicilio per la notificazione degli atti"},
    {u"SSOSCFRAPPR", u"Codice fiscale del rappresentante firmatario"},
    {u"SSOSRAPFIRSTACF", u"Codice fiscale della società o ente dichiarante"},
    {u"SSOSCFSOGG1", u"Codice fiscale del soggetto 1 della redazione"},
    {u"SSOSCFSOGG2", u"Codice fiscale del soggetto 2 della redazione"},
    {u"SSOSCFSOGG3", u"Codice fiscale del soggetto 3 della redazione"},
    {u"SSOSCFSOGG4", u"Codice fiscale del soggetto 4 della redazione"},
    {u"SSOSCFSOGG5", u"Codice fiscale del soggetto 5 della redazione"},
    {u"SGESCODFIS1", u"Codice fiscale del primo altro incaricato"},
    {u"SGESCODFIS2", u"Codice fiscale del secondo altro incaricato"},
    {u"SSOSCODFISINTERM", u"Codice fiscale dell'incaricato della trasmissione"},
    {u"SSOSCODFISRESPCAF", u"Codice fiscale del responsabile del C.A.F."},
    {u"SSOSCODFISCAF", u"Codice fiscale del C.A.F."},
    {u"SSOSCODFISPROF", u"Codice fiscale del professionista"},
    {u"SFORCODFIS", u"Codice fiscale del fornitore"},
    {u"SSOE7CODICE", u"Codice fiscale del sostituto estinto"},
    {u"SDIP7CODFIS", u"Codice fiscale del dipendente"},
    {u"SDAU7CODFIS", u"Codice fiscale dell'autonomo"},
    {u"SCFC7CODFISCON", u"Codice fiscale coniuge"},
    {u"SCFC7CODFISPRIFIGL", u"Codice fiscale primo figlio"},
    {u"SCFC7CODFISFIGL", u"Codice fiscale altro figlio o altro familiare"},
    {u"SINPDAP7CODFISAMMNE", u"Codice fiscale amministrazione nel modulo INPDAP"},
    {u"SPDICODFIS", u"Codice fiscale del percipiente (prospetto DI)"},
};

// Dates of the return lie between these years; payment dates (the "DTVERS"
// fields) in the year of the income or in the year of the return.
constexpr int kFirstYear = 1900;
constexpr int kIncomeYear = 2023;
constexpr int kReturnYear = 2024;

template<std::size_t N>
const char16_t *descriptionIn(const Mandatory (&list)[N], const QString &field)
{
    for (const Mandatory &m : list) {
        if (field.compare(QStringView(m.field), Qt::CaseInsensitive) == 0)
            return m.description;
    }
    return nullptr;
}

const char16_t *mandatoryDescription(const QString &field)
{
    return descriptionIn(kMandatory, field);
}

// A text is filled when not blank, a date when after the zero date
// (30/12/1899), anything else when its text is a number other than -1.
bool filled(const Field &f)
{
    if (f.isNull())
        return false;
    switch (f.dataType()) {
    case FieldType::String:
    case FieldType::Memo:
        return !TextLib::Trim(f.asString()).isEmpty();
    case FieldType::Date:
    case FieldType::DateTime:
        return f.asDate() > QDate(1899, 12, 30);
    default: {
        const auto n = Conv::parseFloat(f.asString());
        return n && *n != -1.0;
    }
    }
}

bool filled(const ClientDataSet &ds, const char16_t *name)
{
    const Field *f = ds.findField(QString::fromUtf16(name));
    return f && filled(*f);
}

// A flag's value as a number; an absent or empty flag counts 0.
int flag(const ClientDataSet &ds, const QString &name)
{
    const Field *f = ds.findField(name);
    if (!f)
        return 0;
    const auto n = Conv::parseInteger(f->asString());
    return n ? static_cast<int>(*n) : 0;
}

QString text(const ClientDataSet &ds, const char16_t *name)
{
    const Field *f = ds.findField(QString::fromUtf16(name));
    return f ? TextLib::Trim(f->asString()) : QString();
}

QString representativeRule(const ClientDataSet &ds)
{
    const bool denomination = filled(ds, u"SSOSDENRAPPR");
    const bool surname = filled(ds, u"SSOSCOGNRAPPR");
    const bool name = filled(ds, u"SSOSNOMERAPPR");
    if (denomination) {
        if (surname || name)
            return u" - Dati in eccesso: Nome o cognome del rappresentante della dichiarazione compilati in presenza della denominazione"_s;
        return QString();
    }
    if (!surname && name)
        return kMissing + u"Cognome del rappresentante della dichiarazione"_s;
    if (surname && !name)
        return kMissing + u"Nome del rappresentante della dichiarazione"_s;
    if (!surname && !name)
        return kMissing + u"Denominazione o cognome e nome del rappresentante della dichiarazione"_s;
    return QString();
}

// "Tutti i mesi" of the INPS section (item 10, or 16 for the fields ending
// in "_C") against the months excluded from the monthly declarations.
QString inpsMonthsRule(const ClientDataSet &ds, const QString &suffix, const QString &item)
{
    static const char16_t *const kMonths[] = {u"GENNAIO",   u"FEBBRAIO", u"MARZO",    u"APRILE",
                                              u"MAGGIO",    u"GIUGNO",   u"LUGLIO",   u"AGOSTO",
                                              u"SETTEMBRE", u"OTTOBRE",  u"NOVEMBRE", u"DICEMBRE"};
    int excluded = 0;
    for (const char16_t *m : kMonths)
        excluded += flag(ds, u"LINPS7"_s + QString::fromUtf16(m) + suffix);
    const int allMonths = flag(ds, u"LINPS7MESIRETR"_s + suffix);
    if (allMonths == 0 && excluded == 0)
        return u" - Campo errato: Nessun mese escluso dall'EMens quindi il campo \"tutti i mesi\" (INPS %1) del modulo INPS deve essere compilato"_s
            .arg(item);
    if (allMonths != 0 && excluded > 0)
        return u" - Campo errato: Sono stati esclusi dei mesi sebbene il campo \"tutti i mesi\" (INPS %1) del modulo INPS fosse compilato"_s
            .arg(item);
    return QString();
}

QString inpsRule(const ClientDataSet &ds)
{
    const bool data = filled(ds, u"FINPS7IMPONIBILE") || flag(ds, u"LINPS7INTERAMVERS"_s) != 0
                      || flag(ds, u"LINPS7PARZIALVERS"_s) != 0 || flag(ds, u"LINPS7NONVERS"_s) != 0
                      || filled(ds, u"FINPS7CONTRIBTRATT") || filled(ds, u"FINPS7BONUS");
    return data ? inpsMonthsRule(ds, QString(), u"10"_s) : QString();
}

QString inpsCompensationRule(const ClientDataSet &ds)
{
    const bool data = filled(ds, u"FINPS7COMPCORRISP") || filled(ds, u"FINPS7COMPDOVUTI")
                      || filled(ds, u"FINPS7COMPTRATTEN") || filled(ds, u"FINPS7COMPVERSATI");
    return data ? inpsMonthsRule(ds, u"_C"_s, u"16"_s) : QString();
}

QString selfEmployedRule(const ClientDataSet &ds)
{
    const QString code = text(ds, u"SDAU7CODFIS");
    if (code.isEmpty())
        return kMissing + u"Codice fiscale dell'autonomo"_s;
    const QString surname = u"Cognome o denominazione dell'autonomo"_s;
    // The personal data are the registry's: a payment row, which carries
    // only the code, has none to miss.
    const auto missing = [&ds](const char16_t *field) {
        return ds.findField(QString::fromUtf16(field)) && !filled(ds, field);
    };
    // A numeric code is a company: only its name is required.
    if (TextLib::IsNumeric(code))
        return missing(u"SDAU7COGNOME") ? kMissing + surname : QString();
    const Mandatory person[] = {
        {u"SDAU7COGNOME", u"Cognome o denominazione dell'autonomo"},
        {u"SDAU7NOME", u"Nome dell'autonomo"},
        {u"SDAU7SEX", u"Sesso dell'autonomo"},
        {u"DDAU7DATANAS", u"Data di nascita dell'autonomo"},
        {u"SDAU7COMNAS", u"Comune di nascita dell'autonomo"},
        {u"SDAU7PROVNAS", u"Provincia di nascita dell'autonomo"},
    };
    for (const Mandatory &m : person) {
        if (missing(m.field))
            return kMissing + QString::fromUtf16(m.description);
    }
    return QString();
}

QString dependantsRule(const ClientDataSet &ds)
{
    if (ds.isEmpty())
        return QString();
    QStringList lines;
    auto require = [&](std::initializer_list<Mandatory> items) {
        for (const Mandatory &m : items) {
            if (!filled(ds, m.field))
                lines.append(kMissing + QString::fromUtf16(m.description));
        }
    };
    if (flag(ds, u"LCFC7RELPARCON"_s) == 1)
        require({{u"SCFC7CODFISCON", u"Codice fiscale coniuge"}, {u"SCFC7MESICARCON", u"Nr. Mesi a carico coniuge"}});
    if (flag(ds, u"LCFC7RELPARPRIFIGL"_s) == 1)
        require({{u"SCFC7CODFISPRIFIGL", u"Codice fiscale primo figlio"},
                 {u"SCFC7MESICARPRIFIGL", u"Nr. Mesi a carico primo figlio"},
                 {u"SCFC7DETRSPETTPRIFIGL", u"Percentuale detrazione spettante primo figlio"}});
    const bool child = flag(ds, u"LCFC7RELPARFIGL"_s) == 1;
    const bool other = flag(ds, u"LCFC7RELPARFIGLALTRFAM"_s) == 1;
    if (child && other)
        lines.append(u" - Dati incongruenti: Altro figlio e altro familiare ambedue abilitati"_s);
    if (child || other)
        require({{u"SCFC7CODFISFIGL", u"Codice fiscale altro figlio o altro familiare"},
                 {u"SCFC7MESICARFIGL", u"Nr. Mesi a carico altro figlio o altro familiare"},
                 {u"FCFC7DETRSPETTFIGL", u"Percentuale detrazione spettante altro figlio o altro familiare"}});
    return lines.join(u"\r\n"_s);
}

// What the window calls the field; its name when no window named it.
QString labelOf(const Field &f, const char16_t *description)
{
    if (description)
        return QString::fromUtf16(description);
    return f.displayLabel();
}

// A filled value that the form cannot hold: a fiscal code with a wrong shape
// or check character, a negative amount (the form has none), a date outside
// the years of the return.
QString valueRule(const Field &f)
{
    if (!filled(f))
        return QString();
    if (const char16_t *description = descriptionIn(kFiscalCodes, f.fieldName())) {
        const QString problem = FiscalCode::problem(TextLib::Trim(f.asString()));
        return problem.isEmpty() ? QString() : u" - Campo errato: %1: %2"_s.arg(labelOf(f, description), problem);
    }
    if (f.dataType() == FieldType::Decimal && !negativeAllowed(f.fieldName()) && f.asCurrency() < Decimal()) {
        return u" - Campo errato: %1: l'importo %2 è negativo, il modello non ne prevede"_s.arg(
            f.displayLabel(), f.asCurrency().toString(2));
    }
    if (f.dataType() == FieldType::Date || f.dataType() == FieldType::DateTime) {
        const bool payment = f.fieldName().contains(u"DTVERS"_s, Qt::CaseInsensitive);
        const int first = payment ? kIncomeYear : kFirstYear;
        const int year = f.asDate().year();
        if (year < first || year > kReturnYear) {
            return u" - Campo errato: %1: la data %2 è fuori dagli anni ammessi (dal %3 al %4)"_s
                .arg(labelOf(f, mandatoryDescription(f.fieldName())), Conv::dateToText(f.asDate()))
                .arg(first)
                .arg(kReturnYear);
        }
    }
    return QString();
}

QString fieldRule(const ClientDataSet &ds, const QString &field)
{
    const QString f = field.toUpper();
    if (f == u"SSOSDENRAPPR")
        return representativeRule(ds);
    if (f == u"LINPS7MESIRETR")
        return inpsRule(ds);
    if (f == u"LINPS7MESIRETR_C")
        return inpsCompensationRule(ds);
    if (f == u"SDAU7CODFIS")
        return selfEmployedRule(ds);
    if (f == u"LCFC7RELPARCON")
        return dependantsRule(ds);
    return QString();
}

} // namespace

bool negativeAllowed(const QString &field)
{
    return !field.startsWith(u'F', Qt::CaseInsensitive);
}

bool run(QStringList &findings, const QList<const ClientDataSet *> &dataSets)
{
    const qsizetype before = findings.size();
    for (const ClientDataSet *ds : dataSets) {
        for (int i = 0; i < ds->fieldCount(); ++i) {
            const Field &f = ds->field(i);
            const char16_t *description = mandatoryDescription(f.fieldName());
            if (description && !filled(f)) {
                findings.append(kMissing + QString::fromUtf16(description));
                continue;
            }
            for (const QString &found : {fieldRule(*ds, f.fieldName()), valueRule(f)}) {
                if (!found.isEmpty())
                    findings.append(found);
            }
        }
    }
    return findings.size() == before;
}

} // namespace MandatoryDataCheck

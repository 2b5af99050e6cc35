#include "PrintCommands.h"

#include "ElhMPdfAut.h"
#include "ElhMPdfDip.h"
#include "ElhMProspSTPDF.h"
#include "ElhMStampe.h"
#include "ReturnSession.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

using Print = TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*)(const QString &);

struct Choice
{
    const char16_t *name;
    Print print; // null for the frontispiece
};

const Choice kPrints[] = {
    {u"frontespizio", nullptr},           {u"st", &TdmElhProspSTPDF::stampaST}, {u"sv", &TdmElhProspSTPDF::stampaSV},
    {u"sx", &TdmElhProspSTPDF::stampaSX}, {u"sy", &TdmElhProspSTPDF::stampaSY}, {u"ss", &TdmElhProspSTPDF::stampaSS},
    {u"di", &TdmElhProspSTPDF::stampaDI},
};

const Choice kReports[] = {
    {u"inps", &TdmElhProspSTPDF::riepilogoINPS},
    {u"tassazione-separata", &TdmElhProspSTPDF::riepilogoTassazioneSeparata},
    {u"irpef", &TdmElhProspSTPDF::riepilogoIRPEF},
    {u"inpdap", &TdmElhProspSTPDF::riepilogoINPDAP},
    {u"autonomi", &TdmElhProspSTPDF::riepilogoAutonomi},
};

const QString kNothing = u"Nessun dato da stampare: il file non è stato creato.\n"_s;

// "WHAT --out FILE": the choice and the absolute file name; null when the
// arguments are not those.
template<std::size_t N>
const Choice *parse(const QStringList &arguments, const Choice (&choices)[N], QString *file)
{
    if (arguments.size() != 3 || arguments[1] != u"--out")
        return nullptr;
    *file = QFileInfo(arguments[2]).absoluteFilePath();
    for (const Choice &c : choices) {
        if (arguments[0] == QStringView(c.name))
            return &c;
    }
    return nullptr;
}

QString saved(const QString &file)
{
    return u"Stampa salvata in «%1».\n"_s.arg(QDir::toNativeSeparators(file));
}

// The frontispiece from the agent's record of the year.
int printFrontispiece(THlmDBCds &store, const QString &file, QTextStream &out)
{
    TdmElhStampe stampe(store);
    stampe.preparaFrontespizio();
    // The agent's record of the year is made at the first start of the
    // desktop program; until then there is nothing of the school to print.
    if (stampe.cdsSost.isEmpty()) {
        out << u"Nessun dato del sostituto per il 2023: il suo record si crea al primo avvio del programma.\n"_s
            << kNothing;
        return 0;
    }
    stampe.stampaFrontespizio(file);
    out << saved(file);
    return 0;
}

int print(ReturnSession &session, Print print, const QString &file, QTextStream &out)
{
    TdmElhProspSTPDF module(session.store(), session.findings());
    switch ((module.*print)(file)) {
    case TdmElhProspSTPDF::Outcome::Saved:
        out << saved(file);
        return 0;
    case TdmElhProspSTPDF::Outcome::NothingToPrint:
        out << kNothing;
        return 0;
    case TdmElhProspSTPDF::Outcome::Failed:
        break;
    }
    return 1;
}

// "dipendenti|autonomi --out FILE [--codice-fiscale CF ...]": the
// certificates of every person, or of those named, in the order given.
int printCertificates(const QStringList &arguments, const QString &usage, QTextStream &out, QTextStream &err)
{
    const bool employees = arguments.value(0) == u"dipendenti";
    if (arguments.size() < 3 || arguments[1] != u"--out") {
        err << usage;
        return 2;
    }
    const QStringList rest = arguments.mid(3);
    QStringList codes;
    for (const QString &argument : rest) {
        if (argument != u"--codice-fiscale")
            codes.append(argument.toUpper());
    }
    const bool wellFormed =
        rest.isEmpty()
        || (rest.first() == u"--codice-fiscale" && !codes.isEmpty()
            && std::none_of(codes.begin(), codes.end(), [](const QString &c) { return c.startsWith(u"--"); }));
    if (!wellFormed) {
        err << usage;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    TdmElhStampe stampe(session.store());
    std::unique_ptr<TdmElhPdfCertificato> print;
    if (employees)
        print = std::make_unique<TdmElhPdfDip>(session.store(), stampe);
    else
        print = std::make_unique<TdmElhPdfAut>(session.store(), stampe);
    const QString codeField = employees ? u"SDIP7CODFIS"_s : u"SDAU7CODFIS"_s;
    QList<Bookmark> chosen;
    for (const QString &code : std::as_const(codes)) {
        if (!print->cdsMultiSelect.locate(codeField, code, {.caseInsensitive = true})) {
            err << u"Codice fiscale «%1» non presente tra i %2 della dichiarazione.\n"_s.arg(code, arguments[0]);
            return 1;
        }
        chosen.append(print->cdsMultiSelect.bookmark());
    }
    const QString file = QFileInfo(arguments[2]).absoluteFilePath();
    if (print->Crea(file, codes.isEmpty() ? std::nullopt : std::optional(chosen))
        == TdmElhPdfCertificato::Outcome::NothingToPrint) {
        out << kNothing;
        return 0;
    }
    out << saved(file);
    return 0;
}

// "WHAT --out FILE" on the return of the current database.
template<std::size_t N>
int run(const QStringList &arguments, const Choice (&choices)[N], const QString &usage, QTextStream &out,
        QTextStream &err)
{
    QString file;
    const Choice *choice = parse(arguments, choices, &file);
    if (!choice) {
        err << usage;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    return choice->print ? print(session, choice->print, file, out) : printFrontispiece(session.store(), file, out);
}

} // namespace

int runPrint(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString usage = u"Uso: elh770 stampa frontespizio|st|sv|sx|sy|ss|di --out FILE.pdf\n"
                          u"     elh770 stampa dipendenti|autonomi --out FILE.pdf [--codice-fiscale CF ...]\n"_s;
    if (arguments.value(0) == u"dipendenti" || arguments.value(0) == u"autonomi")
        return printCertificates(arguments, usage, out, err);
    return run(arguments, kPrints, usage, out, err);
}

int runSummaryReport(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    return run(arguments, kReports,
               u"Uso: elh770 riepilogo inps|tassazione-separata|irpef|inpdap|autonomi --out FILE.pdf\n"_s, out, err);
}

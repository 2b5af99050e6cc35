#include "ImportCommand.h"

#include "ClientDataSet.h"
#include "CommandOptions.h"
#include "ElhMImport.h"
#include "Exceptions.h"
#include "Field.h"
#include "FindingEcho.h"
#include "ImportF24.h"
#include "NrQueryCollection.h"
#include "PreviousYearCommand.h"
#include "ReturnSession.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUsage =
    u"Uso: elh770 importa f24ep [--st1 si|no] [--st2 si|no] [--sv si|no]\n"
    u"     elh770 importa cu [--codice-fiscale CF ...] [--sostituto] [--addizionali si|no]\n"
    u"     elh770 importa autonomi [--codice-fiscale CF ...] [--sovrascrivi si|no] [--solo-anagrafica]\n"
    u"     elh770 importa anno-precedente dipendenti|autonomi [--cartella CARTELLA]\n"_s;

std::optional<ImportF24::Choice> parseF24(const QStringList &arguments)
{
    ImportF24::Choice choice;
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        const std::optional<bool> answer = yesNo(arguments.value(i + 1));
        if (!answer)
            return std::nullopt;
        if (arguments[i] == u"--st1")
            choice.stI = *answer;
        else if (arguments[i] == u"--st2")
            choice.stII = *answer;
        else if (arguments[i] == u"--sv")
            choice.sv = *answer;
        else
            return std::nullopt;
    }
    return choice;
}

int runF24(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<ImportF24::Choice> choice = parseF24(arguments);
    if (!choice) {
        err << kUsage;
        return 2;
    }
    if (!choice->stI && !choice->stII && !choice->sv) {
        err << u"Nessun prospetto da importare: indicare «si» ad almeno una fra --st1, --st2 e --sv.\n"_s;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    session.lockReturn();
    ImportF24 import(session.store(), session.params().anfId());
    out << import.run(*choice);
    return import.failed() ? 1 : 0;
}

// The options of the imports of people: the fiscal codes chosen (all when
// none), flags, and options with a value si|no.
struct PeopleOptions
{
    QStringList codes;
    QStringList flags;
    QHash<QString, bool> answers;
};

std::optional<PeopleOptions> parsePeople(const QStringList &arguments, const QStringList &flags,
                                         const QStringList &questions)
{
    PeopleOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--codice-fiscale") {
            for (; i + 1 < arguments.size() && !arguments[i + 1].startsWith(u"--"); ++i)
                options.codes.append(arguments[i + 1].trimmed().toUpper());
            if (options.codes.isEmpty())
                return std::nullopt;
        } else if (flags.contains(a)) {
            options.flags.append(a);
        } else if (questions.contains(a)) {
            const std::optional<bool> answer = yesNo(arguments.value(++i));
            if (!answer)
                return std::nullopt;
            options.answers.insert(a, *answer);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The codes chosen that are not in the list, each with its message.
bool allKnown(const QStringList &codes, const QStringList &known, const QString &where, QTextStream &err)
{
    bool all = true;
    for (const QString &code : codes) {
        if (!known.contains(code)) {
            err << u"Codice fiscale %1 non presente %2.\n"_s.arg(code, where);
            all = false;
        }
    }
    return all;
}

// The log of an import of people and its last line, which counts the people
// not imported (among them certifications without a code, which no list names).
void printLog(const TdmElhImport &import, const QStringList &people, QTextStream &out, QTextStream &err)
{
    for (const QString &line : import.log())
        out << line << u'\n';
    const qsizetype failed = import.failed().size();
    qsizetype total = people.size();
    for (const QString &who : import.failed())
        total += people.contains(who) ? 0 : 1;
    out << u"Fine operazione: %1 su %2 persone importate"_s.arg(total - failed).arg(total);
    if (failed > 0)
        out << u", %1 non %2"_s.arg(failed).arg(failed == 1 ? u"importata"_s : u"importate"_s);
    out << u".\n"_s;
    if (failed > 0)
        // A control character in a code is named, as in the log above.
        err << u"Non importate: %1\n"_s.arg(Field::visibleText(import.failed().join(u", "_s)));
}

int runCu(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<PeopleOptions> options = parsePeople(arguments, {u"--sostituto"_s}, {u"--addizionali"_s});
    if (!options) {
        err << kUsage;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    session.lockReturn();
    FindingEcho findings(err);
    TdmElhImport import(session.store(), session.params(), findings);
    ClientDataSet people;
    import.certifiedPeople(people);
    QStringList all;
    for (; !people.eof(); people.next())
        all.append(people.fieldByName(u"CODFIS"_s).asString().trimmed().toUpper());
    if (!allKnown(options->codes, all, u"nelle certificazioni"_s, err))
        return 2;
    const QStringList codes = options->codes.isEmpty() ? all : options->codes;
    const bool ok = import.ImportCUD(
        codes, {options->flags.contains(u"--sostituto"), options->answers.value(u"--addizionali"_s, true)});
    printLog(import, codes, out, err);
    return ok ? 0 : 1;
}

int runSelfEmployed(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<PeopleOptions> options = parsePeople(arguments, {u"--solo-anagrafica"_s}, {u"--sovrascrivi"_s});
    if (!options) {
        err << kUsage;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    session.lockReturn();
    FindingEcho findings(err);
    TdmElhImport import(session.store(), session.params(), findings);
    TNrQueryCollection list;
    import.openPayees(list, options->flags.contains(u"--solo-anagrafica") ? TdmElhImport::PayeeList::RegistryOnly
                                                                          : TdmElhImport::PayeeList::SelfEmployed);
    QStringList listed;
    for (list.first(); !list.eof(); list.next())
        listed.append(list.fieldByName(u"SANACODFISCALE"_s).asString().trimmed().toUpper());
    if (!allKnown(options->codes, listed, u"fra i percipienti delle paghe"_s, err))
        return 2;
    const bool overwrite = options->answers.value(u"--sovrascrivi"_s, false);
    const Confirmation replace = [overwrite](const QString &) { return overwrite; };
    int imported = 0;
    int considered = 0;
    bool failed = false;
    import.beginAutonomi();
    for (list.first(); !list.eof(); list.next()) {
        const QString code = list.fieldByName(u"SANACODFISCALE"_s).asString().trimmed().toUpper();
        if (!options->codes.isEmpty() && !options->codes.contains(code))
            continue;
        ++considered;
        const QString name = list.fieldByName(u"SANACOGNOMENOME"_s).asString();
        switch (import.importaAutonomo(list, replace)) {
        case TdmElhImport::Outcome::Imported:
            out << u"Importato: %1\n"_s.arg(name);
            ++imported;
            break;
        case TdmElhImport::Outcome::Skipped:
            out << u"Non importato: %1\n"_s.arg(name);
            break;
        case TdmElhImport::Outcome::Failed:
            failed = true;
            break;
        }
    }
    import.endAutonomi();
    out << u"Fine operazione: %1 su %2 persone importate.\n"_s.arg(imported).arg(considered);
    return failed ? 1 : 0;
}

} // namespace

int runImport(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString what = arguments.value(0);
    if (what == u"f24ep")
        return runF24(arguments, out, err);
    if (what == u"cu")
        return runCu(arguments, out, err);
    if (what == u"autonomi")
        return runSelfEmployed(arguments, out, err);
    if (what == u"anno-precedente")
        return runImportPreviousYear(arguments.mid(1), out, err);
    err << kUsage;
    return 2;
}

int runIntegration(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString which = arguments.value(0);
    QStringList rest = arguments;
    const qsizetype at = rest.indexOf(u"--cartella"_s);
    const QString folder = at > 0 ? rest.value(at + 1) : QString();
    if (at > 0)
        rest.remove(at, std::min<qsizetype>(2, rest.size() - at));
    const std::optional<PeopleOptions> options = parsePeople(rest, {}, {});
    if ((which != u"dipendenti" && which != u"autonomi") || folder.isEmpty() || !options) {
        err << u"Uso: elh770 integra dipendenti|autonomi --cartella CARTELLA [--codice-fiscale CF ...]\n"_s;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    session.lockReturn();
    FindingEcho findings(err);
    TdmElhImport import(session.store(), session.params(), findings);
    const TdmElhImport::Integration kind =
        which == u"dipendenti" ? TdmElhImport::Integration::Employees : TdmElhImport::Integration::SelfEmployed;
    try {
        ClientDataSet people;
        import.extinctPeople(folder, kind, people);
        QStringList all;
        for (; !people.eof(); people.next())
            all.append(people.fieldByName(u"CODFIS"_s).asString());
        if (!allKnown(options->codes, all, u"fra le persone del sostituto estinto"_s, err))
            return 2;
        const bool ok = import.integra(folder, kind, options->codes);
        printLog(import, options->codes.isEmpty() ? all : options->codes, out, err);
        return ok ? 0 : 1;
    } catch (const Exception &e) {
        err << e.message() << u'\n';
        return 1;
    }
}

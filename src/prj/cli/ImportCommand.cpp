#include "ImportCommand.h"

#include "CommandOptions.h"
#include "PreviousYearCommand.h"
#include "ReturnSession.h"
#include "import/ImportF24.h"

using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<ImportF24::Choice> parse(const QStringList &arguments)
{
    if (arguments.value(0) != u"f24ep")
        return std::nullopt;
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

} // namespace

int runImport(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.value(0) == u"anno-precedente")
        return runImportPreviousYear(arguments.mid(1), out, err);
    const std::optional<ImportF24::Choice> choice = parse(arguments);
    if (!choice) {
        err << u"Uso: elh770 importa f24ep [--st1 si|no] [--st2 si|no] [--sv si|no]\n"_s;
        return 2;
    }
    if (!choice->stI && !choice->stII && !choice->sv) {
        err << u"Nessun prospetto da importare: indicare «si» ad almeno una fra --st1, --st2 e --sv.\n"_s;
        return 2;
    }
    ReturnSession session;
    if (!session.open())
        return 1;
    ImportF24 import(session.store(), session.params().anfId());
    out << import.run(*choice);
    return import.failed() ? 1 : 0;
}

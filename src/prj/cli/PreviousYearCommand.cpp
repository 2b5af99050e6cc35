#include "PreviousYearCommand.h"

#include "PreviousYearImport.h"
#include "ReturnSession.h"

#include <QDir>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Request
{
    PersonTables::Kind kind;
    QString folder; // empty: the store's previous year
};

std::optional<Request> parse(const QStringList &arguments)
{
    Request request{PersonTables::Kind::Employee, {}};
    if (arguments.value(0) == u"autonomi")
        request.kind = PersonTables::Kind::SelfEmployed;
    else if (arguments.value(0) != u"dipendenti")
        return std::nullopt;
    if (arguments.size() == 3 && arguments[1] == u"--cartella" && !arguments[2].isEmpty())
        request.folder = QDir(arguments[2]).absolutePath();
    else if (arguments.size() != 1)
        return std::nullopt;
    return request;
}

} // namespace

int runImportPreviousYear(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<Request> request = parse(arguments);
    if (!request) {
        err << u"Uso: elh770 importa anno-precedente dipendenti|autonomi [--cartella CARTELLA]\n"_s;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    session.lockReturn();
    PreviousYearImport import(session.store(), request->kind);
    const PreviousYearImport::Outcome outcome =
        request->folder.isEmpty() ? import.fromStore() : import.fromFolder(request->folder);
    out << PreviousYearImport::report(request->kind, outcome) << Qt::endl;
    return 0;
}

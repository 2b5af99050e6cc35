#include "QuadraturaCommand.h"

#include "Exceptions.h"
#include "Quadratura.h"
#include "QuadraturaExport.h"
#include "ReturnSession.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Options
{
    QString pdf;
    QString csv;
};

std::optional<Options> parse(const QStringList &arguments)
{
    Options o;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString &a = arguments[i];
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return std::nullopt;
        QString &file = a == u"--pdf" ? o.pdf : o.csv;
        if ((a != u"--pdf" && a != u"--csv") || !file.isEmpty())
            return std::nullopt;
        file = QFileInfo(arguments[i + 1]).absoluteFilePath();
    }
    return o;
}

} // namespace

int runQuadratura(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<Options> options = parse(arguments);
    if (!options) {
        err << u"Uso: elh770 quadratura [--pdf FILE] [--csv FILE]\n"_s;
        return 2;
    }
    ReturnSession session(err);
    try {
        // What keeps the database from opening was already shown.
        if (!session.open())
            return 2;
        const QuadraturaReport report = reconcile(readQuadraturaInput(session.store()));
        for (const QuadraturaFinding &finding : report.findings)
            out << quadraturaFindingLine(finding) << Qt::endl;
        out << quadraturaCountsLine(report) << u'.' << Qt::endl;
        if (!options->pdf.isEmpty()) {
            printQuadratura(report, options->pdf, quadraturaSchool(session.store()));
            out << u"Stampa salvata in «%1».\n"_s.arg(QDir::toNativeSeparators(options->pdf));
        }
        if (!options->csv.isEmpty()) {
            writeQuadraturaCsv(report, options->csv);
            out << u"File CSV salvato in «%1».\n"_s.arg(QDir::toNativeSeparators(options->csv));
        }
        return report.count(FindingLevel::Error) > 0 ? 1 : 0;
    } catch (const EAbort &) {
        return 2;
    } catch (const Exception &e) {
        err << quadraturaFailureLine(e.message()) << Qt::endl;
        return 2;
    }
}

#include "FileTelematicoCommand.h"

#include "FindingEcho.h"

#include "CommandOptions.h"
#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "ElhUSupplyCheck.h"
#include "InfoList.h"
#include "NrFindings.h"
#include "ReturnSession.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Options
{
    QString out;
    bool prospettiSv = true;
    bool prospettoSy = true;
    bool goOn = false;
};

std::optional<Options> parse(const QStringList &arguments)
{
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool valued = a == u"--out" || a == u"--sv" || a == u"--sy";
        if (valued && i + 1 >= arguments.size())
            return std::nullopt;
        if (a == u"--out") {
            o.out = arguments[++i];
        } else if (a == u"--sv" || a == u"--sy") {
            const std::optional<bool> choice = yesNo(arguments[++i]);
            if (!choice)
                return std::nullopt;
            (a == u"--sv" ? o.prospettiSv : o.prospettoSy) = *choice;
        } else if (a == u"--prosegui") {
            o.goOn = true;
        } else {
            return std::nullopt;
        }
    }
    if (o.out.isEmpty())
        return std::nullopt;
    return o;
}

// The findings of the completeness check on the terminal; the question is
// answered by --prosegui.
class TerminalFindings : public InfoList::Service
{
public:
    TerminalFindings(QTextStream &err, bool goOn)
        : m_err(err)
        , m_goOn(goOn)
    {
        InfoList::setService(this);
    }
    ~TerminalFindings() override { InfoList::setService(nullptr); }
    TerminalFindings(const TerminalFindings &) = delete;
    TerminalFindings &operator=(const TerminalFindings &) = delete;

    bool ask(const QStringList &lines) override
    {
        show(lines);
        m_err << (m_goOn ? u"Si desidera proseguire? Si (--prosegui)"_s
                         : u"Si desidera proseguire? No (per proseguire indicare --prosegui)"_s)
              << Qt::endl;
        return m_goOn;
    }

    void show(const QStringList &lines) override
    {
        for (const QString &line : lines)
            m_err << line << Qt::endl;
    }

private:
    QTextStream &m_err;
    bool m_goOn;
};

} // namespace

int runFileTelematico(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<Options> options = parse(arguments);
    if (!options) {
        err << u"Uso: elh770 file-telematico --out PERCORSO [--sv si|no] [--sy si|no] [--prosegui]\n"_s;
        return 2;
    }
    ReturnSession session(err);
    if (!session.open())
        return 1;
    session.lockReturn();
    TdmElhFile dm(session.store());
    dm.openTables();
    // What the generation has to tell goes to the error output as it comes.
    FindingEcho told(err);
    FileWizard wizard(dm, told);
    wizard.prospettiSv = options->prospettiSv;
    wizard.prospettoSy = options->prospettoSy;
    // Stage 1 closes with its success line; on the terminal both stages are
    // one operation, so the line waits until the files are written.
    const QString success = u"Operazione terminata con successo."_s;
    wizard.setProgress([&](const QString &line) {
        if (line != success)
            out << line << Qt::endl;
    });
    TerminalFindings findings(err, options->goOn);
    if (wizard.createFile() != FileWizard::Outcome::Created)
        return 1;
    wizard.save(QFileInfo(options->out).absoluteFilePath());
    out << success << Qt::endl;
    return 0;
}

int runControllaFile(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty()
        || std::any_of(arguments.begin(), arguments.end(), [](const QString &a) { return a.startsWith(u"--"); })) {
        err << u"Uso: elh770 controlla-file FILE [FILE_2 ...]\n"_s;
        return 2;
    }
    const QList<SupplyCheck::Finding> findings = SupplyCheck::run(arguments);
    for (const SupplyCheck::Finding &f : findings)
        out << SupplyCheck::describe(f) << Qt::endl;
    if (findings.isEmpty()) {
        out << u"Nessun problema trovato nella fornitura (%1 file).\n"_s.arg(arguments.size());
        return 0;
    }
    out << u"Problemi trovati nella fornitura: %1.\n"_s.arg(findings.size());
    return 1;
}

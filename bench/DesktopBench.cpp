// The desktop program on the demo school's database (SQLite): the start, from
// the main window's creation to the window shown with its bar (the
// connection opened, the local data folder and the agent checked, the
// command table started), the opening of "Dati Sostituto" with its table
// loaded, and the opening of "Prospetto ST" with its four sections loaded,
// section I holding 5,000 payments; on the demo school with 2,000 employees
// more, the opening of the employee window with its thirteen tables, and the
// move to the next employee with his twelve sections shown; the file
// wizard's two stages on the demo school, from the window's creation to the
// supply file written. Goals: start within 1.5 s, "Dati Sostituto" within
// 300 ms, "Prospetto ST" within 300 ms, the employee window within 500 ms,
// the next employee within 50 ms, the file wizard within 1 s.
//   desktop_bench [--benchmark_filter=...]

#include "BenchEmployees.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "NrApplication.h"
#include "NrMessages.h"
#include "THlmDBCds.h"
#include "TNrOutlookBar.h"
#include "TdmKbrParams.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"
#include "TfmElhDipendente.h"
#include "TfmElhProspST2009.h"
#include "TfrElhDipAnagr.h"
#include "TfrElhProspST.h"
#include "ElhProgram.h"
#include "DatabaseSetup.h"
#include "ReturnCatalogue.h"
#include "TfmElhFile.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <clocale>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Lets the event loop run until the condition holds; false after the time.
bool waitFor(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QString buildPath(const QString &relative)
{
    return DataPaths::resolve(QStringLiteral(ELH_BUILD_ROOT), relative);
}

// An installation with the demo school's database, started once so that
// the agent of the year exists, as on every start after the first.
class DemoInstallation
{
public:
    explicit DemoInstallation(int employees = 0)
        : m_installation(Engine::SQLite)
    {
        const MessageServiceScope quiet(&m_messages);
        // The delivered data of the year: the file wizard's descriptors and
        // working tables.
        m_installation.copyFromBuild(u"USR/FL2023/"_s);
        TdmkbrConnessione connection;
        if (!connection.createDatabase())
            throw std::runtime_error("connessione non aperta");
        const ReturnCatalogue catalogue = ReturnCatalogue::load(buildPath(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
        DatabaseSetup setup(connection);
        setup.createStructures(catalogue, {2022, 2023});
        setup.createDemo(catalogue, buildPath(u"USR\\FL2023\\DbIniziale\\Demo\\"_s));
        THlmDBCds store(2023, u"elh"_s, 0);
        store.setConnection(&connection);
        BenchEmployees::addEmployees(store, employees);
        TdmKbrParams params(&connection, settingsFile());
        DatabaseSetup::pointToDemo(params);
        Desktop first(*this);
    }

    QString settingsFile() const { return m_installation.root() + u"NruParams.ini"_s; }

    // Payments added to section I of the Prospetto ST until it holds `rows`.
    void fillSectionI(int rows)
    {
        const MessageServiceScope quiet(&m_messages);
        TdmkbrConnessione connection;
        if (!connection.OpenConnection())
            throw std::runtime_error("connessione non aperta");
        THlmDBCds store(2023, u"elh"_s, 0);
        store.setConnection(&connection);
        ClientDataSet st;
        store.open(st, u"TPST_PROSPETTOST"_s);
        for (int row = st.recordCount(); row < rows; ++row) {
            st.append();
            st.fieldByName(u"SPSTMESE"_s).setAsString(u"%1"_s.arg(row % 12 + 1, 2, 10, QLatin1Char('0')));
            st.fieldByName(u"SPSTANNO"_s).setAsString(u"2023"_s);
            st.fieldByName(u"SPSTCODTRIBUTO"_s).setAsString(row % 3 == 0 ? u"104E"_s : u"100E"_s);
            st.fieldByName(u"FPSTRITOPEARTE"_s)
                .setAsString(u"%1,%2"_s.arg(100 + row).arg(row % 100, 2, 10, QLatin1Char('0')));
            st.fieldByName(u"FPSTIMPOVERSATO"_s).setAsString(st.fieldByName(u"FPSTRITOPEARTE"_s).asString());
            st.fieldByName(u"DPSTDTVERS"_s).setAsString(u"16/%1/2023"_s.arg(row % 12 + 1, 2, 10, QLatin1Char('0')));
            st.fieldByName(u"LPSTRAVVEDIMENTO"_s).setAsString(u"0"_s);
            st.post();
        }
        store.save(st, u"TPST_PROSPETTOST"_s);
    }

    // The program started, its main window shown until the bar is filled.
    class Desktop
    {
    public:
        explicit Desktop(const DemoInstallation &installation)
            : m_program(installation.settingsFile())
        {
            m_program.main().show();
            if (!waitFor([this] { return m_program.main().outlookBar()->count() > 0; }, 10000))
                throw std::runtime_error("la finestra principale non si è avviata");
        }
        ~Desktop() { m_program.main().close(); }

        TfmElhMain &main() { return m_program.main(); }
        TdmElhAttivazioni &commands() { return m_program.commands(); }

    private:
        ElhProgram m_program;
    };

private:
    ScriptedMessageService m_messages;
    TestInstallation m_installation;
};

DemoInstallation &demo()
{
    static DemoInstallation installation;
    return installation;
}

constexpr int kEmployees = 2000;

DemoInstallation &largeSchool()
{
    static DemoInstallation installation(kEmployees);
    return installation;
}

void startToMainWindow(benchmark::State &state)
{
    ScriptedMessageService messages;
    const MessageServiceScope quiet(&messages);
    DemoInstallation &installation = demo();
    for (auto _ : state) {
        {
            const DemoInstallation::Desktop desktop(installation);
        }
        state.PauseTiming();
        if (!messages.messages().isEmpty())
            state.SkipWithError(messages.texts().join(u'\n').toStdString().c_str());
        state.ResumeTiming();
    }
}

void openAgentWindow(benchmark::State &state)
{
    ScriptedMessageService messages;
    const MessageServiceScope quiet(&messages);
    DemoInstallation::Desktop desktop(demo());
    for (auto _ : state) {
        desktop.commands().command(u"xafSostituto"_s)->Execute();
        state.PauseTiming();
        if (desktop.main().childForms().size() != 1 || !messages.messages().isEmpty())
            state.SkipWithError("la finestra «Dati Sostituto» non si è aperta");
        desktop.main().mdiArea()->closeAllSubWindows();
        waitFor([&] { return desktop.main().childForms().isEmpty(); }, 1000);
        state.ResumeTiming();
    }
}

void fileWizard(benchmark::State &state)
{
    ScriptedMessageService messages;
    const MessageServiceScope quiet(&messages);
    DemoInstallation::Desktop desktop(demo());
    const QTemporaryDir folder;
    const QString supply = folder.filePath(u"77024"_s);
    for (auto _ : state) {
        TfmElhFile window(*desktop.main().store());
        window.buInizio->click();
        window.save(supply);
        state.PauseTiming();
        if (!QFile::exists(supply) || !window.meInfo->toPlainText().contains(u"Operazione terminata con successo."_s))
            state.SkipWithError(window.meInfo->toPlainText().toStdString().c_str());
        window.reject();
        QFile::remove(supply);
        state.ResumeTiming();
    }
}

void openProspettoST(benchmark::State &state)
{
    ScriptedMessageService messages;
    const MessageServiceScope quiet(&messages);
    demo().fillSectionI(5000);
    DemoInstallation::Desktop desktop(demo());
    for (auto _ : state) {
        desktop.commands().command(u"xafSt"_s)->Execute();
        state.PauseTiming();
        const auto *window = qobject_cast<TfmElhProspST2009 *>(desktop.main().childForms().value(0));
        if (!window || window->frErario->cdsMain.recordCount() != 5000 || !messages.messages().isEmpty())
            state.SkipWithError("la finestra «Prospetto ST» non si è aperta con le sue 5.000 righe");
        desktop.main().mdiArea()->closeAllSubWindows();
        waitFor([&] { return desktop.main().childForms().isEmpty(); }, 1000);
        state.ResumeTiming();
    }
}

void openEmployeeWindow(benchmark::State &state)
{
    ScriptedMessageService messages;
    const MessageServiceScope quiet(&messages);
    DemoInstallation::Desktop desktop(largeSchool());
    for (auto _ : state) {
        desktop.commands().command(u"xafDipParteA"_s)->Execute();
        state.PauseTiming();
        const auto *window = qobject_cast<TfmElhDipendente *>(desktop.main().childForms().value(0));
        if (!window || window->frDipAnagr->cdsMain.recordCount() < kEmployees || !messages.messages().isEmpty())
            state.SkipWithError("la finestra dei dipendenti non si è aperta");
        desktop.main().mdiArea()->closeAllSubWindows();
        waitFor([&] { return desktop.main().childForms().isEmpty(); }, 1000);
        state.ResumeTiming();
    }
    state.counters["dipendenti"] = kEmployees;
}

void nextEmployee(benchmark::State &state)
{
    ScriptedMessageService messages;
    const MessageServiceScope quiet(&messages);
    DemoInstallation::Desktop desktop(largeSchool());
    desktop.commands().command(u"xafDipParteA"_s)->Execute();
    auto *window = qobject_cast<TfmElhDipendente *>(desktop.main().childForms().value(0));
    if (!window) {
        state.SkipWithError("la finestra dei dipendenti non si è aperta");
        return;
    }
    TfrElhDipAnagr *employees = window->frDipAnagr;
    QCoreApplication::processEvents();
    for (auto _ : state) {
        employees->acNext->trigger();
        // What the grids and the pages show is painted too.
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (employees->cdsMain.recNo() == employees->cdsMain.recordCount())
            employees->acFirst->trigger();
        state.ResumeTiming();
    }
    if (!messages.messages().isEmpty())
        state.SkipWithError(messages.texts().join(u'\n').toStdString().c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TNrApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::RegisterBenchmark("AvvioFinestraPrincipale", startToMainWindow)
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("AperturaDatiSostituto", openAgentWindow)
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("FileTelematicoScuolaDemo", fileWizard)
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("AperturaProspettoST5000Righe", openProspettoST)
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("AperturaDipendenti2000", openEmployeeWindow)
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("DipendenteSuccessivo", nextEmployee)
        ->Iterations(200)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

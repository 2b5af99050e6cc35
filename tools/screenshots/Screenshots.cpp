// Pictures of the desktop program, for people to look at what an office
// worker sees: the main window with its bar, every window of the
// frontispiece with each of its pages, the search dialog, the findings
// window, a message box, the F24EP import dialog, every window of the
// Prospetti with its pages, every print window, the reconciliation, the file
// wizard and the integration dialogs, the main window on the screens of
// 1366x768 and 1920x1080 and its menu Finestra, and on those screens the
// people windows and the Prospetto SY. It runs the program on the database of its
// installation, as "elh770" does, answers every message itself and writes
// the pictures as PNG files into the folder given.
//   elh_screenshots CARTELLA        (scripts/screenshots runs it under xvfb-run)

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "ElhProgram.h"
#include "MandatoryDataCheck.h"
#include "NrApplication.h"
#include "NrFolderChooser.h"
#include "NrMessages.h"
#include "QtMessageService.h"
#include "TNrDBGrid.h"
#include "TNrOutlookBar.h"
#include "TNrProgressDialog.h"
#include "TfmElhAutonomo.h"
#include "TfmElhDipendente.h"
#include "TfmElhFile.h"
#include "TfmElhFornitore.h"
#include "TfmElhInfo.h"
#include "TfmElhIntSos.h"
#include "TfmElhQuadratura.h"
#include "TfmElhSosEst.h"
#include "TfmElhSostituto.h"
#include "TfmHlmRicerca.h"
#include "TfrElHMulti.h"
#include "TfrElfBase.h"
#include "TfrElhAutonomo.h"
#include "TfrElhDipAnagr.h"
#include "TfrElhFornitore.h"
#include "TfrElhPdfOutput.h"
#include "TfrElhSosEst.h"
#include "TfrElhSostituto.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <clocale>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

QTextStream out(stdout);

void settle(int ms = 150)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class Camera
{
public:
    explicit Camera(const QString &folder)
        : m_folder(folder)
    {
    }

    void take(QWidget *window, const QString &name)
    {
        takeAs(window, u"%1-%2"_s.arg(++m_count, 2, 10, QLatin1Char('0')).arg(name));
    }

    // A picture named as given (a window's class name first).
    void takeAs(QWidget *window, const QString &name)
    {
        settle();
        const QString path = this->path(name);
        if (!window->grab().save(path))
            throw std::runtime_error("cannot write " + path.toStdString());
        out << path << Qt::endl;
    }

    QString path(const QString &name) const { return m_folder.filePath(name + u".png"_s); }

    // Pictures a modal window once it is shown, after `use` did what it
    // shows, then closes it; `named` leaves the picture unnumbered.
    void takeModal(const QString &name, std::function<void(QWidget *)> use = {}, bool named = false)
    {
        QTimer::singleShot(300, [this, name, use, named] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (use)
                use(modal);
            if (named)
                takeAs(modal, name);
            else
                take(modal, name);
            modal->close();
        });
    }

private:
    QDir m_folder;
    int m_count = 0;
};

// Opens a command's window, maximised in the main window.
QWidget *open(ElhProgram &program, const QString &command)
{
    program.commands().command(command)->Execute();
    settle();
    QMdiSubWindow *sub = program.main().mdiArea()->activeSubWindow();
    if (!sub)
        throw std::runtime_error("no window for " + command.toStdString());
    sub->showMaximized();
    return sub->widget();
}

template<class Frame>
void pictureFrame(Camera &camera, QWidget *main, Frame *frame, const QString &name)
{
    frame->pcMain->setCurrentWidget(frame->tsGrid);
    camera.take(main, name + u"-griglia"_s);
    frame->pcMain->setCurrentWidget(frame->tsDetail);
    camera.take(main, name + u"-dettaglio"_s);
}

// A page caption as a part of a file name: "Redd.Esteri" gives "redd-esteri".
QString slug(const QString &caption)
{
    QString s = caption.toLower();
    for (QChar &c : s) {
        if (!c.isLetterOrNumber())
            c = u'-';
    }
    while (s.contains(u"--"_s))
        s.replace(u"--"_s, u"-"_s);
    return s;
}

// Every page of a page control, the sub-pages of a page included. A page
// that holds a section is shown on the first person who has rows in it,
// with its detail.
void picturePages(Camera &camera, QWidget *main, TfrElhAnagrafe *registry, QTabWidget *pages, const QString &prefix)
{
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        const QString name = prefix + u'-' + slug(pages->tabText(page));
        if (auto *section = qobject_cast<TfrElhSezione *>(pages->widget(page))) {
            for (registry->cdsMain.first(); section->cdsMain.isEmpty() && !registry->cdsMain.eof();)
                registry->cdsMain.next();
            section->pcMain->setCurrentWidget(section->tsGrid);
            camera.takeAs(main, name + u"-griglia"_s);
            section->pcMain->setCurrentWidget(section->tsDetail);
        }
        if (auto *inner = qobject_cast<QTabWidget *>(pages->widget(page)))
            picturePages(camera, main, registry, inner, name);
        else
            camera.takeAs(main, name);
    }
    registry->cdsMain.first();
}

// Runs `take` with the main window at the size of the run, then filling the
// screens of 1366x768 and 1920x1080 (less a title bar), with the suffix that
// names the size ("-1366x768", none for the run's).
void atScreenSizes(QWidget &main, const std::function<void(const QString &suffix)> &take)
{
    const QRect geometry = main.geometry();
    take(QString());
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)}) {
        main.setGeometry(QRect(QPoint(0, 0), screen - QSize(0, 30)));
        settle();
        take(u"-%1x%2"_s.arg(screen.width()).arg(screen.height()));
    }
    main.setGeometry(geometry);
    settle();
}

// The employees and the self-employed workers: the grid and every page of
// their windows, on every screen size.
void picturePersons(Camera &camera, ElhProgram &program)
{
    TfmElhMain &main = program.main();
    atScreenSizes(main, [&](const QString &suffix) {
        auto *employees = qobject_cast<TfmElhDipendente *>(open(program, u"xafDipParteA"_s));
        TfrElhDipAnagr *registry = employees->frDipAnagr;
        const QString employee = u"TfmElhDipendente"_s + suffix;
        camera.takeAs(&main, employee + u"-griglia"_s);
        registry->pcMain->setCurrentWidget(registry->tsDetail);
        picturePages(camera, &main, registry, registry->pcDip, employee);
        main.mdiArea()->closeAllSubWindows();
        auto *workers = qobject_cast<TfmElhAutonomo *>(open(program, u"xafAutonomo"_s));
        const QString worker = u"TfmElhAutonomo"_s + suffix;
        camera.takeAs(&main, worker + u"-griglia"_s);
        workers->frAutonomo->pcMain->setCurrentWidget(workers->frAutonomo->tsDetail);
        picturePages(camera, &main, workers->frAutonomo, workers->frAutonomo->pcAutonomo, worker);
        main.mdiArea()->closeAllSubWindows();
        settle();
    });
}

// Every print window once it made its file (they open with no other
// window open), named after its class.
void picturePrints(Camera &camera, ElhProgram &program)
{
    program.main().mdiArea()->closeAllSubWindows();
    settle();
    const std::pair<const char16_t *, const char16_t *> prints[] = {
        {u"xafStpFront", u"TfmElhPdfFront"}, {u"axfST", u"TfmElhPdfST"},      {u"axfSV", u"TfmElhPdfSV"},
        {u"axfSX", u"TfmElhPdfSX"},          {u"axfSY", u"TfmElhPdfSY"},      {u"axfSS", u"TfmElhPdfSS"},
        {u"axfDI", u"TfmElhPdfDI"},          {u"xafStpDip", u"TfmElhPdfDip"}, {u"axfStpAut", u"TfmElhPdfAut"}};
    for (const auto &[command, name] : prints) {
        camera.takeModal(
            QString::fromUtf16(name),
            [](QWidget *modal) {
                if (auto *output = modal->findChild<TfrElhPdfOutput *>())
                    output->buCreatePdf->click();
            },
            true);
        program.commands().command(QString::fromUtf16(command))->Execute();
        settle();
    }
}

// The file wizard: each page of its path, the memo after "Crea File
// telematico", and the completeness question when the demo's frontispiece
// raises one (answered "Si"). The file is not saved.
void pictureFileWizard(Camera &camera, ElhProgram &program)
{
    camera.takeModal(
        u"TfmElhFile-fine"_s,
        [&camera](QWidget *modal) {
            auto *wizard = qobject_cast<TfmElhFile *>(modal);
            if (!wizard)
                return;
            while (wizard->currentId() != TfmElhFile::kPageCreaFile) {
                camera.takeAs(wizard, u"TfmElhFile-"_s + slug(wizard->currentPage()->subTitle()));
                wizard->next();
            }
            camera.takeAs(wizard, u"TfmElhFile-crea-file"_s);
            QTimer::singleShot(300, [&camera] {
                if (auto *info = qobject_cast<TfmElhInfo *>(QApplication::activeModalWidget())) {
                    camera.takeAs(info, u"TfmElhFile-domanda"_s);
                    info->buSi->click();
                }
            });
            wizard->buInizio->click();
        },
        true);
    program.commands().command(u"xafFile"_s)->Execute();
    settle();
}
// The reconciliation of the return as it opens, on the screen the program is
// designed for and on the pictures' own, then with its warnings only and the
// second one chosen.
void pictureQuadratura(Camera &camera, ElhProgram &program)
{
    TfmElhMain &main = program.main();
    const QSize size = main.size();
    auto *window = qobject_cast<TfmElhQuadratura *>(open(program, u"xafQuadratura"_s));
    camera.takeAs(&main, u"TfmElhQuadratura"_s);
    main.resize(1366, 768);
    camera.takeAs(&main, u"TfmElhQuadratura-1366x768"_s);
    main.resize(size);
    window->cbLivello->setCurrentIndex(2);
    window->grRilievi->selectRow(1);
    camera.takeAs(&main, u"TfmElhQuadratura-attenzione"_s);
    window->close();
    settle();
}

// The grid and the detail page of a frame of a prospetto; a detail page
// taller than the window is pictured screen by screen.
void pictureProspetto(Camera &camera, QWidget *main, TfrElfBase *frame, const QString &name)
{
    frame->pcMain->setCurrentWidget(frame->tsGrid);
    camera.takeAs(main, name + u"-griglia"_s);
    frame->pcMain->setCurrentWidget(frame->tsDetail);
    settle();
    QScrollBar *bar = frame->tsDetail->findChild<QScrollArea *>()->verticalScrollBar();
    for (int screen = 0; bar->value() < bar->maximum() || screen == 0; ++screen) {
        bar->setValue(screen * bar->pageStep());
        camera.takeAs(main, name + u"-dettaglio"_s + (bar->maximum() > 0 ? u"-%1"_s.arg(screen + 1) : QString()));
    }
    bar->setValue(0);
}

// The main window filling the screens of 1366x768 and 1920x1080 (less a
// title bar) with three windows open, and its menu Finestra listing them.
void pictureScreens(Camera &camera, ElhProgram &program)
{
    TfmElhMain &main = program.main();
    const QRect geometry = main.geometry();
    const auto openThree = [&program] {
        for (const QString &command : {u"xafSv"_s, u"xafSX"_s, u"xafDI"_s})
            program.commands().command(command)->Execute();
    };
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)}) {
        main.setGeometry(QRect(QPoint(0, 0), screen - QSize(0, 30)));
        settle();
        openThree();
        camera.takeAs(&main, u"finestra-principale-%1x%2"_s.arg(screen.width()).arg(screen.height()));
        main.mdiArea()->closeAllSubWindows();
    }
    main.setGeometry(geometry);
    settle();
    openThree();
    main.miFinestra->popup(
        main.mapToGlobal(main.menuBar()->actionGeometry(main.miFinestra->menuAction()).bottomLeft()));
    settle(300);
    const QPixmap shown = main.screen()->grabWindow(0, main.x(), main.y(), main.width(), main.height());
    const QString path = camera.path(u"menu-finestra"_s);
    if (!shown.save(path))
        throw std::runtime_error("cannot write " + path.toStdString());
    out << path << Qt::endl;
    main.miFinestra->close();
    main.mdiArea()->closeAllSubWindows();
    settle();
}

// Every page of a window of the Prospetti, its file names beginning with
// the window's class name.
void pictureProspetti(Camera &camera, ElhProgram &program)
{
    QWidget *main = &program.main();
    const std::pair<const char16_t *, const char16_t *> windows[] = {
        {u"xafSt", u"TfmElhProspST2009"}, {u"xafSv", u"TfmElhProspSV"}, {u"xafSX", u"TfmElhProspSX"},
        {u"xafSY", u"TfmElhprospSY"},     {u"xafSs", u"TfmElhProspSS"}, {u"xafDI", u"TfmElhProspDI"}};
    const auto picture = [&](const QString &command, const QString &name) {
        QWidget *window = open(program, command);
        auto *pages = window->findChild<QTabWidget *>(u"pcST"_s);
        if (!pages)
            pages = window->findChild<QTabWidget *>(u"pcSY"_s);
        if (pages) {
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                // The whole caption of a tab wrapped on two lines is its hint.
                const QString caption =
                    pages->tabToolTip(page).isEmpty() ? pages->tabText(page) : pages->tabToolTip(page);
                pictureProspetto(camera, main, qobject_cast<TfrElfBase *>(pages->widget(page)),
                                 name + u"-"_s + slug(caption.section(u" - "_s, 0, 0)));
            }
        } else {
            pictureProspetto(camera, main, window->findChild<TfrElfBase *>(), name);
        }
        program.main().mdiArea()->closeAllSubWindows();
        settle();
    };
    for (const auto &[command, className] : windows)
        picture(QString::fromUtf16(command), QString::fromUtf16(className));
    // The tabs of SY on two lines, on every screen size.
    atScreenSizes(*main, [&](const QString &suffix) {
        if (!suffix.isEmpty())
            picture(u"xafSY"_s, u"TfmElhprospSY"_s + suffix);
    });
}

// The integration dialogs on the school's own data exported by "Esporta
// dati " (the people listed are the demo's), the second person picked.
// Nothing is integrated.
void pictureIntegration(Camera &camera, ElhProgram &program)
{
    class ExportFolder : public NrFolderChooser
    {
    public:
        QString chooseFolder(const QString &) override { return folder.path(); }
        QTemporaryDir folder;
    };
    ExportFolder chosen;
    const NrFolderChooserScope scope(&chosen);
    program.commands().command(u"xacExportCDS"_s)->Execute();
    for (const auto &[command, name] :
         {std::pair{u"xafIntSosDip"_s, u"TfmElhIntSosDip"_s}, std::pair{u"xafIntSosAut"_s, u"TfmElhIntSosAut"_s}}) {
        camera.takeModal(
            name,
            [](QWidget *modal) {
                if (auto *dialog = qobject_cast<TfmElhIntSos *>(modal)) {
                    TNrDBGrid *grid = dialog->frElhMulti1->grFrame;
                    grid->selectionModel()->select(grid->model()->index(1, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
                }
            },
            true);
        program.commands().command(command)->Execute();
        settle();
    }
}

void run(const QString &folder)
{
    Camera camera(folder);
    ElhProgram program;
    TfmElhMain &main = program.main();
    main.resize(1200, 820);
    main.show();
    QElapsedTimer started;
    started.start();
    while (main.outlookBar()->count() == 0 && started.elapsed() < 10000)
        settle(50);
    camera.take(&main, u"finestra-principale"_s);
    {
        // The progress of a long run, as the CU import shows it.
        TNrProgressDialog progress(u"Dipendente"_s, &main);
        progress.setWindowTitle(u"Import da CUD ..."_s);
        progress.step(124, 2000, u"ROSSI MARIO"_s);
        progress.show();
        camera.takeAs(&progress, u"TNrProgressDialog"_s);
    }
    for (int page = 1; page < main.outlookBar()->count(); ++page) {
        main.outlookBar()->setCurrentIndex(page);
        camera.take(&main, u"barra-"_s + main.outlookBar()->itemText(page).toLower().replace(u' ', u'-'));
    }
    // The tools page, shown on request, with its captions whole.
    main.acVediStrumenti->setChecked(true);
    main.outlookBar()->setCurrentIndex(main.outlookBar()->count() - 1);
    camera.take(&main, u"barra-strumenti"_s);
    main.acVediStrumenti->setChecked(false);
    main.outlookBar()->setCurrentIndex(0);

    auto *agent = qobject_cast<TfmElhSostituto *>(open(program, u"xafSostituto"_s));
    TfrElhSostituto *frame = agent->frSostituto;
    camera.take(&main, u"sostituto-griglia"_s);
    frame->pcMain->setCurrentWidget(frame->tsDetail);
    for (int page = 0; page < frame->pcSostituto->count(); ++page) {
        if (!frame->pcSostituto->isTabVisible(page))
            continue;
        frame->pcSostituto->setCurrentIndex(page);
        camera.take(&main, u"sostituto-"_s
                               + frame->pcSostituto->tabText(page).toLower().replace(u'/', u'-').replace(u' ', u'-'));
    }

    // The findings of the check on an agent left empty.
    QStringList findings;
    {
        ClientDataSet blank;
        blank.loadFromBytes(frame->cdsMain.saveToBytes(), u"TSOS_DATOSOSTITUTO"_s);
        blank.emptyDataSet();
        blank.append();
        MandatoryDataCheck::run(findings, {&blank});
        blank.cancel();
    }
    TfmElhInfo info(findings, TfmElhInfo::Mode::Ask, &main);
    camera.takeModal(u"controllo-dati-obbligatori"_s);
    info.exec();

    TfmHlmRicerca search(&main);
    camera.takeModal(u"finestra-di-ricerca"_s);
    search.searchFile(DataPaths::fromRoot(u"USR\\FL2023\\Res\\Tabelle\\TAT8_CODATECO.CDS"_s));

    TNrQtMessageService boxes;
    {
        const MessageServiceScope shown(&boxes);
        camera.takeModal(u"messaggio"_s);
        NrMessageDlg(u"Salvare prima di cambiare modello."_s, MsgDlgType::Warning);
    }
    agent->close();
    settle();

    auto *supplier = open(program, u"xafFornitore"_s);
    pictureFrame(camera, &main, qobject_cast<TfmElhFornitore *>(supplier)->frFornitore, u"fornitore"_s);
    supplier->close();
    auto *extinct = open(program, u"xafSosEstinto"_s);
    pictureFrame(camera, &main, qobject_cast<TfmElhSosEst *>(extinct)->frSosEst, u"sostituto-estinto"_s);
    extinct->close();
    main.mdiArea()->closeAllSubWindows();
    settle();
    pictureScreens(camera, program);
    pictureProspetti(camera, program);
    picturePersons(camera, program);
    pictureQuadratura(camera, program);
    // The wizard first: its first stage makes the Prospetto SS that the
    // print of SS shows.
    pictureFileWizard(camera, program);
    picturePrints(camera, program);

    camera.takeModal(u"importa-f24ep"_s);
    program.commands().command(u"xafImpF24"_s)->Execute();
    camera.takeModal(u"importa-anno-precedente"_s);
    program.commands().command(u"axfImp770ap"_s)->Execute();
    pictureIntegration(camera, program);
    main.close();
}

} // namespace

int main(int argc, char **argv)
{
    TNrApplication app(argc, argv);
    QApplication::setApplicationName(u"elh770"_s);
    QApplication::setApplicationVersion(QStringLiteral(ELH_VERSION));
    std::setlocale(LC_NUMERIC, "C");
    if (argc != 2) {
        QTextStream(stderr) << "Uso: elh_screenshots CARTELLA" << Qt::endl;
        return 2;
    }
    ScriptedMessageService messages;
    messages.setEcho([](const MessageRequest &m) { out << messageTypeLabel(m.type) << u": "_s << m.text << Qt::endl; });
    const MessageServiceScope scope(&messages);
    try {
        run(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception &e) {
        QTextStream(stderr) << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}

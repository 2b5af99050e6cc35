#include "TfmNrMDIMain.h"

#include "NrApplication.h"
#include "TNrOutlookBar.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kMainGeometry = u"Finestre/Principale"_s;
const QString kChildSizes = u"Finestre/"_s;
constexpr int kSavedShownMs = 4000;

// The Alt letter of a caption, lower case, or a null character.
QChar mnemonicOf(const QString &caption)
{
    for (qsizetype at = caption.indexOf(u'&'); at >= 0 && at + 1 < caption.size(); at = caption.indexOf(u'&', at + 2)) {
        if (caption.at(at + 1) != u'&')
            return caption.at(at + 1).toLower();
    }
    return {};
}

// The caption with an Alt letter no other menu of the bar has: its first
// letter that is still free.
QString withFreeMnemonic(const QString &caption, const QMenuBar &bar)
{
    if (!mnemonicOf(caption).isNull())
        return caption;
    QSet<QChar> taken;
    for (const QAction *menu : bar.actions())
        taken.insert(mnemonicOf(menu->text()));
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption.at(at).isLetter() && !taken.contains(caption.at(at).toLower()))
            return QString(caption).insert(at, u'&');
    }
    return caption;
}

// A child window that, once its form agreed to close, hands its size over.
class ChildWindow : public QMdiSubWindow
{
public:
    explicit ChildWindow(std::function<void(const QMdiSubWindow *)> closing)
        : m_closing(std::move(closing))
    {
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        QMdiSubWindow::closeEvent(event);
        if (event->isAccepted())
            m_closing(this);
    }

private:
    std::function<void(const QMdiSubWindow *)> m_closing;
};

} // namespace

TfmNrMDIMain::TfmNrMDIMain(QWidget *parent)
    : QMainWindow(parent)
{
    m_bar = new TNrOutlookBar;
    m_mdiArea = new QMdiArea;
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_bar);
    splitter->addWidget(m_mdiArea);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    miFile = menuBar()->addMenu(u"&File"_s);
    acEsci = miFile->addAction(u"&Esci"_s, this, &QWidget::close);
    acEsci->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    miFinestra = menuBar()->addMenu(u"Fi&nestra"_s);
    acAffianca = new QAction(u"Affianca"_s, this);
    connect(acAffianca, &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
    acSovrapponi = new QAction(u"Sovrapponi"_s, this);
    connect(acSovrapponi, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    acChiudi = new QAction(u"Chiudi"_s, this);
    acChiudi->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(acChiudi, &QAction::triggered, m_mdiArea, &QMdiArea::closeActiveSubWindow);
    acChiudiTutte = new QAction(u"Chiudi tutte"_s, this);
    connect(acChiudiTutte, &QAction::triggered, m_mdiArea, &QMdiArea::closeAllSubWindows);
    // The shortcuts work while the menu is closed.
    addActions({acAffianca, acSovrapponi, acChiudi, acChiudiTutte});
    connect(miFinestra, &QMenu::aboutToShow, this, &TfmNrMDIMain::fillWindowMenu);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &TfmNrMDIMain::fillWindowMenu);
    fillWindowMenu();

    miHelp = menuBar()->addMenu(u"&?"_s);
    acAid = miHelp->addAction(u"&Guida"_s);
    acAid->setShortcut(QKeySequence(Qt::Key_F1));
    connect(acAid, &QAction::triggered, this, [this] { NrRunGuarded([this] { acAidExecute(); }); });
    acReportMan = new QAction(u"Gestione report"_s, this);
    miHelp->addAction(acReportMan);

    m_panel0 = new QLabel;
    // A long text is cut rather than widening the window beyond the screen.
    m_panel0->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(m_panel0, 1);
}

TfmNrMDIMain::~TfmNrMDIMain()
{
    // The area outlives the menu while the window is taken down.
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

void TfmNrMDIMain::setStatusText(const QString &text)
{
    m_panel0->setText(text);
}

QString TfmNrMDIMain::statusText() const
{
    return m_panel0->text();
}

void TfmNrMDIMain::showSaved(const QWidget *window)
{
    for (const QWidget *w = window; w; w = w->parentWidget()) {
        if (const auto *main = qobject_cast<const TfmNrMDIMain *>(w)) {
            main->statusBar()->showMessage(u"Dati salvati"_s, kSavedShownMs);
            return;
        }
    }
}

void TfmNrMDIMain::setSettingsFile(const QString &file)
{
    m_settingsFile = file;
    const QSettings settings(file, QSettings::IniFormat);
    if (restoreGeometry(settings.value(kMainGeometry).toByteArray()))
        return;
    // Room for the frame and the title bar the windowing system adds.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect area = screen()->availableGeometry();
    resize(size().boundedTo(area.size() - QSize(titleBar / 2, 2 * titleBar)));
    move(area.center() - rect().center() - QPoint(0, titleBar / 2));
}

void TfmNrMDIMain::keepChildSize(const QMdiSubWindow *sub)
{
    if (m_settingsFile.isEmpty() || !sub->widget() || sub->isMaximized() || sub->isMinimized())
        return;
    const QString className = sub->widget()->property("ClasseForm").toString();
    if (className.isEmpty())
        return;
    QSettings(m_settingsFile, QSettings::IniFormat).setValue(kChildSizes + className, sub->size());
}

void TfmNrMDIMain::fillWindowMenu()
{
    // The item of a window may be the one being triggered: deleted later.
    for (QAction *item : miFinestra->actions()) {
        miFinestra->removeAction(item);
        if (item->parent() == miFinestra)
            item->deleteLater();
    }
    miFinestra->addActions({acAffianca, acSovrapponi});
    miFinestra->addSeparator();
    miFinestra->addActions({acChiudi, acChiudiTutte});
    const QList<QMdiSubWindow *> open = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (QAction *action : {acAffianca, acSovrapponi, acChiudi, acChiudiTutte})
        action->setEnabled(!open.isEmpty());
    if (!open.isEmpty())
        miFinestra->addSeparator();
    for (qsizetype i = 0; i < open.size(); ++i) {
        QMdiSubWindow *sub = open.at(i);
        const QString caption = sub->windowTitle().replace(u'&', u"&&"_s);
        QAction *item = miFinestra->addAction(i < 9 ? u"&%1 %2"_s.arg(i + 1).arg(caption) : caption, this,
                                              [this, sub] { m_mdiArea->setActiveSubWindow(sub); });
        item->setCheckable(true);
        item->setChecked(sub == m_mdiArea->activeSubWindow());
    }
}

void TfmNrMDIMain::showChild(QWidget *form)
{
    const QSize formSize = form->size().expandedTo(form->sizeHint());
    auto *sub = new ChildWindow([this](const QMdiSubWindow *closing) { keepChildSize(closing); });
    sub->setWidget(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    // The menu Finestra closes the window: the system menu's own shortcut
    // would make the keys ambiguous.
    for (QAction *action : sub->systemMenu()->actions()) {
        if (action->shortcuts() == QKeySequence::keyBindings(QKeySequence::Close))
            action->setShortcuts({});
    }
    m_mdiArea->addSubWindow(sub);
    const QSize frame = sub->sizeHint() - form->sizeHint();
    QSize wanted = formSize + frame;
    if (!m_settingsFile.isEmpty()) {
        const QSettings settings(m_settingsFile, QSettings::IniFormat);
        wanted = settings.value(kChildSizes + form->property("ClasseForm").toString(), wanted).toSize();
    }
    const QRect area = m_mdiArea->viewport()->rect();
    QRect placed = sub->geometry();
    placed.setSize(wanted.boundedTo(area.size()));
    // Within the area, where the place the area gave would leave it out.
    placed.moveRight(std::min(placed.right(), area.right()));
    placed.moveBottom(std::min(placed.bottom(), area.bottom()));
    sub->setGeometry(placed);
    form->show();
    sub->show();
    m_mdiArea->setActiveSubWindow(sub);
}

void TfmNrMDIMain::activateChild(QWidget *form)
{
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList()) {
        if (sub->widget() == form) {
            sub->showNormal();
            m_mdiArea->setActiveSubWindow(sub);
        }
    }
}

QList<QWidget *> TfmNrMDIMain::childForms() const
{
    QList<QWidget *> forms;
    for (QMdiSubWindow *sub : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->widget())
            forms.append(sub->widget());
    }
    return forms;
}

QWidget *TfmNrMDIMain::findChildForm(const QString &className) const
{
    for (QWidget *form : childForms()) {
        if (form->property("ClasseForm").toString().compare(className, Qt::CaseInsensitive) == 0)
            return form;
    }
    return nullptr;
}

QMenu *TfmNrMDIMain::addCommandMenu(const QString &caption)
{
    auto *menu = new QMenu(withFreeMnemonic(caption, *menuBar()), this);
    menuBar()->insertMenu(miFinestra->menuAction(), menu);
    return menu;
}

void TfmNrMDIMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    NrRunGuarded([this] { FormShow(); });
    // The first activation follows the first display even where the
    // windowing system does not activate new windows by itself.
    QTimer::singleShot(0, this, [this] {
        activateWindow();
        NrRunGuarded([this] { FormActivate(); });
    });
}

void TfmNrMDIMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shown)
        NrRunGuarded([this] { FormActivate(); });
}

void TfmNrMDIMain::closeEvent(QCloseEvent *event)
{
    // Every child window is asked first; one that refuses keeps the program open.
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (!m_settingsFile.isEmpty())
        QSettings(m_settingsFile, QSettings::IniFormat).setValue(kMainGeometry, saveGeometry());
    NrRunGuarded([this] { FormClose(); });
    event->accept();
}

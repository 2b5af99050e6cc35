#include "TfmNrMDIMain.h"

#include "NrApplication.h"
#include "TNrOutlookBar.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

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

    miHelp = menuBar()->addMenu(u"&?"_s);
    acAid = miHelp->addAction(u"&Guida"_s);
    acAid->setShortcut(QKeySequence(Qt::Key_F1));
    connect(acAid, &QAction::triggered, this, [this] { NrRunGuarded([this] { acAidExecute(); }); });
    acReportMan = new QAction(u"Gestione report"_s, this);
    miHelp->addAction(acReportMan);

    m_panel0 = new QLabel;
    statusBar()->addWidget(m_panel0, 1);
}

TfmNrMDIMain::~TfmNrMDIMain() = default;

void TfmNrMDIMain::setStatusText(const QString &text)
{
    m_panel0->setText(text);
}

QString TfmNrMDIMain::statusText() const
{
    return m_panel0->text();
}

void TfmNrMDIMain::showChild(QWidget *form)
{
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
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
    auto *menu = new QMenu(caption, this);
    menuBar()->insertMenu(miHelp->menuAction(), menu);
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
    NrRunGuarded([this] { FormClose(); });
    event->accept();
}

#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TNrOutlookBar;

// The framework's main window: the command bar on the left, the child
// windows in an MDI area, a status bar whose panel 0 takes free text, the
// menus miFile and miHelp with the help action acAid, and the report
// manager action acReportMan. Subclasses react to the first display
// (FormShow), to every activation (FormActivate) and to closing (FormClose).
class TfmNrMDIMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfmNrMDIMain(QWidget *parent = nullptr);
    ~TfmNrMDIMain() override;

    QMdiArea *mdiArea() const { return m_mdiArea; }
    TNrOutlookBar *outlookBar() const { return m_bar; }

    void setStatusText(const QString &text);
    QString statusText() const;

    // Puts a window in the MDI area as a child window and shows it; the
    // child window is deleted when it closes.
    void showChild(QWidget *form);
    void activateChild(QWidget *form);
    // The open child windows, in the order they were opened.
    QList<QWidget *> childForms() const;
    // The open child window created for a window class, or null.
    QWidget *findChildForm(const QString &className) const;

    // A menu for a page of the command table, placed before miHelp.
    QMenu *addCommandMenu(const QString &caption);

    QMenu *miFile;
    QMenu *miHelp;
    QAction *acAid;
    QAction *acReportMan;
    QAction *acEsci;

protected:
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormClose() {}
    // The help action; the framework's own behaviour is none.
    virtual void acAidExecute() {}

    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QMdiArea *m_mdiArea;
    TNrOutlookBar *m_bar;
    QLabel *m_panel0;
    bool m_shown = false;
};

#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TNrOutlookBar;

// The framework's main window: the command bar on the left, the child
// windows in an MDI area, a status bar whose panel 0 takes free text, the
// menus miFile, miFinestra (the open windows, tiled, cascaded or closed)
// and miHelp with the help action acAid, and the report manager action
// acReportMan. Every menu of the bar gets an Alt letter of its own. With a
// settings file, the window's size and position and the size of each
// window class are kept there from one run to the next. Subclasses react
// to the first display (FormShow), to every activation (FormActivate) and
// to closing (FormClose).
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
    // Shows "Dati salvati" for a few seconds in the status bar of the main
    // window that holds the window given, if any.
    static void showSaved(const QWidget *window);

    // The settings file that keeps the sizes; the main window takes the
    // size and position kept there, or fits the screen it opens on.
    void setSettingsFile(const QString &file);

    // Puts a window in the MDI area as a child window and shows it, at the
    // size kept for its window class or else at its own size, within the
    // area; the child window is deleted when it closes.
    void showChild(QWidget *form);
    void activateChild(QWidget *form);
    // The open child windows, in the order they were opened.
    QList<QWidget *> childForms() const;
    // The open child window created for a window class, or null.
    QWidget *findChildForm(const QString &className) const;

    // A menu for a page of the command table, placed before miFinestra.
    QMenu *addCommandMenu(const QString &caption);

    QMenu *miFile;
    QMenu *miFinestra;
    QMenu *miHelp;
    QAction *acAffianca;
    QAction *acSovrapponi;
    // Closes the active child window (Ctrl+F4, Ctrl+W).
    QAction *acChiudi;
    QAction *acChiudiTutte;
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
    void fillWindowMenu();
    void keepChildSize(const QMdiSubWindow *sub);

    QMdiArea *m_mdiArea;
    TNrOutlookBar *m_bar;
    QLabel *m_panel0;
    QString m_settingsFile;
    bool m_shown = false;
};

#pragma once

#include <QWidget>

// The framework's empty window, the base of the program's own windows: a
// child window of the main window or, opened as modal, the content of a
// dialog. FormShow runs when the window is first shown; on closing,
// FormCloseQuery may refuse it and FormClose follows a close that goes
// through. An error in FormShow is shown and closes the window, which would
// otherwise stand empty.
class TfmNrVuota : public QWidget
{
    Q_OBJECT

public:
    explicit TfmNrVuota(QWidget *parent = nullptr);

protected:
    virtual void FormShow() {}
    virtual void FormCloseQuery(bool &canClose) { Q_UNUSED(canClose) }
    virtual void FormClose() {}

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_shown = false;
};

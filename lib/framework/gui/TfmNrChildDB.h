#pragma once

#include <QWidget>

// Base of the child editing windows of the main window. FormShow runs when
// the window is first shown; on closing, FormCloseQuery may refuse it and
// FormClose follows a close that goes through. An error in FormShow is shown
// and closes the window, which would otherwise stand empty.
class TfmNrChildDB : public QWidget
{
    Q_OBJECT

public:
    explicit TfmNrChildDB(QWidget *parent = nullptr);

protected:
    virtual void FormShow() {}
    virtual void FormCloseQuery(bool &canClose) { Q_UNUSED(canClose) }
    virtual void FormClose() {}

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_shown = false;
};

#pragma once

#include <QDialog>

// Base of the program's modal dialogs: a title, no help button, centred on
// the window that opens it (on the screen when none).
class TfmNrDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TfmNrDialog(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
};

#pragma once

#include <QDialog>

#include <initializer_list>

class QHBoxLayout;

// Base of the program's modal dialogs: a title, no help button, centred on
// the window that opens it (on the screen when none).
class TfmNrDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TfmNrDialog(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    // The dialog's buttons in a row on the right, in the order given.
    static QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons);
};

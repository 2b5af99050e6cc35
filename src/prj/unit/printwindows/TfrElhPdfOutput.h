#pragma once

#include "TNrAttShell.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What every print window shares: the name of the PDF file to make (without
// extension; it goes into the data root's "USR\FL2023\Stp\" folder), the
// buttons that make it, open it and close the window, and the memo that
// lists each file made ("File generato: " and the full path). When the
// window is shown the memo is cleared and the name is ready to be typed.
class TfrElhPdfOutput : public QWidget
{
    Q_OBJECT

public:
    // Makes the file of that full name; false when none was made (the
    // reason was shown).
    using Print = std::function<bool(const QString &fullName)>;

    TfrElhPdfOutput(const QString &defaultName, Print print, QWidget *parent = nullptr);

    // Data root + "USR\FL2023\Stp\" + the name typed + ".pdf".
    QString fullFileName() const;
    // What a print says when it made no file for want of rows; false.
    static bool nothingToPrint();

    QLabel *laPdfFileName;
    QLineEdit *edPdfFileName;
    QPushButton *buCreatePdf;
    QPushButton *buOpenPdf;
    QPushButton *buExit;
    QPlainTextEdit *meOut;
    TNrAttShell xasStampa{nullptr};

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buCreatePdfClick();
    void buOpenPdfClick();

    Print m_print;
};

#include "TfrElhPdfOutput.h"

#include "DataPaths.h"
#include "NrApplication.h"
#include "NrMessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>

using namespace Qt::Literals::StringLiterals;

namespace {

QString printFolder()
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Stp\\"_s);
}

} // namespace

TfrElhPdfOutput::TfrElhPdfOutput(const QString &defaultName, Print print, QWidget *parent)
    : QWidget(parent)
    , m_print(std::move(print))
{
    setObjectName(u"TfrElhPdfOutput"_s);
    laPdfFileName = new QLabel(u"Nome file stampa pdf:"_s);
    edPdfFileName = new QLineEdit(defaultName);
    edPdfFileName->setObjectName(u"edPdfFileName"_s);
    laPdfFileName->setBuddy(edPdfFileName);
    buCreatePdf = new QPushButton(u"Crea stampa dichiarazione"_s);
    buCreatePdf->setObjectName(u"buCreatePdf"_s);
    buCreatePdf->setDefault(true);
    buOpenPdf = new QPushButton(u"Apri stampa dichiarazione"_s);
    buOpenPdf->setObjectName(u"buOpenPdf"_s);
    buOpenPdf->setEnabled(false);
    buExit = new QPushButton(u"Esci"_s);
    buExit->setObjectName(u"buExit"_s);
    meOut = new QPlainTextEdit;
    meOut->setObjectName(u"meOut"_s);
    meOut->setReadOnly(true);
    meOut->setMaximumHeight(70);

    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(laPdfFileName, 0, 0, 1, 3);
    layout->addWidget(edPdfFileName, 1, 0, 1, 3);
    layout->addWidget(buCreatePdf, 2, 0);
    layout->addWidget(buOpenPdf, 2, 1);
    layout->addWidget(buExit, 2, 2);
    layout->addWidget(meOut, 3, 0, 1, 3);

    connect(buCreatePdf, &QPushButton::clicked, this, &TfrElhPdfOutput::buCreatePdfClick);
    connect(buOpenPdf, &QPushButton::clicked, this, &TfrElhPdfOutput::buOpenPdfClick);
    connect(buExit, &QPushButton::clicked, this, [this] { window()->close(); });
}

QString TfrElhPdfOutput::fullFileName() const
{
    return printFolder() + edPdfFileName->text().trimmed() + u".pdf"_s;
}

bool TfrElhPdfOutput::nothingToPrint()
{
    NrMessageDlg(u"Nessun dato da stampare: il file non è stato creato."_s, MsgDlgType::Information);
    return false;
}

void TfrElhPdfOutput::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    meOut->clear();
    edPdfFileName->setFocus();
}

void TfrElhPdfOutput::buCreatePdfClick()
{
    // The name is that of a file of the print folder, never a path.
    static const QRegularExpression notAName(u"[\\\\/:*?\"<>|]"_s);
    const QString name = edPdfFileName->text().trimmed();
    if (name.isEmpty() || name.contains(notAName)) {
        NrMessageDlg(u"Il nome del file di stampa «%1» non è valido: indicare un nome senza percorso e senza i "
                     u"caratteri \\ / : * ? \" < > |."_s.arg(name),
                     MsgDlgType::Warning);
        edPdfFileName->setFocus();
        return;
    }
    const QString file = fullFileName();
    bool made = false;
    NrRunGuarded([&] { made = m_print(file); });
    if (!made)
        return;
    meOut->appendPlainText(u"File generato: "_s + file);
    buOpenPdf->setEnabled(true);
    buOpenPdf->setFocus();
}

void TfrElhPdfOutput::buOpenPdfClick()
{
    if (xasStampa.Directory.isEmpty())
        xasStampa.SetDirectory(printFolder());
    xasStampa.Caption = window()->windowTitle();
    xasStampa.FileName = edPdfFileName->text().trimmed() + u".pdf"_s;
    xasStampa.Execute();
    buOpenPdf->setFocus();
}

#include "TfmElhInfo.h"

#include "AtomicFile.h"
#include "Exceptions.h"
#include "NrMessages.h"
#include "ShellOpen.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhInfo::TfmElhInfo(const QStringList &lines, Mode mode, QWidget *parent)
    : TfmNrDialog(parent)
    , m_lines(lines)
{
    setWindowTitle(u"Informazioni"_s);
    setSizeGripEnabled(true);
    resize(640, 360);

    meInfo = new QPlainTextEdit(this);
    meInfo->setReadOnly(true);
    meInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    meInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meInfo->setPlainText(QString(lines.join(u"\n"_s)).replace(u"\r\n"_s, u"\n"_s));

    laDomanda = new QLabel(u"Si desidera proseguire?"_s, this);
    buBloccoNote = new QPushButton(u"Blocco note"_s, this);
    buSi = new QPushButton(u"Si"_s, this);
    buOk = new QPushButton(mode == Mode::Ask ? u"No"_s : u"OK"_s, this);
    laDomanda->setVisible(mode == Mode::Ask);
    buSi->setVisible(mode == Mode::Ask);
    buOk->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(buBloccoNote);
    buttons->addStretch(1);
    buttons->addWidget(laDomanda);
    buttons->addWidget(buSi);
    buttons->addWidget(buOk);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(meInfo, 1);
    layout->addLayout(buttons);

    // Answers: "Si" accepts (Yes); "No" or "OK" rejects in ask mode and
    // closes in plain mode.
    connect(buSi, &QPushButton::clicked, this, &QDialog::accept);
    connect(buOk, &QPushButton::clicked, this, mode == Mode::Ask ? &QDialog::reject : &QDialog::accept);
    connect(buBloccoNote, &QPushButton::clicked, this, &TfmElhInfo::openInNotepad);
}

void TfmElhInfo::openInNotepad()
{
    QTemporaryFile reserve(QDir::tempPath() + u"/Informazioni-XXXXXX.txt"_s);
    reserve.setAutoRemove(false);
    if (!reserve.open()) {
        NrMessageDlg(u"Impossibile creare il file temporaneo nella cartella %1."_s.arg(
                         QDir::toNativeSeparators(QDir::tempPath())),
                     MsgDlgType::Error);
        return;
    }
    const QString path = reserve.fileName();
    reserve.close();
    try {
        AtomicFile::save(path, m_lines.join(u"\r\n"_s).append(u"\r\n"_s).toUtf8());
    } catch (const EInOutError &e) {
        QFile::remove(path);
        NrMessageDlg(e.message(), MsgDlgType::Error);
        return;
    }
    if (!ShellOpen::openFile(path))
        NrMessageDlg(u"Impossibile aprire il file %1: nessun programma associato ai file di testo."_s.arg(
                         QDir::toNativeSeparators(path)),
                     MsgDlgType::Error);
}

bool TfmElhInfoService::ask(const QStringList &lines)
{
    TfmElhInfo dialog(lines, TfmElhInfo::Mode::Ask);
    return dialog.exec() == QDialog::Accepted;
}

void TfmElhInfoService::show(const QStringList &lines)
{
    TfmElhInfo dialog(lines, TfmElhInfo::Mode::Plain);
    dialog.exec();
}

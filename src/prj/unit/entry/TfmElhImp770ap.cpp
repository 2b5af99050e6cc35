#include "TfmElhImp770ap.h"

#include "Exceptions.h"
#include "HlmReturnLock.h"
#include "NrCursors.h"
#include "NrFolderChooser.h"
#include "NrMessages.h"
#include "PreviousYearImport.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhImp770ap::TfmElhImp770ap(THlmDBCds &store, QWidget *parent)
    : TfmNrDialog(parent)
    , m_store(store)
{
    setWindowTitle(u"Import anagrafiche da 770 anno precedente "_s);
    setMinimumWidth(480);

    laTipo = new QLabel(u"Selezionare il tipo di import:"_s, this);
    ckDipend = new QCheckBox(u"Lav. dipendenti"_s, this);
    ckAuton = new QCheckBox(u"Lav. autonomi"_s, this);
    // Either box or none: checking one unchecks the other.
    connect(ckDipend, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            ckAuton->setChecked(false);
    });
    connect(ckAuton, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            ckDipend->setChecked(false);
    });

    auto *origine = new QGroupBox(u"Anagrafiche dell'anno precedente"_s, this);
    rbArchivio = new QRadioButton(u"Dichiarazione 2022 nell'archivio"_s, origine);
    rbCartella = new QRadioButton(u"File esportati nella cartella:"_s, origine);
    rbArchivio->setChecked(true);
    edCartella = new QLineEdit(origine);
    buCartella = new QToolButton(origine);
    buCartella->setText(u"..."_s);
    buCartella->setToolTip(u"Scegliere la cartella"_s);
    connect(edCartella, &QLineEdit::textEdited, rbCartella, [this] { rbCartella->setChecked(true); });
    connect(buCartella, &QToolButton::clicked, this, &TfmElhImp770ap::buCartellaClick);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(edCartella, 1);
    folderRow->addWidget(buCartella);
    auto *origineLayout = new QVBoxLayout(origine);
    origineLayout->addWidget(rbArchivio);
    origineLayout->addWidget(rbCartella);
    origineLayout->addLayout(folderRow);

    buImporta = new QPushButton(u"Importa"_s, this);
    buImporta->setDefault(true);
    buChiudi = new QPushButton(u"Chiudi"_s, this);
    connect(buImporta, &QPushButton::clicked, this, &TfmElhImp770ap::buImportaClick);
    connect(buChiudi, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = buttonRow({buImporta, buChiudi});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(laTipo);
    layout->addWidget(ckDipend);
    layout->addWidget(ckAuton);
    layout->addSpacing(8);
    layout->addWidget(origine);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void TfmElhImp770ap::buCartellaClick()
{
    const QString folder = NrChooseFolder(u"Cartella dei dati esportati dal 770 dell'anno precedente"_s);
    if (folder.isEmpty())
        return;
    edCartella->setText(QDir::toNativeSeparators(folder));
    rbCartella->setChecked(true);
}

void TfmElhImp770ap::buImportaClick()
{
    const PersonTables::Kind kind = ckDipend->isChecked() ? PersonTables::Kind::Employee
                                                          : PersonTables::Kind::SelfEmployed;
    PreviousYearImport import(m_store, kind);
    PreviousYearImport::Outcome outcome;
    try {
        const auto lock = HlmLockReturn(m_store);
        const TNrCursorScope hourglass;
        outcome = rbCartella->isChecked() ? import.fromFolder(QDir::fromNativeSeparators(edCartella->text().trimmed()))
                                          : import.fromStore();
    } catch (const EAbort &) {
        return;
    } catch (const Exception &e) {
        NrMessageDlg(e.message(), MsgDlgType::Error);
        return;
    }
    NrMessageDlg(PreviousYearImport::report(kind, outcome), MsgDlgType::Information);
    accept();
}

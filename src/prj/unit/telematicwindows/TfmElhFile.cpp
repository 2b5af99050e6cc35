#include "TfmElhFile.h"

#include "DataPaths.h"
#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "Exceptions.h"
#include "HlmReturnLock.h"
#include "NrApplication.h"
#include "NrCursors.h"
#include "NrMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTitle = u"Generazione del file telematico da inviare all'Agenzia delle Entrate"_s;
const QString kPathDefault = u"Default"_s;
const QString kPathOnlyFile = u"onlyfile"_s;
const QString kPathOnlySv = u"onlySV-ST-Sx-DI"_s;
const QString kPathOnlySy = u"onlySY"_s;

// A group with "Si" (chosen) and "No".
QGroupBox *yesNo(const QString &caption, QRadioButton *&yes, QRadioButton *&no)
{
    auto *group = new QGroupBox(caption);
    yes = new QRadioButton(u"Si"_s);
    no = new QRadioButton(u"No"_s);
    yes->setChecked(true);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(yes);
    layout->addWidget(no);
    return group;
}

} // namespace

TfmElhFile::TfmElhFile(THlmDBCds &store, QWidget *parent)
    : TfmNrWizard(parent)
    , m_store(store)
    , m_dm(std::make_unique<TdmElhFile>(store))
{
    setObjectName(u"TfmElhFile"_s);
    setWindowTitle(u"Generazione file telematico 770"_s);
    setButtonText(QWizard::FinishButton, u"Salva"_s);

    tsSv = addWizardPage(kPageSv, u"Prospetto SV"_s);
    auto *sv = new QVBoxLayout(tsSv);
    sv->addWidget(yesNo(u" Prospetto DI - ST - SV - SX"_s, rbTuttiSv, rbNessunoSv));
    sv->addStretch(1);

    tsSy = addWizardPage(kPageSy, u"Prospetto SY"_s);
    auto *sy = new QVBoxLayout(tsSy);
    sy->addWidget(yesNo(u" Prospetto SY"_s, rbTuttiSY, rbNessunoSY));
    sy->addStretch(1);

    tsCreaFile = addWizardPage(kPageCreaFile, u"Crea file"_s);
    buInizio = new QPushButton(u"Crea File telematico"_s);
    buInizio->setObjectName(u"buInizio"_s);
    laInfo = new QLabel(u"Indica lo stato della generazione del file telematico:"_s);
    meInfo = new QPlainTextEdit;
    meInfo->setObjectName(u"meInfo"_s);
    meInfo->setReadOnly(true);
    laInfo->setBuddy(meInfo);
    auto *create = new QVBoxLayout(tsCreaFile);
    auto *start = new QHBoxLayout;
    start->addWidget(buInizio);
    start->addStretch(1);
    create->addLayout(start);
    create->addWidget(laInfo);
    create->addWidget(meInfo, 1);
    // "Salva" waits for stage 1.
    tsCreaFile->setComplete(false);
    connect(buInizio, &QPushButton::clicked, this, &TfmElhFile::buInizioClick);

    s_FileTel = new QFileDialog(this, u"Salva il file telematico"_s);
    s_FileTel->setObjectName(u"s_FileTel"_s);
    s_FileTel->setAcceptMode(QFileDialog::AcceptSave);
    s_FileTel->setFileMode(QFileDialog::AnyFile);

    addPath(kPathDefault, {kPageSv, kPageSy, kPageCreaFile});
    addPath(kPathOnlyFile, {kPageCreaFile});
    addPath(kPathOnlySv, {kPageSv, kPageCreaFile});
    addPath(kPathOnlySy, {kPageSy, kPageCreaFile});

    m_dm->openTables();
    m_wizard = std::make_unique<FileWizard>(*m_dm, m_findings);
    m_wizard->setProgress([this](const QString &line) { addProgress(line); });
    choosePath();
    resize(640, 480);
}

TfmElhFile::~TfmElhFile() = default;

TfmNrWizard::Page *TfmElhFile::addWizardPage(int id, const QString &name)
{
    auto *page = new Page;
    page->setTitle(kTitle);
    page->setSubTitle(name);
    setPage(id, page);
    return page;
}

// A page is shown only when its answer can change the file: the Prospetti
// it asks about have rows.
void TfmElhFile::choosePath()
{
    const bool noProspettiSv = !m_wizard->hasProspettiSv();
    const bool noProspettoSy = !m_wizard->hasProspettoSy();
    if (noProspettiSv && noProspettoSy)
        setActivePath(kPathOnlyFile);
    else if (noProspettiSv)
        setActivePath(kPathOnlySy);
    else if (noProspettoSy)
        setActivePath(kPathOnlySv);
    else
        setActivePath(kPathDefault);
}

void TfmElhFile::initializePage(int id)
{
    TfmNrWizard::initializePage(id);
    if (id == kPageCreaFile && buInizio->isEnabled())
        buInizio->setFocus();
}

void TfmElhFile::buInizioClick()
{
    m_wizard->prospettiSv = rbTuttiSv->isChecked();
    m_wizard->prospettoSy = rbTuttiSY->isChecked();
    // The choices made are those of the file from now on; stage 1 runs once.
    for (QWidget *w : std::initializer_list<QWidget *>{buInizio, rbTuttiSv, rbNessunoSv, rbTuttiSY, rbNessunoSY,
                                                       button(QWizard::BackButton), button(QWizard::CancelButton)})
        w->setEnabled(false);
    m_running = true;
    FileWizard::Outcome outcome = FileWizard::Outcome::Failed;
    {
        const TNrCursorScope hourglass;
        // The return is not to change under the generation: an import
        // running on it is waited for, then the generation is refused.
        NrRunGuarded([&] {
            const auto lock = HlmLockReturn(m_store);
            outcome = m_wizard->createFile();
        });
    }
    m_running = false;
    button(QWizard::BackButton)->setEnabled(true);
    button(QWizard::CancelButton)->setEnabled(true);
    switch (outcome) {
    case FileWizard::Outcome::Created:
        m_created = true;
        tsCreaFile->setComplete(true);
        button(QWizard::FinishButton)->setFocus();
        break;
    case FileWizard::Outcome::StoppedByUser:
        reject();
        break;
    case FileWizard::Outcome::Failed:
        break;
    }
}

void TfmElhFile::addProgress(const QString &line)
{
    meInfo->appendPlainText(line);
    // Each line shows as it comes: a long run does not look frozen.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmElhFile::accept()
{
    if (!m_created || m_saved)
        return;
    const QString folder = DataPaths::fromRoot(u"USR\\FL2023\\Dich770"_s);
    if (!QDir().mkpath(folder)) {
        NrMessageDlg(u"Impossibile creare la cartella %1."_s.arg(QDir::toNativeSeparators(folder)), MsgDlgType::Error);
        return;
    }
    s_FileTel->setDirectory(folder);
    s_FileTel->selectFile(u"770"_s + Edition::kReturnYear.right(2));
    // Cancelled: nothing is written, and "Salva" can be pressed again.
    if (s_FileTel->exec() != QDialog::Accepted || s_FileTel->selectedFiles().isEmpty())
        return;
    save(s_FileTel->selectedFiles().constFirst());
}

void TfmElhFile::save(const QString &fileName)
{
    // Stage 2 adds records to what stage 1 left: it runs once, whatever
    // its end.
    m_saved = true;
    tsCreaFile->setComplete(false);
    NrRunGuarded([&] {
        const TNrCursorScope hourglass;
        try {
            m_wizard->save(fileName);
        } catch (const Exception &e) {
            m_wizard->addLine(u"***** "_s + e.message());
            throw;
        }
    });
    button(QWizard::CancelButton)->setText(u"Chiudi"_s);
}

void TfmElhFile::done(int result)
{
    // Stage 1 ends before the window closes.
    if (m_running)
        return;
    m_dm->closeTables();
    TfmNrWizard::done(result);
}

#pragma once

#include "NrMessages.h"
#include "TfmNrWizard.h"

#include <memory>

class FileWizard;
class QFileDialog;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class THlmDBCds;
class TdmElhFile;

// "Generazione file telematico 770": the wizard that makes the supply file.
// The pages "Prospetto SV" and "Prospetto SY" ask whether those Prospetti
// go into the file; they are shown only when there is something to leave
// out. On "Crea file", "Crea File telematico" runs stage 1 (checks and the
// elements of records D, I and J), with its progress in the memo; "Salva"
// asks where to write the file, in the folder "USR\FL2023\Dich770", and
// runs stage 2. The tables are opened when the window is made and closed
// when it closes.
class TfmElhFile : public TfmNrWizard
{
    Q_OBJECT

public:
    // The pages, numbered as in the framework's paths.
    enum PageId { kPageSv = 3, kPageSy = 5, kPageCreaFile = 6 };

    explicit TfmElhFile(THlmDBCds &store, QWidget *parent = nullptr);
    ~TfmElhFile() override;

    // Stage 2 into that file, as "Salva" does once the file is chosen.
    void save(const QString &fileName);

    Page *tsSv;
    Page *tsSy;
    Page *tsCreaFile;
    QRadioButton *rbTuttiSv;
    QRadioButton *rbNessunoSv;
    QRadioButton *rbTuttiSY;
    QRadioButton *rbNessunoSY;
    QPushButton *buInizio;
    QLabel *laInfo;
    QPlainTextEdit *meInfo;
    QFileDialog *s_FileTel;

public slots:
    // "Salva".
    void accept() override;
    void done(int result) override;

private:
    Page *addWizardPage(int id, const QString &name);
    void choosePath();
    void initializePage(int id) override;
    void buInizioClick();
    void addProgress(const QString &line);

    THlmDBCds &m_store;
    // What the generation has to tell, in a message box as it comes.
    FindingBoxes m_findings;
    std::unique_ptr<TdmElhFile> m_dm;
    std::unique_ptr<FileWizard> m_wizard;
    bool m_running = false;
    bool m_created = false;
    bool m_saved = false;
};

#pragma once

#include "TfmNrDialog.h"
#include "InfoList.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The list window of findings ("Informazioni"): the lines in a read-only
// memo. In ask mode it adds the question "Si desidera proseguire?" with the
// buttons "Si" and "No"; in plain mode only "OK". "Blocco note" writes the
// lines to a new text file in the temporary folder and opens it with the
// associated program.
class TfmElhInfo : public TfmNrDialog
{
    Q_OBJECT

public:
    enum class Mode { Ask, Plain };

    TfmElhInfo(const QStringList &lines, Mode mode, QWidget *parent = nullptr);

    QPlainTextEdit *meInfo;
    QLabel *laDomanda;
    QPushButton *buSi;
    QPushButton *buOk;
    QPushButton *buBloccoNote;

private:
    void openInNotepad();

    QStringList m_lines;
};

// The desktop's list window for the findings of the checks and imports.
class TfmElhInfoService : public InfoList::Service
{
public:
    bool ask(const QStringList &lines) override;
    void show(const QStringList &lines) override;
};

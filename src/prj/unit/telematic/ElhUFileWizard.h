#pragma once

#include "ElhURecord.h"

#include <QString>
#include <QStringList>

class FindingSink;
class TdmElhFile;

// The generation of the supply file without its window: the choices of the
// wizard's pages, its progress memo, and its two stages. Stage 1 ("Crea File
// telematico") checks the data and stores the field elements of records D,
// I and J; stage 2 ("Salva") builds records A and B, packs the elements,
// builds record Z and writes the supply files. What the user is to be told
// goes to the findings that the owner hands in; it shows no window.
class FileWizard
{
public:
    // The data module's tables must be open (TdmElhFile::openTables).
    FileWizard(TdmElhFile &dm, FindingSink &findings);

    TdmElhFile &dm() const { return m_dm; }

    // "Si" on the pages "Prospetto SV" (Prospetti DI, ST, SV, SX) and
    // "Prospetto SY".
    bool prospettiSv = true;
    bool prospettoSy = true;

    // Every line added to the memo also goes to the sink.
    void setProgress(ProgressSink sink);
    void addLine(const QString &line);
    const QStringList &memo() const { return m_memo; }

    // What the pages can offer: rows of the Prospetti of record D (ST, SV,
    // DI, or an SX record that declares something) and of the Prospetto SY.
    bool hasProspettiSv() const;
    bool hasProspettoSy() const;

    enum class Outcome {
        Created,
        StoppedByUser, // at the completeness check
        Failed,        // the error is in the memo after "***** ", and the error
                       // "Operazione terminata con errore" has gone to the findings
    };
    // Stage 1.
    Outcome createFile();
    // Stage 2, on what stage 1 saved; the files written then go through the
    // supply check, whose findings join the memo, and the message naming
    // them goes to the findings as a warning. Errors reach the caller;
    // supply files already complete stay on disk.
    void save(const QString &fileName);

private:
    void rebuildProspettoSs();
    void copyEnteredAmounts();
    void addToProspettoSs(ClientDataSet &sy, const QString &amountField, const QString &ssField);
    void markProspettoSs();
    void checkSupply(const QStringList &files);
    void addQuadraturaLine();

    TdmElhFile &m_dm;
    FindingSink &m_findings;
    ProgressSink m_sink;
    QStringList m_memo;
    RecordContext m_records;
};

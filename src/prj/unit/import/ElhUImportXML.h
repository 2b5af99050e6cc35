#pragma once

#include "NrFindings.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <memory>

class ClientDataSet;

// The import engine: copies the columns of a source row into the current
// row of a target dataset as a named section of the definitions file
// ("Import.xml") says, with each entry's value type, default, case
// conversion, combination with the target's value (Op) and arithmetic steps
// (Operation). The caller owns both datasets: it positions them, puts the
// target into insert or edit state, and posts or cancels it by the result.
// The engine neither moves nor posts them. Its messages go to the findings
// its caller hands it: errors, and a warning for a value it cannot write.
//
// One engine serves one import run. The definitions are read afresh by each
// engine and kept, parsed, for its later calls while the file keeps its
// modification time and size; a new run (a new engine) reads the file again.
class TImportXML
{
public:
    explicit TImportXML(FindingSink &findings);
    ~TImportXML();
    TImportXML(const TImportXML &) = delete;
    TImportXML &operator=(const TImportXML &) = delete;

    // Reverse mode: each entry reads the column named by ToField from the
    // source and writes it to the target (both carry the same columns);
    // Operation steps are ignored. Off unless the caller sets it.
    bool Reverse() const { return m_reverse; }
    void SetReverse(bool reverse) { m_reverse = reverse; }

    // Where the messages go from now on: a run that reports per person
    // names him with them.
    void SetFindings(FindingSink &findings) { m_findings = &findings; }

    // The variables 1 to 5 that a DefaultValue "var(n)" refers to. They keep
    // their values across calls. Another slot number raises EAssertionFailed.
    QVariant &Vars(int slot);
    const QVariant &Vars(int slot) const;

    // Runs every section of `fileName` named `section` (without regard to
    // case) on the current rows of the two datasets. True when the last
    // section that ran completed all its entries; false when none is named
    // so (without a message), when an entry failed (after its message), or
    // when the definitions cannot be used (after the error).
    bool Execute(const QString &section, const QString &fileName, ClientDataSet &source, ClientDataSet &target);
    // The same on the definitions of the last Load() that succeeded, without
    // looking at the file again: for the thousands of sections of one run.
    // EAssertionFailed when none are loaded.
    bool ExecuteLoaded(const QString &section, ClientDataSet &source, ClientDataSet &target);

    // Makes the definitions ready for the calls of this run: reads them, or
    // takes them from this engine's copy. Reports the error and returns false
    // when the file is missing or cannot be used; a run may call it once
    // before its first section to stop early instead of failing every call.
    bool Load(const QString &fileName);
    // The columns that the sections of this name read from the source, in
    // the current mode, once the definitions are loaded.
    QStringList SourceColumns(const QString &section) const;

private:
    struct Cache;

    bool m_reverse = false;
    FindingSink *m_findings;
    std::array<QVariant, 5> m_vars;
    std::unique_ptr<Cache> m_cache;
};

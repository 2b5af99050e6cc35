#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What the headless core has to tell the office: warnings and errors found
// while it copies, builds or prints. The core reports them to a sink that
// its caller hands it and never shows a window; the caller shows them as it
// sees fit (a list window or message boxes on the desktop, the standard
// error on the command line).

enum class FindingLevel { Error, Warning, Information };

// "Errore", "Attenzione", "Informazione".
QString findingLevelLabel(FindingLevel level);

struct Finding
{
    FindingLevel level = FindingLevel::Information;
    QString table;  // the table or file concerned, if any
    QString record; // the record within it: a person, a line, a number
    QString field;
    QString text; // whole: it already says what and where
};

class FindingSink
{
public:
    virtual ~FindingSink() = default;
    virtual void report(const Finding &finding) = 0;

    void error(const QString &text) { report({FindingLevel::Error, {}, {}, {}, text}); }
    void warning(const QString &text) { report({FindingLevel::Warning, {}, {}, {}, text}); }
    void information(const QString &text) { report({FindingLevel::Information, {}, {}, {}, text}); }
};

// Writes each finding on the standard error as "<level>: <text>": the sink
// of an owner that has set none of its own, so that nothing is lost unseen.
FindingSink &standardErrorFindings();

// Keeps the findings in the order they came, for the caller to show.
class FindingList : public FindingSink
{
public:
    void report(const Finding &finding) override { m_entries.append(finding); }

    const QList<Finding> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }
    bool hasErrors() const;
    QStringList texts() const;
    void clear() { m_entries.clear(); }

private:
    QList<Finding> m_entries;
};

// Hands each finding on as it comes, to a caller that shows it at once.
class FindingRelay : public FindingSink
{
public:
    explicit FindingRelay(std::function<void(const Finding &)> show)
        : m_show(std::move(show))
    {
    }
    void report(const Finding &finding) override { m_show(finding); }

private:
    std::function<void(const Finding &)> m_show;
};

// A question the core puts to its caller: true when the answer is "Si".
using Confirmation = std::function<bool(const QString &question)>;

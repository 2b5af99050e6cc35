#pragma once

#include <QString>
#include <QStringList>

// The log of an import of people, shown at its end. The lines of one
// person's certification stand in a block: "Dipendente " + the person, his
// lines, then an empty line, a line of 96 hyphens and another empty line;
// a certification that logged nothing leaves no block. The computations
// after the import write entries "-  " + text under a line naming the person
// (written again whenever the person changes) and, for some, under a header
// of their own written once per run before their first entry.
class ImportLog
{
public:
    void clear();
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QStringList &lines() const { return m_lines; }

    // A line of the current block; a text with line breaks makes several.
    void append(const QString &text);
    // Starts the block of a person's certification.
    void openBlock();
    bool blockOpen() const { return m_blockStart >= 0; }
    // Ends it: when lines were added since openBlock(), heads them with the
    // person's line and closes them with the separator.
    void closeBlock(const QString &person);

    // Starts the entries of a computation: its header (empty for none) is
    // written before its first entry.
    void startPart(const QString &header);
    // An entry about a person ("Cognome Nome").
    void entry(const QString &person, const QString &text);

private:
    QStringList m_lines;
    qsizetype m_blockStart = -1;
    QString m_pendingHeader;
    QString m_lastPerson;
};

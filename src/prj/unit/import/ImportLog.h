#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The log of an import of people, shown at its end. The lines of one
// person's certification stand in a block: "Dipendente " + the person, his
// lines, then an empty line, a line of 96 hyphens and another empty line;
// a certification that logged nothing leaves no block. The computations
// write entries "-  " + text under a line naming the person (written again
// whenever the person changes) in parts of their own, which follow the
// blocks in the order the parts were first started, each under its header
// (none when empty) when it has entries. So the log reads the same whether
// the computations ran after every person or person by person.
class ImportLog
{
public:
    void clear();
    bool isEmpty() const;
    QStringList lines() const;

    // A line of the current block; a text with line breaks makes several.
    void append(const QString &text);
    // Starts the block of a person's certification.
    void openBlock();
    bool blockOpen() const { return m_blockStart >= 0; }
    // Ends it: when lines were added since openBlock(), heads them with the
    // person's line and closes them with the separator.
    void closeBlock(const QString &person);

    // The closing line of the log, after a blank line: how the run ended.
    void conclude(const QString &text) { m_closing = text; }

    // Makes current the part of a computation with this header, started
    // at its first use.
    void startPart(const QString &header);
    // An entry of the current part about a person ("Cognome Nome").
    void entry(const QString &person, const QString &text);

    // What the log held at a moment, to forget what a person that was
    // undone wrote after it.
    struct Mark
    {
        qsizetype lines = 0;
        qsizetype blockStart = -1;
        QList<qsizetype> parts;
        QStringList lastPeople;
    };
    Mark mark() const;
    void rollback(const Mark &mark);

private:
    struct Part
    {
        QString header;
        QStringList lines;
        QString lastPerson;
    };

    QStringList m_lines;
    qsizetype m_blockStart = -1;
    QList<Part> m_parts;
    qsizetype m_current = -1;
    QString m_closing;
};

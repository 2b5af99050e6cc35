#include "ImportLog.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kPersonLine = u"Dipendente "_s;

// The engine separates the lines of its messages with "\n\r".
QStringList linesOf(const QString &text)
{
    QString normal = text;
    normal.replace(u"\r\n"_s, u"\n"_s).replace(u"\n\r"_s, u"\n"_s);
    return normal.split(u'\n');
}

} // namespace

void ImportLog::clear()
{
    m_lines.clear();
    m_blockStart = -1;
    m_parts.clear();
    m_current = -1;
    m_closing.clear();
}

bool ImportLog::isEmpty() const
{
    return m_lines.isEmpty() && m_closing.isEmpty()
           && std::all_of(m_parts.cbegin(), m_parts.cend(), [](const Part &p) { return p.lines.isEmpty(); });
}

QStringList ImportLog::lines() const
{
    QStringList all = m_lines;
    for (const Part &part : m_parts) {
        if (part.lines.isEmpty())
            continue;
        if (!part.header.isEmpty())
            all.append({QString(), part.header});
        all.append(part.lines);
    }
    if (!m_closing.isEmpty())
        all.append({QString(), m_closing});
    return all;
}

void ImportLog::append(const QString &text)
{
    m_lines.append(linesOf(text));
}

void ImportLog::openBlock()
{
    m_blockStart = m_lines.size();
}

void ImportLog::closeBlock(const QString &person)
{
    if (m_blockStart >= 0 && m_lines.size() > m_blockStart) {
        m_lines.insert(m_blockStart, kPersonLine + person);
        m_lines.append({QString(), QString(96, u'-'), QString()});
    }
    m_blockStart = -1;
}

void ImportLog::startPart(const QString &header)
{
    for (m_current = 0; m_current < m_parts.size(); ++m_current) {
        if (m_parts[m_current].header == header)
            return;
    }
    m_parts.append({header, {}, {}});
}

void ImportLog::entry(const QString &person, const QString &text)
{
    if (m_current < 0)
        startPart(QString());
    Part &part = m_parts[m_current];
    if (person != part.lastPerson) {
        part.lines.append({QString(), kPersonLine + person});
        part.lastPerson = person;
    }
    QStringList lines = linesOf(text);
    lines.first().prepend(u"-  "_s);
    part.lines.append(lines);
}

ImportLog::Mark ImportLog::mark() const
{
    Mark m{m_lines.size(), m_blockStart, {}, {}};
    for (const Part &part : m_parts) {
        m.parts.append(part.lines.size());
        m.lastPeople.append(part.lastPerson);
    }
    return m;
}

void ImportLog::rollback(const Mark &mark)
{
    m_lines.resize(mark.lines);
    m_blockStart = mark.blockStart;
    // Parts started after the mark are left empty: they keep their place.
    for (qsizetype i = 0; i < m_parts.size(); ++i) {
        const bool before = i < mark.parts.size();
        m_parts[i].lines.resize(before ? mark.parts[i] : 0);
        m_parts[i].lastPerson = before ? mark.lastPeople[i] : QString();
    }
}

#include "ImportLog.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kPersonLine = u"Dipendente "_s;

QStringList linesOf(const QString &text)
{
    QString normal = text;
    normal.replace(u"\r\n"_s, u"\n"_s);
    return normal.split(u'\n');
}

} // namespace

void ImportLog::clear()
{
    m_lines.clear();
    m_blockStart = -1;
    m_pendingHeader.clear();
    m_lastPerson.clear();
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
    m_pendingHeader = header;
    m_lastPerson.clear();
}

void ImportLog::entry(const QString &person, const QString &text)
{
    if (!m_pendingHeader.isEmpty()) {
        m_lines.append({QString(), m_pendingHeader});
        m_pendingHeader.clear();
        m_lastPerson.clear();
    }
    if (person != m_lastPerson) {
        m_lines.append({QString(), kPersonLine + person});
        m_lastPerson = person;
    }
    QStringList lines = linesOf(text);
    lines.first().prepend(u"-  "_s);
    m_lines.append(lines);
}

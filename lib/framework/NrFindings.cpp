#include "NrFindings.h"

#include <QTextStream>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

QString findingLevelLabel(FindingLevel level)
{
    switch (level) {
    case FindingLevel::Error:
        return u"Errore"_s;
    case FindingLevel::Warning:
        return u"Attenzione"_s;
    case FindingLevel::Information:
        return u"Informazione"_s;
    }
    return QString();
}

FindingSink &standardErrorFindings()
{
    static FindingRelay standardError([](const Finding &finding) {
        QTextStream(stderr) << findingLevelLabel(finding.level) << u": "_s << finding.text << Qt::endl;
    });
    return standardError;
}

bool FindingList::hasErrors() const
{
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [](const Finding &finding) { return finding.level == FindingLevel::Error; });
}

QStringList FindingList::texts() const
{
    QStringList texts;
    for (const Finding &finding : m_entries)
        texts.append(finding.text);
    return texts;
}

#pragma once

#include "NrFindings.h"

#include <QTextStream>

// The findings of the core on the error output as they come, each as
// "<Errore|Attenzione|Informazione>: <text>".
class FindingEcho : public FindingSink
{
public:
    explicit FindingEcho(QTextStream &err)
        : m_err(err)
    {
    }
    void report(const Finding &finding) override
    {
        m_err << findingLevelLabel(finding.level) << QStringLiteral(": ") << finding.text << Qt::endl;
    }

private:
    QTextStream &m_err;
};

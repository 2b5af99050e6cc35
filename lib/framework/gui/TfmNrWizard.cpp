#include "TfmNrWizard.h"

using namespace Qt::Literals::StringLiterals;

void TfmNrWizard::Page::setComplete(bool complete)
{
    if (m_complete == complete)
        return;
    m_complete = complete;
    emit completeChanged();
}

TfmNrWizard::TfmNrWizard(QWidget *parent)
    : QWizard(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    setButtonText(QWizard::BackButton, u"< Indietro"_s);
    setButtonText(QWizard::NextButton, u"Avanti >"_s);
    setButtonText(QWizard::FinishButton, u"Fine"_s);
    setButtonText(QWizard::CancelButton, u"Annulla"_s);
}

void TfmNrWizard::addPath(const QString &name, const QList<int> &pages)
{
    Q_ASSERT(!pages.isEmpty());
    m_paths.insert(name, pages);
}

void TfmNrWizard::setActivePath(const QString &name)
{
    Q_ASSERT(m_paths.contains(name));
    m_activePath = name;
    setStartId(m_paths.value(name).constFirst());
}

int TfmNrWizard::nextId() const
{
    const QList<int> path = m_paths.value(m_activePath);
    const qsizetype at = path.indexOf(currentId());
    return at >= 0 && at + 1 < path.size() ? path.at(at + 1) : -1;
}

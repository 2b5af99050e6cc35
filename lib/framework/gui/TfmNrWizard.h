#pragma once

#include <QHash>
#include <QList>
#include <QWizard>
#include <QWizardPage>

// The framework's page wizard. Its pages are known by number; named paths
// list the pages a run walks, in order, and the active path decides where
// the wizard starts and where "Avanti" leads. The last page of the path
// carries the finish button, which is enabled while that page is complete.
class TfmNrWizard : public QWizard
{
    Q_OBJECT

public:
    // A page whose completeness its owner sets: the finish button of the
    // last page, "Avanti" of the others, follow it.
    class Page : public QWizardPage
    {
    public:
        using QWizardPage::QWizardPage;
        bool isComplete() const override { return m_complete; }
        void setComplete(bool complete);

    private:
        bool m_complete = true;
    };

    explicit TfmNrWizard(QWidget *parent = nullptr);

    void addPath(const QString &name, const QList<int> &pages);
    // The wizard starts on the first page of that path; set it before the
    // wizard is shown.
    void setActivePath(const QString &name);
    const QString &activePath() const { return m_activePath; }

    int nextId() const override;

private:
    QHash<QString, QList<int>> m_paths;
    QString m_activePath;
};

#pragma once

#include "Quadratura.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QSortFilterProxyModel>

#include <optional>

// The colour a level is written in: errors red, warnings amber, information blue.
QColor quadraturaLevelColour(FindingLevel level);

// The findings of a reconciliation as the rows of a grid, one column per
// item of a finding. Qt::DisplayRole gives the text shown, kSortRole what
// the column sorts by: amounts as numbers, periods by year and month.
class QuadraturaFindingsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        kLevel,
        kArea,
        kPeriod,
        kTaxCode,
        kPlace,
        kExpected,
        kFound,
        kDifference,
        kDaysLate,
        kText,
        kColumns
    };
    static constexpr int kSortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setFindings(QList<QuadraturaFinding> findings);
    const QList<QuadraturaFinding> &findings() const { return m_findings; }
    const QuadraturaFinding &finding(int row) const { return m_findings.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QuadraturaFinding> m_findings;
};

// The findings of one level, one area and one tax code, each left open
// when not chosen, sorted by the model's kSortRole.
class QuadraturaFindingsFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit QuadraturaFindingsFilter(QuadraturaFindingsModel *findings, QObject *parent = nullptr);

    void setLevel(std::optional<FindingLevel> level);
    void setArea(std::optional<QuadraturaArea> area);
    // Empty: every code.
    void setTaxCode(const QString &taxCode);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const QuadraturaFindingsModel *m_findings;
    std::optional<FindingLevel> m_level;
    std::optional<QuadraturaArea> m_area;
    QString m_taxCode;
};

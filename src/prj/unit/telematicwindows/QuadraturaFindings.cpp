#include "QuadraturaFindings.h"

#include "Conversions.h"

#include <QBrush>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

QString amountText(const std::optional<Decimal> &amount)
{
    return amount ? Conv::formatFloat(u"#,##0.00"_s, *amount) : QString();
}

// An absent amount sorts before every amount.
double amountKey(const std::optional<Decimal> &amount)
{
    return amount ? amount->toDouble() : std::numeric_limits<double>::lowest();
}

// "mm/yyyy" as yyyymm; the whole year (or a period not read) first.
int periodKey(const QString &period)
{
    const int month = period.section(u'/', 0, 0).toInt();
    const int year = period.section(u'/', 1, 1).toInt();
    return year * 100 + month;
}

} // namespace

QColor quadraturaLevelColour(FindingLevel level)
{
    switch (level) {
    case FindingLevel::Error:
        return QColor(0xb0, 0x1c, 0x1c);
    case FindingLevel::Warning:
        return QColor(0x9a, 0x5b, 0x00);
    case FindingLevel::Information:
        break;
    }
    return QColor(0x2f, 0x4f, 0x7f);
}

void QuadraturaFindingsModel::setFindings(QList<QuadraturaFinding> findings)
{
    beginResetModel();
    m_findings = std::move(findings);
    endResetModel();
}

int QuadraturaFindingsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_findings.size());
}

int QuadraturaFindingsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant QuadraturaFindingsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QuadraturaFinding &f = m_findings.at(index.row());
    const auto column = static_cast<Column>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case kLevel:
            return findingLevelLabel(f.level);
        case kArea:
            return quadraturaAreaLabel(f.area);
        case kPeriod:
            return f.period;
        case kTaxCode:
            return f.taxCode;
        case kPlace:
            return f.place;
        case kExpected:
            return amountText(f.expected);
        case kFound:
            return amountText(f.found);
        case kDifference:
            return amountText(f.difference());
        case kDaysLate:
            return f.daysLate > 0 ? QString::number(f.daysLate) : QString();
        case kText:
            return f.text;
        case kColumns:
            break;
        }
        break;
    case kSortRole:
        switch (column) {
        case kLevel:
            return static_cast<int>(f.level);
        case kArea:
            return static_cast<int>(f.area);
        case kPeriod:
            return periodKey(f.period);
        case kExpected:
            return amountKey(f.expected);
        case kFound:
            return amountKey(f.found);
        case kDifference:
            return amountKey(f.difference());
        case kDaysLate:
            return f.daysLate;
        default:
            return data(index, Qt::DisplayRole);
        }
    case Qt::TextAlignmentRole:
        if (column >= kExpected && column <= kDaysLate)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case Qt::ForegroundRole:
        if (column == kLevel)
            return QBrush(quadraturaLevelColour(f.level));
        break;
    case Qt::ToolTipRole:
        if (column == kText)
            return f.text;
        break;
    default:
        break;
    }
    return {};
}

QVariant QuadraturaFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList captions{u"Livello"_s,           u"Area"_s,       u"Periodo"_s, u"Codice tributo"_s,
                                      u"Regione/Comune"_s,    u"Atteso"_s,     u"Trovato"_s, u"Differenza"_s,
                                      u"Giorni di ritardo"_s, u"Descrizione"_s};
    return captions.value(section);
}

QuadraturaFindingsFilter::QuadraturaFindingsFilter(QuadraturaFindingsModel *findings, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_findings(findings)
{
    setSourceModel(findings);
    setSortRole(QuadraturaFindingsModel::kSortRole);
    setSortLocaleAware(true);
}

void QuadraturaFindingsFilter::setLevel(std::optional<FindingLevel> level)
{
    m_level = level;
    invalidateFilter();
}

void QuadraturaFindingsFilter::setArea(std::optional<QuadraturaArea> area)
{
    m_area = area;
    invalidateFilter();
}

void QuadraturaFindingsFilter::setTaxCode(const QString &taxCode)
{
    m_taxCode = taxCode;
    invalidateFilter();
}

bool QuadraturaFindingsFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const QuadraturaFinding &f = m_findings->finding(sourceRow);
    return (!m_level || f.level == *m_level) && (!m_area || f.area == *m_area)
           && (m_taxCode.isEmpty() || f.taxCode == m_taxCode);
}

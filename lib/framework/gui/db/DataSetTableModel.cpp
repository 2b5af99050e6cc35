#include "DataSetTableModel.h"

#include <QFont>

using namespace Qt::Literals::StringLiterals;

DataSetTableModel::DataSetTableModel(ClientDataSet *dataSet, QObject *parent)
    : QAbstractTableModel(parent)
    , m_dataSet(dataSet)
{
    m_dataSet->addObserver(this);
    collectFields();
}

DataSetTableModel::~DataSetTableModel()
{
    if (m_dataSet)
        m_dataSet->removeObserver(this);
}

void DataSetTableModel::dataSetDestroyed()
{
    beginResetModel();
    m_dataSet = nullptr;
    m_fields.clear();
    endResetModel();
}

void DataSetTableModel::setColumns(const QStringList &fieldNames, const QStringList &titles)
{
    beginResetModel();
    m_columns = fieldNames;
    m_titles = titles;
    collectFields();
    endResetModel();
}

void DataSetTableModel::collectFields()
{
    m_fields.clear();
    if (!m_dataSet->active())
        return;
    if (m_columns.isEmpty()) {
        for (int i = 0; i < m_dataSet->fieldCount(); ++i) {
            if (m_dataSet->field(i).visible())
                m_fields.append(&m_dataSet->field(i));
        }
        return;
    }
    for (const QString &name : std::as_const(m_columns)) {
        if (Field *f = m_dataSet->findField(name))
            m_fields.append(f);
    }
}

void DataSetTableModel::addDrawnColumn(const QString &title, std::function<QString(const ClientDataSet &)> text)
{
    beginResetModel();
    m_drawn.append({title, std::move(text)});
    endResetModel();
}

void DataSetTableModel::setPositionColumn(const QString &title)
{
    beginResetModel();
    m_positionTitle = title;
    endResetModel();
}

Field *DataSetTableModel::columnField(int column) const
{
    return m_fields.value(column - firstFieldColumn());
}

int DataSetTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataSet || !m_dataSet->active() ? 0 : m_dataSet->viewCount();
}

int DataSetTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : firstFieldColumn() + static_cast<int>(m_fields.size() + m_drawn.size());
}

QVariant DataSetTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    if (index.column() < firstFieldColumn()) {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
        return role == Qt::DisplayRole ? QVariant(index.row() + 1) : QVariant();
    }
    const qsizetype afterFields = firstFieldColumn() + m_fields.size();
    if (index.column() >= afterFields)
        return drawnData(m_drawn.at(index.column() - afterFields), index.row(), role);
    Field *f = columnField(index.column());
    if (!f)
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const RecordPeek peek(*m_dataSet, index.row() + 1);
    return f->displayText();
}

QVariant DataSetTableModel::drawnData(const DrawnColumn &column, int row, int role) const
{
    switch (role) {
    case Qt::DisplayRole: {
        const RecordPeek peek(*m_dataSet, row + 1);
        return column.text(*m_dataSet);
    }
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignCenter);
    default:
        return QVariant();
    }
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal && section < firstFieldColumn())
        return m_positionTitle;
    if (orientation == Qt::Horizontal && section >= firstFieldColumn() + m_fields.size())
        return m_drawn.value(section - firstFieldColumn() - m_fields.size()).title;
    if (orientation == Qt::Horizontal) {
        if (section - firstFieldColumn() < m_titles.size())
            return m_titles.at(section - firstFieldColumn());
        const Field *f = columnField(section);
        return f ? f->displayLabel() : QVariant();
    }
    if (section != m_dataSet->recNo() - 1)
        return QString();
    switch (m_dataSet->state()) {
    case DataSetState::Insert:
        return u"✱"_s;
    case DataSetState::Edit:
        return u"✎"_s;
    default:
        return u"▶"_s;
    }
}

void DataSetTableModel::dataSetChanged()
{
    beginResetModel();
    collectFields();
    endResetModel();
    emit currentRecordChanged();
}

void DataSetTableModel::recordChanged(const Field *field)
{
    Q_UNUSED(field)
    const int row = m_dataSet->recNo() - 1;
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DataSetTableModel::cursorMoved()
{
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    emit currentRecordChanged();
}

void DataSetTableModel::stateChanged()
{
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

#include "ClientDataSet.h"

#include "AtomicFile.h"
#include "CdsPacket.h"
#include "Exceptions.h"
#include "FilterExpression.h"

#include <QFile>

#include <algorithm>
#include <atomic>

using namespace Qt::Literals::StringLiterals;

namespace {

// Natural-order numbers are spaced so that a record inserted between two
// others usually finds a free number without renumbering the table.
constexpr std::int64_t kSeqGap = 1024;

QStringList splitNames(const QString &names)
{
    QStringList out;
    for (const QString &part : names.split(u';')) {
        const QString t = part.trimmed();
        if (!t.isEmpty())
            out.append(t);
    }
    return out;
}

} // namespace

// --- DeltaRecord -------------------------------------------------------------

int DeltaRecord::fieldCount() const
{
    return m_dataSet->fieldCount();
}

int DeltaRecord::indexOf(const QString &fieldName) const
{
    const Field *f = m_dataSet->findField(fieldName);
    return f ? f->index() : -1;
}

QVariant DeltaRecord::oldValue(int field) const
{
    if (m_kind == UpdateKind::Insert)
        return QVariant();
    const auto it = m_dataSet->m_original.find(m_row);
    if (it != m_dataSet->m_original.end())
        return it->second[static_cast<std::size_t>(field)];
    return m_dataSet->m_store.variantAt(field, m_row);
}

bool DeltaRecord::isAssigned(int field) const
{
    switch (m_kind) {
    case UpdateKind::Insert:
        return true;
    case UpdateKind::Delete:
        return false;
    case UpdateKind::Modify:
        break;
    }
    const auto it = m_dataSet->m_original.find(m_row);
    if (it == m_dataSet->m_original.end())
        return false;
    return !m_dataSet->m_store.sameValue(field, m_row, it->second[static_cast<std::size_t>(field)]);
}

QVariant DeltaRecord::newValue(int field) const
{
    return isAssigned(field) ? m_dataSet->m_store.variantAt(field, m_row) : QVariant();
}

void DeltaRecord::setValue(int field, const QVariant &value)
{
    m_dataSet->field(field).storeVariant(m_row, value);
}

// --- ClientDataSet: structure, open, close -------------------------------------

ClientDataSet::ClientDataSet(QString name)
    : m_name(std::move(name))
{
}

ClientDataSet::~ClientDataSet()
{
    // A copy: an observer may remove itself while told.
    const std::vector<DataSetObserver *> observers = m_observers;
    for (DataSetObserver *observer : observers)
        observer->dataSetDestroyed();
}

FieldDefs &ClientDataSet::fieldDefs()
{
    return m_defs;
}

Field &ClientDataSet::fieldByName(const QString &name) const
{
    if (Field *f = findField(name))
        return *f;
    throw EDatabaseError(u"Campo «%1» non trovato nel dataset %2"_s.arg(name, m_name));
}

Field *ClientDataSet::findField(const QString &name) const
{
    auto it = m_fieldByName.constFind(name);
    if (it == m_fieldByName.constEnd()) {
        it = m_fieldByFoldedName.constFind(name.toCaseFolded());
        if (it == m_fieldByFoldedName.constEnd())
            return nullptr;
    }
    return m_fields[static_cast<std::size_t>(*it)].get();
}

void ClientDataSet::rebuildFields()
{
    std::vector<std::unique_ptr<Field>> fields;
    fields.reserve(static_cast<std::size_t>(m_defs.count()));
    for (qsizetype i = 0; i < m_defs.count(); ++i) {
        const FieldDef &def = m_defs.at(i);
        std::unique_ptr<Field> kept;
        for (auto &old : m_fields) {
            if (old && old->fieldName().compare(def.name, Qt::CaseInsensitive) == 0 && old->dataType() == def.type) {
                kept = std::move(old);
                break;
            }
        }
        if (kept) {
            kept->m_name = def.name;
            kept->m_size = def.size;
            kept->m_index = static_cast<int>(i);
            kept->m_required = def.required;
        } else {
            kept.reset(new Field(this, def, static_cast<int>(i)));
        }
        fields.push_back(std::move(kept));
    }
    m_fields = std::move(fields);
    static std::atomic<std::uint64_t> made{0};
    m_fieldsVersion = ++made;
    m_fieldByName.clear();
    m_fieldByFoldedName.clear();
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const QString &name = m_fields[i]->fieldName();
        const QString folded = name.toCaseFolded();
        if (!m_fieldByFoldedName.contains(folded))
            m_fieldByFoldedName.insert(folded, static_cast<int>(i));
        if (!m_fieldByName.contains(name))
            m_fieldByName.insert(name, m_fieldByFoldedName.value(folded));
    }
}

void ClientDataSet::createDataSet()
{
    if (m_defs.isEmpty())
        throw EDatabaseError(u"Il dataset %1 non ha campi"_s.arg(m_name));
    close();
    fire(m_events.beforeOpen);
    rebuildFields();
    m_store.reset(m_defs);
    openWithRows();
}

void ClientDataSet::open()
{
    if (!active())
        createDataSet();
}

void ClientDataSet::afterStructureLoaded()
{
    rebuildFields();
    openWithRows();
}

void ClientDataSet::openWithRows()
{
    m_original.clear();
    m_changeCounter = 0;
    m_seqOutOfRowOrder = false;
    m_lastSeq = 0;
    for (int r = 0; r < m_store.rowCount(); ++r) {
        m_lastSeq += kSeqGap;
        m_store.info(r).seq = m_lastSeq;
    }
    m_modified = false;
    m_editRow = -1;
    m_editBackup.clear();

    // Order and filter are checked against the new structure before the
    // dataset counts as open, so that a bad one leaves it closed.
    std::vector<int> indexFields;
    for (const QString &n : splitNames(m_indexNames)) {
        const Field *f = findField(n);
        if (!f) {
            m_store.clearRows();
            throw EDatabaseError(u"Campo «%1» dell'ordinamento non trovato nel dataset %2"_s.arg(n, m_name));
        }
        indexFields.push_back(f->index());
    }
    std::unique_ptr<FilterExpression> expr;
    if (!m_filterText.trimmed().isEmpty()) {
        try {
            expr = std::make_unique<FilterExpression>(*this, m_filterText);
        } catch (...) {
            m_store.clearRows();
            throw;
        }
    }
    m_indexFields = std::move(indexFields);
    m_filterExpr = std::move(expr);

    m_state = DataSetState::Browse;
    rebuildView(-1);
    m_cursor = m_view.empty() ? -1 : 0;
    resetCursorFlags();
    notifyDataSetChanged();
    notifyStateChanged();
    fire(m_events.afterOpen);
    fire(m_events.afterScroll);
}

void ClientDataSet::close()
{
    if (!active())
        return;
    fire(m_events.beforeClose);
    m_store.clearRows();
    m_view.clear();
    m_cursor = -1;
    m_original.clear();
    m_editRow = -1;
    m_editBackup.clear();
    m_modified = false;
    m_filterExpr.reset();
    m_state = DataSetState::Inactive;
    resetCursorFlags();
    notifyDataSetChanged();
    notifyStateChanged();
    fire(m_events.afterClose);
}

void ClientDataSet::emptyDataSet()
{
    checkActive();
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        cancel();
    m_store.clearRows();
    m_view.clear();
    m_cursor = -1;
    m_original.clear();
    m_changeCounter = 0;
    m_lastSeq = 0;
    m_seqOutOfRowOrder = false;
    resetCursorFlags();
    notifyDataSetChanged();
}

void ClientDataSet::checkActive() const
{
    if (!active())
        throw EDatabaseError(u"Operazione non consentita: il dataset %1 è chiuso"_s.arg(m_name));
}

void ClientDataSet::checkBrowsing(const char16_t *operation) const
{
    if (m_state != DataSetState::Browse)
        throw EDatabaseError(
            u"Impossibile %1 mentre il dataset %2 è in modifica"_s.arg(QString::fromUtf16(operation), m_name));
}

void ClientDataSet::resetCursorFlags()
{
    m_bof = true;
    m_eof = m_view.empty();
}

int ClientDataSet::currentRow() const
{
    if (m_cursor < 0 || m_cursor >= static_cast<int>(m_view.size()))
        return -1;
    return m_view[static_cast<std::size_t>(m_cursor)];
}

void ClientDataSet::setState(DataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    notifyStateChanged();
}

// --- Cursor ----------------------------------------------------------------------

void ClientDataSet::first()
{
    checkActive();
    checkBrowseMode();
    fire(m_events.beforeScroll);
    m_cursor = m_view.empty() ? -1 : 0;
    resetCursorFlags();
    notifyCursorMoved();
    fire(m_events.afterScroll);
}

void ClientDataSet::last()
{
    checkActive();
    checkBrowseMode();
    fire(m_events.beforeScroll);
    m_cursor = static_cast<int>(m_view.size()) - 1;
    m_eof = true;
    m_bof = m_view.empty();
    notifyCursorMoved();
    fire(m_events.afterScroll);
}

void ClientDataSet::next()
{
    moveBy(1);
}

void ClientDataSet::prior()
{
    moveBy(-1);
}

int ClientDataSet::moveBy(int distance)
{
    checkActive();
    checkBrowseMode();
    if (!((distance > 0 && !m_eof) || (distance < 0 && !m_bof)))
        return 0;
    fire(m_events.beforeScroll);
    const int n = static_cast<int>(m_view.size());
    m_bof = false;
    m_eof = false;
    int target = m_cursor + distance;
    if (target >= n) {
        target = n - 1;
        m_eof = true;
    } else if (target < 0) {
        target = n == 0 ? -1 : 0;
        m_bof = true;
    }
    if (n == 0) {
        m_bof = m_eof = true;
        target = -1;
    }
    const int moved = target - m_cursor;
    m_cursor = target;
    if (moved != 0)
        notifyCursorMoved();
    fire(m_events.afterScroll);
    return moved;
}

int ClientDataSet::recNo() const
{
    return m_cursor < 0 ? 0 : m_cursor + 1;
}

void ClientDataSet::setRecNo(int recNo)
{
    checkActive();
    checkBrowseMode();
    if (m_view.empty())
        return;
    scrollTo(std::clamp(recNo, 1, static_cast<int>(m_view.size())) - 1, true);
}

int ClientDataSet::recordCount() const
{
    if (!active())
        return 0;
    const int n = static_cast<int>(m_view.size());
    return m_state == DataSetState::Insert ? n - 1 : n;
}

void ClientDataSet::scrollTo(int viewIndex, bool fireEvents)
{
    if (fireEvents)
        fire(m_events.beforeScroll);
    m_cursor = viewIndex;
    m_bof = false;
    m_eof = false;
    notifyCursorMoved();
    if (fireEvents)
        fire(m_events.afterScroll);
}

// --- Editing ---------------------------------------------------------------------

std::int64_t ClientDataSet::seqForInsert() const
{
    const int row = currentRow();
    if (row < 0 || !m_indexFields.empty())
        return m_lastSeq + kSeqGap;
    const std::int64_t at = m_store.info(row).seq;
    std::int64_t before = at - 2 * kSeqGap;
    for (int r = 0; r < m_store.rowCount(); ++r) {
        const auto &info = m_store.info(r);
        if (!info.discarded && info.seq < at && info.seq > before)
            before = info.seq;
    }
    if (at - before < 2)
        return 0;
    return before + (at - before) / 2;
}

void ClientDataSet::renumberSeq()
{
    std::vector<int> rows(static_cast<std::size_t>(m_store.rowCount()));
    for (int r = 0; r < m_store.rowCount(); ++r)
        rows[static_cast<std::size_t>(r)] = r;
    std::stable_sort(rows.begin(), rows.end(),
                     [this](int a, int b) { return m_store.info(a).seq < m_store.info(b).seq; });
    m_lastSeq = 0;
    for (int r : rows) {
        m_lastSeq += kSeqGap;
        m_store.info(r).seq = m_lastSeq;
    }
}

void ClientDataSet::append()
{
    checkActive();
    checkBrowseMode();
    fire(m_events.beforeInsert);
    fire(m_events.beforeScroll);
    m_lastSeq += kSeqGap;
    const int row = m_store.appendRow(m_lastSeq);
    m_view.push_back(row);
    m_cursor = static_cast<int>(m_view.size()) - 1;
    m_editRow = row;
    m_bof = m_eof = false;
    setState(DataSetState::Insert);
    try {
        fire(m_events.onNewRecord);
    } catch (...) {
        cancel();
        throw;
    }
    m_modified = false;
    notifyDataSetChanged();
    fire(m_events.afterInsert);
    fire(m_events.afterScroll);
}

void ClientDataSet::insert()
{
    checkActive();
    checkBrowseMode();
    if (currentRow() < 0) {
        append();
        return;
    }
    fire(m_events.beforeInsert);
    fire(m_events.beforeScroll);
    std::int64_t seq = seqForInsert();
    if (seq == 0) {
        renumberSeq();
        seq = seqForInsert();
    }
    const int row = m_store.appendRow(seq);
    m_lastSeq = std::max(m_lastSeq, seq);
    m_seqOutOfRowOrder = true;
    m_view.insert(m_view.begin() + m_cursor, row);
    m_editRow = row;
    m_bof = m_eof = false;
    setState(DataSetState::Insert);
    try {
        fire(m_events.onNewRecord);
    } catch (...) {
        cancel();
        throw;
    }
    m_modified = false;
    notifyDataSetChanged();
    fire(m_events.afterInsert);
    fire(m_events.afterScroll);
}

void ClientDataSet::edit()
{
    checkActive();
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        return;
    if (recordCount() == 0) {
        insert();
        return;
    }
    fire(m_events.beforeEdit);
    m_editRow = currentRow();
    m_editBackup = m_store.rowValues(m_editRow);
    m_modified = false;
    setState(DataSetState::Edit);
    fire(m_events.afterEdit);
}

void ClientDataSet::post()
{
    checkActive();
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        return;
    fire(m_events.beforePost);
    for (const auto &f : m_fields) {
        if (f->required() && m_store.isNull(f->index(), m_editRow))
            throw EDatabaseError(u"Il campo «%1» deve avere un valore"_s.arg(f->displayLabel()));
    }
    const int row = m_editRow;
    auto &info = m_store.info(row);
    if (m_state == DataSetState::Insert) {
        markChanged(row, UpdateStatus::Inserted);
    } else if (m_modified) {
        if (info.status == UpdateStatus::Unmodified) {
            m_original.emplace(row, std::move(m_editBackup));
            markChanged(row, UpdateStatus::Modified);
        }
    }
    m_editBackup.clear();
    m_editRow = -1;
    m_modified = false;
    m_state = DataSetState::Browse;
    placeRowInView(row);
    notifyStateChanged();
    notifyDataSetChanged();
    fire(m_events.afterPost);
}

void ClientDataSet::cancel()
{
    checkActive();
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        return;
    fire(m_events.beforeCancel);
    const int row = m_editRow;
    if (m_state == DataSetState::Insert) {
        const auto pos = findInView(row);
        const int at = static_cast<int>(pos - m_view.begin());
        if (pos != m_view.end())
            m_view.erase(pos);
        // A new record is always the last row of the store.
        m_store.popRow();
        m_cursor = std::min(at, static_cast<int>(m_view.size()) - 1);
        if (m_view.empty())
            resetCursorFlags();
    } else {
        m_store.setRowValues(row, m_editBackup);
    }
    m_editBackup.clear();
    m_editRow = -1;
    m_modified = false;
    m_state = DataSetState::Browse;
    notifyStateChanged();
    notifyDataSetChanged();
    fire(m_events.afterCancel);
}

void ClientDataSet::deleteRecord()
{
    checkActive();
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (recordCount() == 0)
        throw EDatabaseError(u"Impossibile cancellare: il dataset %1 è vuoto"_s.arg(m_name));
    fire(m_events.beforeDelete);
    fire(m_events.beforeScroll);
    if (m_state == DataSetState::Edit) {
        m_store.setRowValues(m_editRow, m_editBackup);
        m_editBackup.clear();
        m_editRow = -1;
        m_modified = false;
    }
    const int row = currentRow();
    auto &info = m_store.info(row);
    if (info.status == UpdateStatus::Inserted)
        info.discarded = true;
    else
        markChanged(row, UpdateStatus::Deleted);
    m_view.erase(m_view.begin() + m_cursor);
    m_cursor = std::min(m_cursor, static_cast<int>(m_view.size()) - 1);
    if (m_view.empty())
        resetCursorFlags();
    else
        m_bof = m_eof = false;
    setState(DataSetState::Browse);
    notifyDataSetChanged();
    fire(m_events.afterDelete);
    fire(m_events.afterScroll);
}

void ClientDataSet::checkBrowseMode()
{
    checkActive();
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void ClientDataSet::markChanged(int row, UpdateStatus status)
{
    auto &info = m_store.info(row);
    if (info.changeSerial == 0)
        info.changeSerial = ++m_changeCounter;
    info.status = status;
}

// --- Change log ----------------------------------------------------------------------

int ClientDataSet::changeCount() const
{
    int n = 0;
    for (int r = 0; r < m_store.rowCount(); ++r) {
        const auto &info = m_store.info(r);
        if (!info.discarded && info.status != UpdateStatus::Unmodified)
            ++n;
    }
    return n;
}

void ClientDataSet::compactStore()
{
    std::vector<int> keep;
    keep.reserve(static_cast<std::size_t>(m_store.rowCount()));
    for (int r = 0; r < m_store.rowCount(); ++r) {
        if (!m_store.info(r).discarded)
            keep.push_back(r);
    }
    // Compacting moves every column of every row after the first one
    // dropped: discarded rows wait until they are a quarter of the store, so
    // that replacing a few records among thousands at every save does not
    // move them all each time.
    const auto dropped = static_cast<std::size_t>(m_store.rowCount()) - keep.size();
    if (dropped == 0 || dropped * 4 < static_cast<std::size_t>(m_store.rowCount()))
        return;
    const std::vector<int> remap = m_store.compact(keep);
    std::unordered_map<int, std::vector<QVariant>> original;
    for (auto &[row, values] : m_original) {
        const int to = remap[static_cast<std::size_t>(row)];
        if (to >= 0)
            original.emplace(to, std::move(values));
    }
    m_original = std::move(original);
    std::vector<int> view;
    view.reserve(m_view.size());
    for (int row : m_view) {
        const int to = remap[static_cast<std::size_t>(row)];
        if (to >= 0)
            view.push_back(to);
    }
    m_view = std::move(view);
}

void ClientDataSet::mergeChangeLog()
{
    checkActive();
    checkBrowseMode();
    for (int r = 0; r < m_store.rowCount(); ++r) {
        auto &info = m_store.info(r);
        if (info.status == UpdateStatus::Deleted)
            info.discarded = true;
        info.status = UpdateStatus::Unmodified;
        info.changeSerial = 0;
    }
    m_original.clear();
    m_changeCounter = 0;
    compactStore();
}

void ClientDataSet::cancelUpdates()
{
    checkActive();
    cancel();
    const int keep = currentRow();
    const std::int64_t keepUid = keep >= 0 ? m_store.info(keep).uid : 0;
    for (int r = 0; r < m_store.rowCount(); ++r) {
        auto &info = m_store.info(r);
        if (info.status == UpdateStatus::Inserted)
            info.discarded = true;
        if (const auto it = m_original.find(r); it != m_original.end())
            m_store.setRowValues(r, it->second);
        info.status = UpdateStatus::Unmodified;
        info.changeSerial = 0;
    }
    m_original.clear();
    m_changeCounter = 0;
    compactStore();
    rebuildView(keepUid > 0 ? m_store.rowOfUid(keepUid) : -1);
    notifyDataSetChanged();
}

void ClientDataSet::applyUpdates(const std::function<void(DeltaRecord &)> &apply)
{
    checkActive();
    checkBrowseMode();
    std::vector<int> rows;
    for (int r = 0; r < m_store.rowCount(); ++r) {
        const auto &info = m_store.info(r);
        if (!info.discarded && info.status != UpdateStatus::Unmodified)
            rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end(),
              [this](int a, int b) { return m_store.info(a).changeSerial < m_store.info(b).changeSerial; });
    for (int row : rows) {
        UpdateKind kind = UpdateKind::Modify;
        if (m_store.info(row).status == UpdateStatus::Inserted)
            kind = UpdateKind::Insert;
        else if (m_store.info(row).status == UpdateStatus::Deleted)
            kind = UpdateKind::Delete;
        DeltaRecord delta(this, row, kind);
        apply(delta);
    }
    const int keep = currentRow();
    mergeChangeLog();
    if (!m_indexFields.empty() || (m_filtered && m_filterExpr)) {
        // Values written back by the provider may move records.
        rebuildView(keep >= 0 && keep < m_store.rowCount() ? keep : -1);
    }
    notifyDataSetChanged();
}

// --- Order and filter ------------------------------------------------------------------

std::vector<int> ClientDataSet::naturalRows() const
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(m_store.rowCount()));
    for (int r = 0; r < m_store.rowCount(); ++r) {
        const auto &info = m_store.info(r);
        if (!info.discarded && info.status != UpdateStatus::Deleted)
            rows.push_back(r);
    }
    if (m_seqOutOfRowOrder) {
        std::stable_sort(rows.begin(), rows.end(),
                         [this](int a, int b) { return m_store.info(a).seq < m_store.info(b).seq; });
    }
    return rows;
}

bool ClientDataSet::rowPasses(int row) const
{
    return !m_filtered || !m_filterExpr || m_filterExpr->matches(row);
}

bool ClientDataSet::viewLess(int rowA, int rowB) const
{
    for (int f : m_indexFields) {
        const int c = m_store.compare(f, rowA, rowB);
        if (c != 0)
            return c < 0;
    }
    return m_store.info(rowA).seq < m_store.info(rowB).seq;
}

void ClientDataSet::sortView()
{
    if (!m_indexFields.empty())
        m_view = m_store.sortedRows(m_view, m_indexFields);
}

void ClientDataSet::rebuildView(int keepRow)
{
    std::vector<int> rows = naturalRows();
    if (m_filtered && m_filterExpr) {
        std::vector<int> passing;
        passing.reserve(rows.size());
        for (int r : rows) {
            if (m_filterExpr->matches(r))
                passing.push_back(r);
        }
        rows.swap(passing);
    }
    m_view = std::move(rows);
    sortView();
    m_cursor = -1;
    if (keepRow >= 0) {
        const auto it = std::find(m_view.begin(), m_view.end(), keepRow);
        if (it != m_view.end())
            m_cursor = static_cast<int>(it - m_view.begin());
    }
    if (m_cursor < 0) {
        m_cursor = m_view.empty() ? -1 : 0;
        resetCursorFlags();
    } else {
        m_bof = m_eof = false;
    }
}

// Where a row stands in the view: usually at the cursor, so the search
// only runs when it does not.
std::vector<int>::iterator ClientDataSet::findInView(int row)
{
    if (m_cursor >= 0 && m_cursor < static_cast<int>(m_view.size())
        && m_view[static_cast<std::size_t>(m_cursor)] == row)
        return m_view.begin() + m_cursor;
    return std::find(m_view.begin(), m_view.end(), row);
}

void ClientDataSet::placeRowInView(int row)
{
    const auto it = findInView(row);
    int at = it == m_view.end() ? m_cursor : static_cast<int>(it - m_view.begin());
    // Unordered, unfiltered, still at its place: nothing moves.
    if (it != m_view.end() && m_indexFields.empty() && rowPasses(row)) {
        m_cursor = at;
        m_bof = m_eof = false;
        return;
    }
    if (it != m_view.end())
        m_view.erase(it);
    if (!rowPasses(row)) {
        m_cursor = std::min(at, static_cast<int>(m_view.size()) - 1);
        if (m_view.empty())
            resetCursorFlags();
        return;
    }
    if (!m_indexFields.empty()) {
        const auto pos =
            std::lower_bound(m_view.begin(), m_view.end(), row, [this](int a, int b) { return viewLess(a, b); });
        at = static_cast<int>(pos - m_view.begin());
    }
    at = std::clamp(at, 0, static_cast<int>(m_view.size()));
    m_view.insert(m_view.begin() + at, row);
    m_cursor = at;
    m_bof = m_eof = false;
}

void ClientDataSet::setIndexFieldNames(const QString &names)
{
    if (!active()) {
        m_indexNames = names;
        return;
    }
    std::vector<int> fields;
    for (const QString &n : splitNames(names)) {
        const Field *f = findField(n);
        if (!f)
            throw EDatabaseError(u"Campo «%1» dell'ordinamento non trovato nel dataset %2"_s.arg(n, m_name));
        fields.push_back(f->index());
    }
    checkBrowseMode();
    m_indexNames = names;
    m_indexFields = std::move(fields);
    rebuildView(currentRow());
    notifyDataSetChanged();
}

void ClientDataSet::setFilter(const QString &filter)
{
    if (!active()) {
        m_filterText = filter;
        return;
    }
    std::unique_ptr<FilterExpression> expr;
    if (!filter.trimmed().isEmpty())
        expr = std::make_unique<FilterExpression>(*this, filter);
    checkBrowseMode();
    m_filterText = filter;
    m_filterExpr = std::move(expr);
    if (m_filtered) {
        rebuildView(currentRow());
        notifyDataSetChanged();
    }
}

void ClientDataSet::setFiltered(bool filtered)
{
    if (m_filtered == filtered)
        return;
    if (!active()) {
        m_filtered = filtered;
        return;
    }
    checkBrowseMode();
    m_filtered = filtered;
    rebuildView(currentRow());
    notifyDataSetChanged();
}

// --- Locate and bookmarks ------------------------------------------------------------

bool ClientDataSet::locate(const QString &fieldName, const QVariant &value, LocateOptions options)
{
    return locate(fieldName, QVariantList{value}, options);
}

bool ClientDataSet::locate(const QString &fieldNames, const QVariantList &values, LocateOptions options)
{
    checkActive();
    const QStringList names = splitNames(fieldNames);
    if (names.size() != values.size())
        throw EDatabaseError(u"Ricerca su %1: %2 campi e %3 valori"_s.arg(m_name).arg(names.size()).arg(values.size()));
    checkBrowseMode();

    struct Key
    {
        int field = 0;
        Storage storage = Storage::Text;
        bool isNull = true;
        std::int64_t i = 0;
        double f = 0;
        QString text;
        QByteArray bytes;
    };
    std::vector<Key> keys;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const Field &fld = fieldByName(names[k]);
        Key key;
        key.field = fld.index();
        key.storage = m_store.storage(fld.index());
        key.isNull = !values[k].isValid() || values[k].isNull();
        if (!key.isNull) {
            QVariant canonical;
            try {
                canonical = fld.canonical(values[k]);
            } catch (const EConvertError &) {
                return false; // a value the field cannot hold matches nothing
            }
            key.isNull = !canonical.isValid();
            switch (key.storage) {
            case Storage::Text:
                key.text =
                    values[k].metaType().id() == QMetaType::QString ? values[k].toString() : canonical.toString();
                break;
            case Storage::Float:
                key.f = canonical.toDouble();
                break;
            case Storage::Bytes:
                key.bytes = canonical.toByteArray();
                break;
            case Storage::Int:
                if (fld.dataType() == FieldType::Decimal)
                    key.i = canonical.value<Decimal>().units();
                else if (fld.dataType() == FieldType::Date)
                    key.i = canonical.toDate().toJulianDay();
                else if (fld.dataType() == FieldType::DateTime)
                    key.i = RecordStore::dateTimeToInt(canonical.toDateTime());
                else if (fld.dataType() == FieldType::Boolean)
                    key.i = canonical.toBool() ? 1 : 0;
                else
                    key.i = canonical.toLongLong();
                break;
            }
        }
        keys.push_back(std::move(key));
    }
    const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    auto matches = [&](int row) {
        for (const Key &k : keys) {
            const bool null = m_store.isNull(k.field, row);
            if (k.isNull) {
                if (!null)
                    return false;
                continue;
            }
            if (null) {
                // An empty text searched partially matches a null text.
                if (!(k.storage == Storage::Text && options.partialKey && k.text.isEmpty()))
                    return false;
                continue;
            }
            switch (k.storage) {
            case Storage::Text: {
                const QString &v = m_store.textAt(k.field, row);
                if (options.partialKey ? !v.startsWith(k.text, cs) : v.compare(k.text, cs) != 0)
                    return false;
                break;
            }
            case Storage::Int:
                if (m_store.intAt(k.field, row) != k.i)
                    return false;
                break;
            case Storage::Float:
                if (m_store.floatAt(k.field, row) != k.f)
                    return false;
                break;
            case Storage::Bytes:
                if (m_store.bytesAt(k.field, row) != k.bytes)
                    return false;
                break;
            }
        }
        return true;
    };
    for (std::size_t i = 0; i < m_view.size(); ++i) {
        if (matches(m_view[i])) {
            scrollTo(static_cast<int>(i), true);
            return true;
        }
    }
    return false;
}

Bookmark ClientDataSet::bookmark() const
{
    const int row = currentRow();
    return row < 0 ? Bookmark{} : Bookmark{m_store.info(row).uid};
}

Bookmark ClientDataSet::bookmarkAt(int recNo) const
{
    if (recNo < 1 || recNo > viewCount())
        return Bookmark{};
    return Bookmark{m_store.info(m_view[static_cast<std::size_t>(recNo - 1)]).uid};
}

bool ClientDataSet::bookmarkValid(const Bookmark &bookmark) const
{
    if (!active() || !bookmark.isValid())
        return false;
    const int row = m_store.rowOfUid(bookmark.uid);
    return row >= 0 && std::find(m_view.begin(), m_view.end(), row) != m_view.end();
}

void ClientDataSet::gotoBookmark(const Bookmark &bookmark)
{
    checkActive();
    checkBrowseMode();
    const int row = bookmark.isValid() ? m_store.rowOfUid(bookmark.uid) : -1;
    const auto it = row < 0 ? m_view.end() : std::find(m_view.begin(), m_view.end(), row);
    if (it == m_view.end())
        throw EDatabaseError(u"Record non trovato nel dataset %1"_s.arg(m_name));
    scrollTo(static_cast<int>(it - m_view.begin()), true);
}

// --- Events and views -------------------------------------------------------------------

DataSetEvents ClientDataSet::takeEvents()
{
    DataSetEvents taken = std::move(m_events);
    m_events = DataSetEvents();
    return taken;
}

void ClientDataSet::addObserver(DataSetObserver *observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void ClientDataSet::removeObserver(DataSetObserver *observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void ClientDataSet::disableControls()
{
    ++m_disableCount;
}

void ClientDataSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        notifyDataSetChanged();
        notifyStateChanged();
    }
}

void ClientDataSet::notifyDataSetChanged()
{
    if (m_disableCount > 0)
        return;
    for (auto *o : std::vector<DataSetObserver *>(m_observers))
        o->dataSetChanged();
}

void ClientDataSet::notifyRecordChanged(const Field *field)
{
    if (m_disableCount > 0)
        return;
    for (auto *o : std::vector<DataSetObserver *>(m_observers))
        o->recordChanged(field);
}

void ClientDataSet::notifyCursorMoved()
{
    if (m_disableCount > 0)
        return;
    for (auto *o : std::vector<DataSetObserver *>(m_observers))
        o->cursorMoved();
}

void ClientDataSet::notifyStateChanged()
{
    if (m_disableCount > 0)
        return;
    for (auto *o : std::vector<DataSetObserver *>(m_observers))
        o->stateChanged();
}

void ClientDataSet::fire(const DataSetEvents::Handler &handler)
{
    if (handler)
        handler(*this);
}

// --- Packed files -------------------------------------------------------------------------

QByteArray ClientDataSet::saveToBytes()
{
    if (active())
        checkBrowseMode();
    return CdsPacket::write(*this);
}

void ClientDataSet::saveToFile(const QString &path)
{
    AtomicFile::save(path, saveToBytes());
}

void ClientDataSet::loadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(u"Impossibile aprire il file «%1»: %2"_s.arg(path, file.errorString()));
    loadFromBytes(file.readAll(), path);
}

void ClientDataSet::loadFromBytes(const QByteArray &data, const QString &source)
{
    CdsPacket::Contents contents = CdsPacket::read(data, source);
    close();
    fire(m_events.beforeOpen);
    m_defs = std::move(contents.defs);
    m_store = std::move(contents.store);
    afterStructureLoaded();
}

RecordPeek::RecordPeek(const ClientDataSet &dataSet, int recNo)
    : m_dataSet(dataSet)
    , m_previous(dataSet.m_peekRow)
{
    if (recNo < 1 || recNo > dataSet.viewCount())
        throw EDatabaseError(u"Record %1 fuori dal dataset %2"_s.arg(recNo).arg(dataSet.name()));
    m_dataSet.m_peekRow = dataSet.m_view[static_cast<std::size_t>(recNo - 1)];
}

RecordPeek::~RecordPeek()
{
    m_dataSet.m_peekRow = m_previous;
}

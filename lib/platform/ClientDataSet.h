#pragma once

#include "Field.h"
#include "FieldDefs.h"
#include "RecordStore.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class FilterExpression;

enum class DataSetState { Inactive, Browse, Edit, Insert };
enum class UpdateKind { Modify, Insert, Delete };

// A place in a dataset that stays valid while the record exists, whatever
// the order or the filter.
struct Bookmark
{
    std::int64_t uid = 0;
    bool isValid() const { return uid > 0; }
    bool operator==(const Bookmark &) const = default;
};

struct LocateOptions
{
    bool caseInsensitive = false;
    bool partialKey = false; // a text value matches the beginning of the field
};

// Handlers of a dataset's events. A "before" handler vetoes the operation
// by throwing (EAbort for a silent veto); the dataset is left as it was.
struct DataSetEvents
{
    using Handler = std::function<void(ClientDataSet &)>;
    Handler beforeOpen, afterOpen;
    Handler beforeClose, afterClose;
    Handler beforeInsert, afterInsert;
    Handler beforeEdit, afterEdit;
    Handler beforePost, afterPost;
    Handler beforeCancel, afterCancel;
    Handler beforeDelete, afterDelete;
    Handler beforeScroll, afterScroll;
    Handler onNewRecord;
};

// A view bound to a dataset (a grid, an edit). Not told while the dataset's
// controls are disabled; told dataSetChanged() when they are enabled again.
class DataSetObserver
{
public:
    virtual ~DataSetObserver() = default;
    // Records added, removed or reordered, the dataset opened or closed.
    virtual void dataSetChanged() = 0;
    // A value of the current record changed; `field` is null when several did.
    virtual void recordChanged(const Field *field) = 0;
    // The cursor moved to another record.
    virtual void cursorMoved() = 0;
    virtual void stateChanged() = 0;
    // The dataset is being destroyed: forget it (a grid may outlive it
    // while its window tears down).
    virtual void dataSetDestroyed() = 0;
};

// One change of the change log as a provider applies it.
class DeltaRecord
{
public:
    UpdateKind kind() const { return m_kind; }
    const ClientDataSet &dataSet() const { return *m_dataSet; }
    int fieldCount() const;
    // -1 when there is no field of that name (case is ignored).
    int indexOf(const QString &fieldName) const;
    // The value before the changes; null (an invalid variant) for inserts.
    QVariant oldValue(int field) const;
    // Whether a new value was given: a changed field of a modified record,
    // every field of an inserted record, no field of a deleted record.
    bool isAssigned(int field) const;
    // The new value; an invalid variant when it is null or not assigned.
    QVariant newValue(int field) const;
    // Writes a value back into the dataset's record (a key given out by the
    // provider); it stays after the log is merged.
    void setValue(int field, const QVariant &value);

private:
    friend class ClientDataSet;
    DeltaRecord(ClientDataSet *dataSet, int row, UpdateKind kind)
        : m_dataSet(dataSet)
        , m_row(row)
        , m_kind(kind)
    {
    }

    ClientDataSet *m_dataSet;
    int m_row;
    UpdateKind m_kind;
};

// The in-memory table in which every table, reference table and working file
// of the program is handled: typed fields, a cursor with browse, edit and
// insert states, events, a change log with original and current values,
// ordering by index fields, filter expressions, locate, bookmarks, and a
// packed file format of its own.
class ClientDataSet
{
public:
    explicit ClientDataSet(QString name = QString());
    ~ClientDataSet();
    ClientDataSet(const ClientDataSet &) = delete;
    ClientDataSet &operator=(const ClientDataSet &) = delete;

    // The component name ("cdsPrSt"), used in messages and by lookups.
    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    // --- Structure -------------------------------------------------------
    // The definitions may change only while the dataset is closed.
    FieldDefs &fieldDefs();
    const FieldDefs &fieldDefs() const { return m_defs; }
    // Opens the dataset empty, with the fields of fieldDefs().
    void createDataSet();
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    Field &field(int index) const { return *m_fields.at(static_cast<std::size_t>(index)); }
    // Raises EDatabaseError naming the field and the dataset when it does not exist.
    Field &fieldByName(const QString &name) const;
    Field *findField(const QString &name) const;
    // Differs for every making of the fields of any dataset: a field's place
    // found under one value holds while the dataset keeps it.
    std::uint64_t fieldsVersion() const { return m_fieldsVersion; }

    // --- Open and close ----------------------------------------------------
    void open();
    void close();
    bool active() const { return m_state != DataSetState::Inactive; }
    DataSetState state() const { return m_state; }
    // Removes every record and the change log.
    void emptyDataSet();

    // --- Cursor --------------------------------------------------------------
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // 1-based position of the current record in the view; 0 when empty.
    int recNo() const;
    void setRecNo(int recNo);
    // Records in the view (filtered), without a new record not yet posted.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // Records in the view with a new record not yet posted: the rows a grid shows.
    int viewCount() const { return static_cast<int>(m_view.size()); }

    // --- Editing -------------------------------------------------------------
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a changed record, cancels an unchanged one.
    void checkBrowseMode();
    bool modified() const { return m_modified; }

    // --- Change log ----------------------------------------------------------
    int changeCount() const;
    void mergeChangeLog();
    void cancelUpdates();
    // Walks the changes in the order they were first made and hands each to
    // `apply`. What `apply` throws stops the walk and reaches the caller, the
    // log untouched; when every change was applied the log is merged.
    void applyUpdates(const std::function<void(DeltaRecord &)> &apply);

    // --- Order, filter, search -------------------------------------------------
    // "A;B;C": a stable order on those fields (empty segments ignored, nulls
    // first); the empty text restores the natural order. The current record stays current.
    void setIndexFieldNames(const QString &names);
    const QString &indexFieldNames() const { return m_indexNames; }
    // A malformed text or an unknown field raises EDatabaseError naming the
    // text and the position; the previous filter then stays in force.
    void setFilter(const QString &filter);
    const QString &filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }
    // Moves to the first record of the view whose fields ("A;B") hold the
    // values; returns false, without moving, when there is none.
    bool locate(const QString &fieldNames, const QVariantList &values, LocateOptions options = {});
    bool locate(const QString &fieldName, const QVariant &value, LocateOptions options = {});

    Bookmark bookmark() const;
    // The bookmark of a record of the view (1-based, up to viewCount()), without moving.
    Bookmark bookmarkAt(int recNo) const;
    bool bookmarkValid(const Bookmark &bookmark) const;
    // Raises EDatabaseError when the record is gone or outside the view.
    void gotoBookmark(const Bookmark &bookmark);

    // --- Events and views ----------------------------------------------------
    DataSetEvents &events() { return m_events; }
    // Detaches every handler and hands them over, to be restored later.
    DataSetEvents takeEvents();
    void setEvents(DataSetEvents events) { m_events = std::move(events); }
    void addObserver(DataSetObserver *observer);
    void removeObserver(DataSetObserver *observer);
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // --- Packed files ----------------------------------------------------------
    // Structure and current data (the change log merged, every record
    // whatever the filter). Files are written through a temporary file.
    void saveToFile(const QString &path);
    void loadFromFile(const QString &path);
    QByteArray saveToBytes();
    // `source` names the data in error messages.
    void loadFromBytes(const QByteArray &data, const QString &source);

private:
    friend class Field;
    friend class DeltaRecord;
    friend class CdsPacket;
    friend class FilterExpression;
    friend class RecordPeek;

    void checkActive() const;
    void checkBrowsing(const char16_t *operation) const;
    void rebuildFields();
    void openWithRows();
    void resetCursorFlags();
    int currentRow() const;
    void setState(DataSetState state);
    std::int64_t seqForInsert() const;
    void renumberSeq();

    void rebuildView(int keepRow);
    void sortView();
    bool rowPasses(int row) const;
    bool viewLess(int rowA, int rowB) const;
    void placeRowInView(int row);
    std::vector<int>::iterator findInView(int row);
    std::vector<int> naturalRows() const;

    void scrollTo(int viewIndex, bool fireEvents);
    void markChanged(int row, UpdateStatus status);
    void compactStore();
    void afterStructureLoaded();

    void notifyDataSetChanged();
    void notifyRecordChanged(const Field *field);
    void notifyCursorMoved();
    void notifyStateChanged();
    void fire(const DataSetEvents::Handler &handler);

    QString m_name;
    FieldDefs m_defs;
    std::vector<std::unique_ptr<Field>> m_fields;
    // Field places by name as written, and case-folded for any other
    // spelling; the first of two names that differ only in case wins.
    QHash<QString, int> m_fieldByName;
    QHash<QString, int> m_fieldByFoldedName;
    std::uint64_t m_fieldsVersion = 0;
    RecordStore m_store;

    DataSetState m_state = DataSetState::Inactive;
    std::vector<int> m_view; // rows in view order
    int m_cursor = -1;       // index into m_view
    bool m_bof = true;
    bool m_eof = true;
    bool m_modified = false;
    int m_editRow = -1;                                        // row being edited or inserted
    std::vector<QVariant> m_editBackup;                        // its values before edit()
    std::unordered_map<int, std::vector<QVariant>> m_original; // row -> values before the first change
    std::uint64_t m_changeCounter = 0;
    std::int64_t m_lastSeq = 0;
    bool m_seqOutOfRowOrder = false;

    QString m_indexNames;
    std::vector<int> m_indexFields;
    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<FilterExpression> m_filterExpr;

    DataSetEvents m_events;
    std::vector<DataSetObserver *> m_observers;
    int m_disableCount = 0;
    mutable int m_peekRow = -1; // the row fields read instead of the current one
};

// Makes the fields of a dataset read another record of the view (1-based)
// for as long as it lives, without moving the cursor, firing events or
// telling the views: grids paint their rows this way.
class RecordPeek
{
public:
    RecordPeek(const ClientDataSet &dataSet, int recNo);
    ~RecordPeek();
    RecordPeek(const RecordPeek &) = delete;
    RecordPeek &operator=(const RecordPeek &) = delete;

private:
    const ClientDataSet &m_dataSet;
    int m_previous;
};

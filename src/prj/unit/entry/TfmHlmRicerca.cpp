#include "TfmHlmRicerca.h"

#include "Exceptions.h"
#include "NrApplication.h"
#include "NrMessages.h"
#include "THlmCds.h"
#include "THlmDBCds.h"
#include "TNrDBGrid.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// The table a reference file holds: its name without the extension.
QString tableOfFile(const QString &filePath)
{
    return QFileInfo(filePath).completeBaseName();
}

} // namespace

TfmHlmRicerca::TfmHlmRicerca(QWidget *parent)
    : TfmNrOkCancDlg(parent)
{
    setWindowTitle(u"Finestra di ricerca"_s);
    cdsSearch.setName(u"cdsSearch"_s);
    grSearch = new TNrDBGrid(&cdsSearch, this);
    grSearch->setSortOnTitleClick(false);
    grSearch->horizontalHeader()->setStretchLastSection(true);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(u"Cerca per "_s, this));
    laCampo = new QLabel(this);
    QFont bold = laCampo->font();
    bold.setBold(true);
    laCampo->setFont(bold);
    row->addWidget(laCampo);
    edValue = new QLineEdit(this);
    row->addWidget(edValue, 1);

    body()->addWidget(grSearch, 1);
    body()->addLayout(row);
    resize(640, 420);

    edValue->installEventFilter(this);
    setFocusProxy(edValue);
    connect(edValue, &QLineEdit::textEdited, this, &TfmHlmRicerca::locateTyped);
    connect(grSearch, &TNrDBGrid::titleClicked, this, &TfmHlmRicerca::indexOn);
    connect(grSearch, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
}

TfmHlmRicerca::~TfmHlmRicerca()
{
    delete grSearch;
}

void TfmHlmRicerca::lookupIntoField(ClientDataSet &target, const QString &field, const QString &filePath,
                                    QWidget *parent)
{
    FindingBoxes boxes;
    lookupInto(
        target, field, [&](ClientDataSet &ds) { THlmCds::loadFromFile(ds, filePath, boxes); }, tableOfFile(filePath),
        parent);
}

void TfmHlmRicerca::lookupIntoField(ClientDataSet &target, const QString &field, THlmDBCds &store, const QString &table,
                                    QWidget *parent)
{
    const auto load = [&](ClientDataSet &ds) {
        store.open(ds, table);
        if (Field *number = ds.findField(u"IFISRIGO"_s))
            number->setVisible(false);
    };
    lookupInto(target, field, load, table, parent);
}

void TfmHlmRicerca::lookupInto(ClientDataSet &target, const QString &field,
                               const std::function<void(ClientDataSet &)> &load, const QString &table, QWidget *parent)
{
    Field *f = target.findField(field);
    if (!target.active() || !f || f->readOnly())
        return;
    TfmHlmRicerca dialog(parent);
    const QVariant code = dialog.execute(load, table);
    if (!code.isValid())
        return;
    if (target.state() == DataSetState::Browse)
        target.edit();
    target.fieldByName(field).setAsString(code.toString());
}

bool TfmHlmRicerca::searchFile(const QString &filePath)
{
    FindingBoxes boxes;
    const QVariant chosen =
        execute([&](ClientDataSet &ds) { THlmCds::loadFromFile(ds, filePath, boxes); }, tableOfFile(filePath));
    if (!chosen.isValid()) {
        cdsSearch.close();
        return false;
    }
    return true;
}

QVariant TfmHlmRicerca::execute(const std::function<void(ClientDataSet &)> &load, const QString &table)
{
    cdsSearch.close();
    cdsSearch.setIndexFieldNames(QString());
    m_indexField.clear();
    load(cdsSearch);
    if (cdsSearch.isEmpty()) {
        NrMessageDlg(u"La tabella «%1» non ha ancora righe: scrivere il codice direttamente nel campo."_s.arg(table),
                     MsgDlgType::Information);
        return QVariant();
    }
    grSearch->refreshColumns();
    // The order and the search start on the first field shown: a hidden
    // record number would find nothing of what is typed.
    for (int i = 0; i < cdsSearch.fieldCount(); ++i) {
        if (cdsSearch.field(i).visible()) {
            indexOn(cdsSearch.field(i).fieldName());
            break;
        }
    }
    if (cdsSearch.active())
        cdsSearch.first();
    edValue->clear();
    edValue->setFocus();
    if (exec() != QDialog::Accepted || cdsSearch.isEmpty())
        return QVariant();
    for (int i = 0; i < cdsSearch.fieldCount(); ++i) {
        const Field &f = cdsSearch.field(i);
        if (f.visible())
            return f.isNull() ? QVariant(QString()) : QVariant(f.asString());
    }
    return QVariant();
}

void TfmHlmRicerca::indexOn(const QString &fieldName)
{
    NrRunGuarded([&] {
        cdsSearch.setIndexFieldNames(fieldName);
        m_indexField = fieldName;
        laCampo->setText(cdsSearch.fieldByName(fieldName).displayLabel());
    });
}

void TfmHlmRicerca::locateTyped(const QString &text)
{
    if (text.isEmpty() || m_indexField.isEmpty() || !cdsSearch.active())
        return;
    const Field &f = cdsSearch.fieldByName(m_indexField);
    LocateOptions options;
    if (f.isText()) {
        options.partialKey = true;
        options.caseInsensitive = true;
    }
    NrRunGuarded([&] { cdsSearch.locate(m_indexField, text, options); });
}

bool TfmHlmRicerca::moveByKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const QModelIndex current = grSearch->currentIndex();
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left: {
        const int column =
            std::clamp(current.column() + (key == Qt::Key_Right ? 1 : -1), 0, grSearch->model()->columnCount() - 1);
        grSearch->setCurrentIndex(grSearch->model()->index(current.row(), column));
        return true;
    }
    case Qt::Key_Up:
        cdsSearch.prior();
        return true;
    case Qt::Key_Down:
        cdsSearch.next();
        return true;
    case Qt::Key_PageUp:
        cdsSearch.moveBy(-grSearch->visibleRowCount());
        return true;
    case Qt::Key_PageDown:
        cdsSearch.moveBy(grSearch->visibleRowCount());
        return true;
    case Qt::Key_Home:
        if (!ctrl)
            return false;
        cdsSearch.first();
        return true;
    case Qt::Key_End:
        if (!ctrl)
            return false;
        cdsSearch.last();
        return true;
    default:
        return false;
    }
}

bool TfmHlmRicerca::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edValue && event->type() == QEvent::KeyPress && cdsSearch.active()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        bool handled = false;
        NrRunGuarded([&] { handled = moveByKey(key->key(), key->modifiers()); });
        if (handled)
            return true;
    }
    return TfmNrOkCancDlg::eventFilter(watched, event);
}

#include "TfrElfBase.h"

#include "AmountFormats.h"
#include "DataPaths.h"
#include "Exceptions.h"
#include "FieldGrid.h"
#include "InfoList.h"
#include "MandatoryDataCheck.h"
#include "NrApplication.h"
#include "NrMessages.h"
#include "TDataSource.h"
#include "TNrDBCheckBox.h"
#include "TNrDBDateEdit.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TfmHlmRicerca.h"
#include "TfmNrMDIMain.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::Literals::StringLiterals;

TfrElfBase::PostPermission::PostPermission(TfrElfBase &frame, bool loading)
    : m_frame(frame)
{
    m_frame.m_postPermission = true;
    m_frame.m_loading = loading;
}

TfrElfBase::PostPermission::~PostPermission()
{
    m_frame.m_postPermission = false;
    m_frame.m_loading = false;
}

TfrElfBase::TfrElfBase(QWidget *parent)
    : TfrNrBase(parent)
{
    cdsMain.setName(u"cdsMain"_s);
    dsMain = new TDataSource(&cdsMain, this);

    pcMain = new QTabWidget(this);
    tsGrid = new QWidget;
    grFrame = new TNrDBGrid(&cdsMain, tsGrid);
    auto *gridLayout = new QVBoxLayout(tsGrid);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    gridLayout->addWidget(grFrame);
    tsDetail = new QWidget;
    pcMain->addTab(tsGrid, u"Griglia"_s);
    pcMain->addTab(tsDetail, u"Dettaglio"_s);
    body()->addWidget(pcMain);

    createActions();
    wireEvents();
    updateActions();
}

TfrElfBase::~TfrElfBase()
{
    // The views of cdsMain go before it does.
    cdsMain.setEvents({});
    delete pcMain;
    delete dsMain;
}

namespace {

// The style's icons of the moves and edits, in the order of the bar, read
// once per style: the many frames of a window show the same ones.
QList<QIcon> actionIcons(QStyle *style)
{
    static constexpr char kProperty[] = "frameActionIcons";
    const QVariant cached = style->property(kProperty);
    if (cached.isValid())
        return cached.value<QList<QIcon>>();
    QList<QIcon> icons;
    for (const QStyle::StandardPixmap pixmap :
         {QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward, QStyle::SP_MediaSeekForward,
          QStyle::SP_MediaSkipForward, QStyle::SP_FileIcon, QStyle::SP_TrashIcon, QStyle::SP_FileDialogDetailedView,
          QStyle::SP_DialogApplyButton, QStyle::SP_DialogCancelButton})
        icons.append(style->standardIcon(pixmap));
    style->setProperty(kProperty, QVariant::fromValue(icons));
    return icons;
}

} // namespace

void TfrElfBase::createActions()
{
    const QString dataset = u"Dataset"_s;
    acFirst = addFrameAction(u"acFirst"_s, dataset, u"&Primo"_s, u"Primo elemento"_s);
    acPrior = addFrameAction(u"acPrior"_s, dataset, u"Pre&cedente"_s, u"Elemento precedente"_s);
    acNext = addFrameAction(u"acNext"_s, dataset, u"&Successivo"_s, u"Elemento successivo"_s);
    acLast = addFrameAction(u"acLast"_s, dataset, u"&Ultimo"_s, u"Ultimo elemento"_s);
    toolBar()->addSeparator();
    acInsert = addFrameAction(u"acInsert"_s, dataset, u"&Inserisci"_s, u"Nuovo elemento"_s);
    acDelete = addFrameAction(u"acDelete"_s, dataset, u"C&ancella"_s, u"Cancella elemento"_s);
    acEdit = addFrameAction(u"acEdit"_s, dataset, u"&Modifica"_s, u"Modifica elemento"_s);
    toolBar()->addSeparator();
    acPost = addFrameAction(u"acPost"_s, dataset, u"C&onferma"_s, u"Conferma modifiche"_s);
    acCancel = addFrameAction(u"acCancel"_s, dataset, u"A&nnulla"_s, u"Annulla modifiche "_s);

    const QList<QIcon> icons = actionIcons(style());
    QAction *const withIcons[] = {acFirst, acPrior, acNext, acLast, acInsert, acDelete, acEdit, acPost, acCancel};
    for (qsizetype i = 0; i < icons.size(); ++i)
        withIcons[i]->setIcon(icons.at(i));

    if (shortcutsEnabled()) {
        acFirst->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
        acPrior->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
        acNext->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
        acLast->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
        acInsert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
        acDelete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
        acEdit->setShortcut(QKeySequence(Qt::Key_F2));
        // Enter of the main keyboard and of the keypad.
        acPost->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
        acCancel->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        RefreshActionListList();
    }

    connect(acFirst, &QAction::triggered, this, [this] { run([this] { cdsMain.first(); }); });
    connect(acPrior, &QAction::triggered, this, [this] { run([this] { cdsMain.prior(); }); });
    connect(acNext, &QAction::triggered, this, [this] { run([this] { cdsMain.next(); }); });
    connect(acLast, &QAction::triggered, this, [this] { run([this] { cdsMain.last(); }); });
    connect(acInsert, &QAction::triggered, this, [this] { run([this] { cdsMain.append(); }); });
    connect(acDelete, &QAction::triggered, this, [this] { run([this] { cdsMain.deleteRecord(); }); });
    connect(acEdit, &QAction::triggered, this, [this] { run([this] { cdsMain.edit(); }); });
    connect(acPost, &QAction::triggered, this, [this] {
        run([this] {
            const PostPermission permission(*this);
            dsMain->updateRecord();
            cdsMain.post();
        });
    });
    connect(acCancel, &QAction::triggered, this, [this] { run([this] { cdsMain.cancel(); }); });
}

void TfrElfBase::wireEvents()
{
    DataSetEvents &events = cdsMain.events();
    events.beforePost = [this](ClientDataSet &) { cdsMainBeforePost(); };
    events.afterPost = [this](ClientDataSet &) {
        if (m_afterPost) {
            m_afterPost();
            TfmNrMDIMain::showSaved(this);
        }
    };
    events.afterDelete = [this](ClientDataSet &) {
        if (m_afterDelete) {
            m_afterDelete();
            TfmNrMDIMain::showSaved(this);
        }
    };
    events.onNewRecord = [this](ClientDataSet &) { cdsMainNewRecord(); };
    events.beforeDelete = [this](ClientDataSet &) { cdsMainBeforeDelete(); };
    connect(dsMain, &TDataSource::stateChange, this, [this] {
        dsMainStateChange();
        updateActions();
    });
    connect(dsMain, &TDataSource::dataChange, this, [this](const Field *field) {
        if (!field)
            updateActions();
    });
}

void TfrElfBase::run(const std::function<void()> &work)
{
    NrRunGuarded(work);
    updateActions();
}

void TfrElfBase::dataSetOpened()
{
    if (Field *f = cdsMain.findField(u"IFISRIGO"_s))
        f->setVisible(false);
    applyAmountFormats(cdsMain);
    applyCaptions();
    grFrame->refreshColumns();
    updateActions();
}

void TfrElfBase::applyCaptions()
{
    for (auto it = m_captions.cbegin(); it != m_captions.cend(); ++it) {
        if (Field *f = cdsMain.findField(it.key()))
            f->setDisplayLabel(it.value());
    }
    // The edits showed the record before its fields had their formats.
    for (TNrDBEdit *edit : tsDetail->findChildren<TNrDBEdit *>()) {
        edit->fitToField();
        edit->refresh();
    }
}

void TfrElfBase::detailBuilt()
{
    if (cdsMain.active())
        applyCaptions();
}

namespace {

// Makes its content when it is first shown.
class LazyPage : public QWidget
{
public:
    LazyPage(std::function<QWidget *()> build, std::function<void()> built)
        : m_build(std::move(build))
        , m_built(std::move(built))
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        if (m_build) {
            layout()->addWidget(std::exchange(m_build, {})());
            m_built();
        }
        QWidget::showEvent(event);
    }

private:
    std::function<QWidget *()> m_build;
    std::function<void()> m_built;
};

} // namespace

QWidget *TfrElfBase::lazyPage(std::function<QWidget *()> build)
{
    return new LazyPage(std::move(build), [this] { detailBuilt(); });
}

bool TfrElfBase::editing() const
{
    return cdsMain.state() == DataSetState::Edit || cdsMain.state() == DataSetState::Insert;
}

QString TfrElfBase::recordCounterText() const
{
    if (cdsMain.state() == DataSetState::Insert)
        return u"Ins."_s;
    return u"%1 di %2"_s.arg(cdsMain.recordCount() == 0 ? 0 : cdsMain.recNo()).arg(cdsMain.recordCount());
}

void TfrElfBase::cdsMainBeforePost()
{
    if (!m_postPermission) {
        NrMessageDlg(u"Salvare prima di cambiare modello."_s, MsgDlgType::Warning);
        Abort();
    }
}

void TfrElfBase::clearCheckBoxes()
{
    // Only the frame's own: a detail page may hold other frames.
    for (const TNrDBCheckBox *check : tsDetail->findChildren<TNrDBCheckBox *>()) {
        if (check->dataSource() != dsMain)
            continue;
        if (Field *f = cdsMain.findField(check->dataField()))
            f->setAsString(u"0"_s);
    }
}

void TfrElfBase::uncheckFlags()
{
    for (int i = 0; i < cdsMain.fieldCount(); ++i) {
        Field &f = cdsMain.field(i);
        if (f.fieldName().startsWith(u'L', Qt::CaseInsensitive))
            f.setAsString(u"0"_s);
    }
}

void TfrElfBase::askMandatoryCheck()
{
    if (m_loading)
        return;
    QStringList findings;
    if (!MandatoryDataCheck::run(findings, {&cdsMain}) && !InfoList::ask(findings))
        Abort();
}

QString TfrElfBase::deleteQuestion() const
{
    return u"Confermi la cancellazione del modello corrente?"_s;
}

void TfrElfBase::cdsMainBeforeDelete()
{
    if (NrMessageDlg(deleteQuestion(), MsgDlgType::Warning, MsgDlgBtn::Yes | MsgDlgBtn::No) != ModalResult::Yes)
        Abort();
}

void TfrElfBase::dsMainStateChange()
{
    if (editing() && pcMain->isTabVisible(pcMain->indexOf(tsDetail)))
        pcMain->setCurrentWidget(tsDetail);
}

void TfrElfBase::updateActions()
{
    const bool active = cdsMain.active();
    const bool browsing = cdsMain.state() == DataSetState::Browse;
    const int count = cdsMain.recordCount();
    const int recNo = cdsMain.recNo();
    acFirst->setEnabled(active && recNo > 1);
    acPrior->setEnabled(active && recNo > 1);
    acNext->setEnabled(active && recNo < count);
    acLast->setEnabled(active && recNo < count);
    acInsert->setEnabled(browsing);
    acDelete->setEnabled(active && count > 0 && cdsMain.state() != DataSetState::Insert);
    acEdit->setEnabled(browsing && count > 0);
    acPost->setEnabled(editing());
    acCancel->setEnabled(editing());
    SetInfoPanelCaption(active ? recordCounterText() : QString());
}

TNrDBEdit *TfrElfBase::dbEdit(const QString &field, const QString &caption, bool upperCase)
{
    auto *edit = new TNrDBEdit;
    edit->setUpperCase(upperCase);
    edit->setDataSource(dsMain);
    edit->setDataField(field);
    edit->setNegativeAllowed(MandatoryDataCheck::negativeAllowed(field));
    setCaption(field, caption);
    return edit;
}

TNrDBLookupEdit *TfrElfBase::dbLookup(const QString &field, const QString &caption, const QString &referenceFile,
                                      bool upperCase)
{
    auto *lookup = new TNrDBLookupEdit;
    lookup->edit()->setUpperCase(upperCase);
    lookup->edit()->setDataSource(dsMain);
    lookup->edit()->setDataField(field);
    setCaption(field, caption);
    lookup->setOnLookup([this, field, referenceFile] {
        TfmHlmRicerca::lookupIntoField(cdsMain, field,
                                       DataPaths::fromRoot(u"USR\\FL2023\\Res\\Tabelle\\"_s + referenceFile), this);
    });
    return lookup;
}

TNrDBCheckBox *TfrElfBase::dbCheck(const QString &field, const QString &caption)
{
    auto *check = new TNrDBCheckBox(caption);
    check->setDataSource(dsMain);
    check->setDataField(field);
    setCaption(field, caption);
    return check;
}

TNrDBDateEdit *TfrElfBase::dbDate(const QString &field, const QString &caption)
{
    auto *date = new TNrDBDateEdit;
    date->setDataSource(dsMain);
    date->setDataField(field);
    setCaption(field, caption);
    return date;
}

void TfrElfBase::addCaptions(std::initializer_list<std::span<const Item>> lists)
{
    for (const std::span<const Item> items : lists) {
        for (const Item &item : items) {
            if (item.field)
                setCaption(QString::fromUtf16(item.field), QString::fromUtf16(item.caption));
        }
    }
}

QString TfrElfBase::wrapped(const QString &text, qsizetype lineLength)
{
    QString lines;
    qsizetype line = 0;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (line > 0 && line + 1 + word.size() > lineLength) {
            lines += u'\n';
            line = 0;
        } else if (line > 0) {
            lines += u' ';
            ++line;
        }
        lines += word;
        line += word.size();
    }
    return lines;
}

namespace {

// A grid title: the caption without its box number, on lines of a few words
// so that the column keeps to the width of its values.
QString gridTitle(const QString &caption)
{
    const qsizetype number = caption.indexOf(u' ');
    const bool numbered = number > 0 && caption.front().isDigit();
    return TfrElfBase::wrapped(numbered ? caption.mid(number + 1) : caption, 18);
}

} // namespace

void TfrElfBase::setGridColumns(const QStringList &fields, const QStringList &titles)
{
    QStringList shown;
    for (qsizetype i = 0; i < fields.size(); ++i)
        shown.append(gridTitle(i < titles.size() ? titles.at(i) : m_captions.value(fields.at(i), fields.at(i))));
    grFrame->setColumns(fields, shown);
}

void TfrElfBase::setBarCaption(const QString &caption)
{
    auto *label = new QLabel(caption);
    label->setObjectName(u"laBarCaption"_s);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setContentsMargins(4, 0, 8, 0);
    toolBar()->insertWidget(toolBar()->actions().value(0), label);
    // The moves keep their icons and hints only, leaving the caption room.
    for (QAction *move : {acFirst, acPrior, acNext, acLast}) {
        if (auto *button = qobject_cast<QToolButton *>(toolBar()->widgetForAction(move)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

void TfrElfBase::addItems(FieldGrid *grid, std::span<const Item> items)
{
    for (const Item &item : items) {
        if (!item.field) {
            grid->addHeading(QString::fromUtf16(item.caption));
            continue;
        }
        const QString field = QString::fromUtf16(item.field);
        const QString caption = QString::fromUtf16(item.caption);
        if (item.lookup)
            lookupRow(grid, field, caption, QString::fromUtf16(item.lookup));
        else if (field.startsWith(u'D'))
            dateRow(grid, field, caption);
        else if (field.startsWith(u'L', Qt::CaseInsensitive))
            grid->addControl(dbCheck(field, caption));
        else
            editRow(grid, field, caption);
    }
}

QWidget *TfrElfBase::scrollPage(const QString &caption, QLayout *content)
{
    auto *page = new QWidget;
    page->setObjectName(caption);
    page->setLayout(content);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    return scroll;
}

namespace {

// Two columns of fields side by side where the page has room for both, the
// second under the first where it has not: the page never scrolls sideways.
class ColumnsArea : public QScrollArea
{
public:
    ColumnsArea(const QString &caption, FieldGrid *left, FieldGrid *right)
        : m_left(left)
        , m_right(right)
    {
        auto *page = new QWidget;
        page->setObjectName(caption);
        m_columns = new QGridLayout(page);
        m_columns->setHorizontalSpacing(24);
        m_columns->setVerticalSpacing(12);
        m_columns->setColumnStretch(2, 1);
        m_columns->setRowStretch(2, 1);
        m_columns->addLayout(m_left, 0, 0);
        arrange(true);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setWidget(page);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        // The room with a vertical scroll bar, shown or not, so that the
        // choice does not change when the bar comes or goes.
        const QMargins margins = m_columns->contentsMargins();
        const int room =
            maximumViewportSize().width() - verticalScrollBar()->sizeHint().width() - margins.left() - margins.right();
        arrange(m_left->minimumSize().width() + m_columns->horizontalSpacing() + m_right->minimumSize().width()
                <= room);
        QScrollArea::resizeEvent(event);
    }

private:
    void arrange(bool sideBySide)
    {
        if (m_arranged && m_sideBySide == sideBySide)
            return;
        if (m_arranged) {
            m_columns->removeItem(m_right);
            m_right->setParent(nullptr);
        }
        m_columns->addLayout(m_right, sideBySide ? 0 : 1, sideBySide ? 1 : 0);
        m_sideBySide = sideBySide;
        m_arranged = true;
    }

    FieldGrid *m_left;
    FieldGrid *m_right;
    QGridLayout *m_columns;
    bool m_sideBySide = true;
    bool m_arranged = false;
};

} // namespace

QWidget *TfrElfBase::columnsPage(const QString &caption, FieldGrid *left, FieldGrid *right)
{
    left->finish();
    if (!right)
        return scrollPage(caption, left);
    right->finish();
    return new ColumnsArea(caption, left, right);
}

void TfrElfBase::editRow(FieldGrid *grid, const QString &field, const QString &caption)
{
    grid->addRow(caption, dbEdit(field, caption));
}

void TfrElfBase::lookupRow(FieldGrid *grid, const QString &field, const QString &caption, const QString &referenceFile,
                           bool upperCase)
{
    grid->addRow(caption, dbLookup(field, caption, referenceFile, upperCase));
}

void TfrElfBase::dateRow(FieldGrid *grid, const QString &field, const QString &caption)
{
    grid->addRow(caption, dbDate(field, caption));
}

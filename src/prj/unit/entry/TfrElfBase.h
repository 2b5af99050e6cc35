#pragma once

#include "ClientDataSet.h"
#include "TfrNrBase.h"

#include <QHash>

#include <functional>
#include <initializer_list>
#include <span>

class FieldGrid;
class QAction;
class QGridLayout;
class QLayout;
class QTabWidget;
class TDataSource;
class TNrDBCheckBox;
class TNrDBDateEdit;
class TNrDBEdit;
class TNrDBGrid;
class TNrDBLookupEdit;

// The frame every table of the return is edited in: the pages "Griglia"
// (a read-only grid) and "Dettaglio" (the edit controls), the dataset
// cdsMain with its data source dsMain, and the navigation and editing
// actions. A record is confirmed only through acPost (Ctrl+Enter): any
// other post, such as leaving a changed record in the grid, is refused with
// "Salvare prima di cambiare modello." and the record stays in edit. The
// window saves the table after every post.
class TfrElfBase : public TfrNrBase
{
    Q_OBJECT

public:
    explicit TfrElfBase(QWidget *parent = nullptr);
    ~TfrElfBase() override;

    // The table of the store the frame edits.
    virtual QString tableName() const = 0;

    // Allows posts for its lifetime; while the window loads the frame's
    // table, and completes what it loaded, the record checks wait too.
    class PostPermission
    {
    public:
        explicit PostPermission(TfrElfBase &frame, bool loading = false);
        ~PostPermission();
        PostPermission(const PostPermission &) = delete;
        PostPermission &operator=(const PostPermission &) = delete;

    private:
        TfrElfBase &m_frame;
    };

    bool postPermission() const { return m_postPermission; }
    bool loading() const { return m_loading; }
    // After the store filled cdsMain: the captions of the fields, the amount
    // formats, the actions.
    virtual void dataSetOpened();
    // The window's work after every post of cdsMain.
    void setAfterPost(std::function<void()> handler) { m_afterPost = std::move(handler); }
    // The window's work after every delete of cdsMain.
    void setAfterDelete(std::function<void()> handler) { m_afterDelete = std::move(handler); }
    // "%d di %d" (current record, records), "Ins." on a new record.
    QString recordCounterText() const;
    bool editing() const;
    // The words of a text on lines of at most lineLength characters (a
    // longer word stands alone).
    static QString wrapped(const QString &text, qsizetype lineLength);
    // A caption at the head of the tool bar, naming what its actions act on.
    void setBarCaption(const QString &caption);

    ClientDataSet cdsMain;
    TDataSource *dsMain;
    QTabWidget *pcMain;
    QWidget *tsGrid;
    QWidget *tsDetail;
    TNrDBGrid *grFrame;
    QAction *acFirst;
    QAction *acPrior;
    QAction *acNext;
    QAction *acLast;
    QAction *acInsert;
    QAction *acDelete;
    QAction *acEdit;
    QAction *acPost;
    QAction *acCancel;

protected:
    // The page "Dettaglio", where subclasses put their controls.
    QWidget *detail() const { return tsDetail; }

    // Controls bound to cdsMain. The caption becomes the field's display
    // label (grid titles, messages). Text is upper-cased unless told not to.
    TNrDBEdit *dbEdit(const QString &field, const QString &caption, bool upperCase = true);
    TNrDBLookupEdit *dbLookup(const QString &field, const QString &caption, const QString &referenceFile,
                              bool upperCase = true);
    TNrDBCheckBox *dbCheck(const QString &field, const QString &caption);
    TNrDBDateEdit *dbDate(const QString &field, const QString &caption);
    // The same controls on a row of their own, the caption beside them.
    void editRow(FieldGrid *grid, const QString &field, const QString &caption);
    void lookupRow(FieldGrid *grid, const QString &field, const QString &caption, const QString &referenceFile,
                   bool upperCase = true);
    void dateRow(FieldGrid *grid, const QString &field, const QString &caption);
    // One row of a detail page: a field with its caption and, for a code,
    // the reference file of its lookup; without a field, a heading. The
    // control follows the field's type letter: D a date, L a check box
    // carrying the caption, anything else an edit.
    struct Item
    {
        const char16_t *field;
        const char16_t *caption;
        const char16_t *lookup = nullptr;
    };
    void addItems(FieldGrid *grid, std::span<const Item> items);
    void addItems(FieldGrid *grid, std::initializer_list<Item> items)
    {
        addItems(grid, std::span(items.begin(), items.size()));
    }
    // The captions of fields whose controls are made later (a lazy page), so
    // that the grid and the messages name them from the start.
    void addCaptions(std::initializer_list<std::span<const Item>> lists);
    // The grid's columns, titled with the captions of their fields (box
    // number left out, long ones on several lines) unless titles are given
    // for the first of them.
    void setGridColumns(const QStringList &fields, const QStringList &titles = {});
    // A page whose content scrolls, named as its caption.
    static QWidget *scrollPage(const QString &caption, QLayout *content);
    // The same for one or two columns of fields, finished; two stand side by
    // side where the page has room for both, else one under the other.
    static QWidget *columnsPage(const QString &caption, FieldGrid *left, FieldGrid *right = nullptr);
    // A page whose content is made the first time it is shown, so that a
    // frame with many pages opens at once; its controls then take their
    // captions and widths (detailBuilt).
    QWidget *lazyPage(std::function<QWidget *()> build);
    // What follows the making of a page's controls.
    virtual void detailBuilt();
    // A caption for a field that has no control of its own (a grid column).
    void setCaption(const QString &field, const QString &caption) { m_captions.insert(field, caption); }

    // Every check box of the page "Dettaglio" set to "0" (a new record).
    void clearCheckBoxes();
    // The same for every flag of the record (the fields named L...), the
    // check boxes of pages not made yet included.
    void uncheckFlags();
    // The mandatory-data check of the record confirmed by the user, asking
    // whether to go on when it finds something; a "No" abandons the post.
    // Records completed while the window loads are not checked.
    void askMandatoryCheck();

    virtual void cdsMainBeforePost();
    virtual void cdsMainNewRecord() {}
    virtual void cdsMainBeforeDelete();
    virtual QString deleteQuestion() const;
    virtual void updateActions();
    virtual void dsMainStateChange();

private:
    // The captions of the fields and the widths of the edits made so far.
    void applyCaptions();
    void createActions();
    void wireEvents();
    void run(const std::function<void()> &work);

    bool m_postPermission = false;
    bool m_loading = false;
    std::function<void()> m_afterPost;
    std::function<void()> m_afterDelete;
    QHash<QString, QString> m_captions;
};

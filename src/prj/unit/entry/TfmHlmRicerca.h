#pragma once

#include "ClientDataSet.h"
#include "TfmNrOkCancDlg.h"

#include <QVariant>

#include <functional>

class QLabel;
class THlmDBCds;
class QLineEdit;
class TNrDBGrid;

// The search dialog of code lookups ("Finestra di ricerca"): the records of
// a reference table in a grid, ordered on the field named after "Cerca per ";
// what is typed in the box positions the grid on the first record that
// begins with it (text fields) or equals it (numeric fields). A click on a
// title orders on that column. OK, Enter or a double click choose the
// current record; the result is the value of its first visible field.
class TfmHlmRicerca : public TfmNrOkCancDlg
{
    Q_OBJECT

public:
    explicit TfmHlmRicerca(QWidget *parent = nullptr);
    ~TfmHlmRicerca() override;

    // Looks a code up in a reference file and writes it into a field of the
    // target's current record, putting the target in edit state first when
    // it is browsing. Nothing happens when the record cannot be changed or
    // the dialog is cancelled.
    static void lookupIntoField(ClientDataSet &target, const QString &field, const QString &filePath, QWidget *parent);
    // The same with a table of the store (the extinct agents), shown
    // without its record numbers.
    static void lookupIntoField(ClientDataSet &target, const QString &field, THlmDBCds &store, const QString &table,
                                QWidget *parent);

    // Runs the dialog on a file; true with cdsSearch on the chosen record,
    // false (cdsSearch closed) when cancelled.
    bool searchFile(const QString &filePath);
    // The common core: loads cdsSearch, runs the dialog; the value of the
    // first visible field of the chosen record, or null when cancelled. A
    // table without rows is not shown: the user is told that its codes are
    // typed by hand.
    QVariant execute(const std::function<void(ClientDataSet &)> &load, const QString &table);

    ClientDataSet cdsSearch;
    TNrDBGrid *grSearch;
    QLabel *laCampo;
    QLineEdit *edValue;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void lookupInto(ClientDataSet &target, const QString &field,
                           const std::function<void(ClientDataSet &)> &load, const QString &table, QWidget *parent);
    void indexOn(const QString &fieldName);
    void locateTyped(const QString &text);
    bool moveByKey(int key, Qt::KeyboardModifiers modifiers);

    QString m_indexField;
};

#pragma once

#include "TfmkbrMultiSelect.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

// "Scelta dipendenti": people of the school's payroll, with their code,
// name and the codes of category, position and qualification of their
// contract. The list is ordered by name when it opens; a click on a title
// orders it by that column (the codes, then the name). The filter panel
// narrows it by category, position, qualification ("(Tutte)": any) and to
// the people in service; "Cerca" moves to the first name that begins with
// the text typed; the print order chooses the order by name or by code.
class TfmkbrAnaMultiSelect : public TfmkbrMultiSelect
{
    Q_OBJECT

public:
    explicit TfmkbrAnaMultiSelect(QWidget *parent = nullptr);

    // Opens the list and fills the filters, once; the first showing does it.
    void load();

    QWidget *pnlFiltro;
    QComboBox *cbICALNORMACODE;
    QComboBox *cbITNONORMACODE;
    QComboBox *cbIQARNORMACODE;
    QCheckBox *ckInServizio;
    QLineEdit *edCerca;
    QGroupBox *rgOrdine;
    QRadioButton *rbAlfabetico;
    QRadioButton *rbCodice;

protected:
    // The subclass fills xqcMultiSelect with the people.
    virtual void openList() = 0;
    void showEvent(QShowEvent *event) override;

private:
    void fillFilter(QComboBox *box, const QString &statement);
    void applyFilter();
    void orderBy(const QString &column);
    void search(const QString &text);

    bool m_loaded = false;
};

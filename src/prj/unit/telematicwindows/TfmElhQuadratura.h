#pragma once

#include "Quadratura.h"
#include "TfmNrVuota.h"

class QComboBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class QuadraturaChart;
class QuadraturaFindingsFilter;
class QuadraturaFindingsModel;
class THlmDBCds;

// "Quadratura": the return checked against itself before the file leaves.
// On show, and on "Aggiorna", it reads the return and the payroll's F24EP
// lines and reconciles them; a failure is shown and the window stays. It
// shows the counts of the findings per area and level, the chart of the
// year of one family of codes, and the grid of the findings, which the
// office narrows by level, area and tax code and sorts by any column. A
// double-click on a finding asks for its Prospetto row or, without one, its
// person; the program opens them. "Stampa" prints the report to its file
// under "USR\FL2023\Stp\" and opens it; "Esporta CSV" writes the findings
// to the file chosen.
class TfmElhQuadratura : public TfmNrVuota
{
    Q_OBJECT

public:
    explicit TfmElhQuadratura(THlmDBCds &store, QWidget *parent = nullptr);

    const QuadraturaReport &report() const { return m_report; }

    // Reads and reconciles the return again.
    void refresh();
    // "Stampa": the report printed to its file, then opened.
    void print();
    // "Esporta CSV" once the file is chosen.
    void exportCsv(const QString &fileName);

    QTableWidget *grSintesi;
    QComboBox *cbFamiglia;
    QuadraturaChart *chAnno;
    QComboBox *cbLivello;
    QComboBox *cbArea;
    QComboBox *cbCodice;
    QLabel *laConteggio;
    QTableView *grRilievi;
    QLabel *laDettaglio;
    QPushButton *buAggiorna;
    QPushButton *buStampa;
    QPushButton *buEsportaCsv;
    QFileDialog *s_FileCsv;

signals:
    void rowRequested(const QuadraturaRowRef &row);
    void personRequested(const QuadraturaPersonRef &person);

protected:
    void FormShow() override;

private:
    QWidget *summaryBox();
    QWidget *chartBox();
    QWidget *findingsBox();
    void showReport();
    void showSummary();
    void showChart();
    void fillTaxCodes();
    void applyFilters();
    void summaryClicked(int row, int column);
    void showDetail();
    void open(const QModelIndex &index);
    void chooseCsv();

    THlmDBCds &m_store;
    QuadraturaReport m_report;
    QuadraturaFindingsModel *m_findings;
    QuadraturaFindingsFilter *m_filter;
};

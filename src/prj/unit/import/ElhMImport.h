#pragma once

#include "ClientDataSet.h"
#include "ImportLog.h"
#include "NrFindings.h"
#include "NrProgress.h"
#include "NrQueryCollection.h"
#include "TdmKbrCalcola.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TImportXML;
class THlmDBCds;
class TdmNruParams;

// The import data module: the certifications of the payroll module (the
// store's program "eli") turned into the employee and self-employed
// sections of the return, and the computations that follow (tax assistance,
// additional taxes withheld, detractions, separate taxation, dependants).
//
// Every person is imported atomically: his old rows are deleted and his new
// rows written together, in a transaction of his own or, within a CU import
// run, under a savepoint of the run's transaction, so that a failure (the
// database refusing a row, a broken connection) leaves him as he was, says
// why in the log, and the run goes on with the next person. A run told to
// stop by its progress stops before the next person, keeps those done and
// says in the log after whom it stopped. Outside a person (the withholding
// agent, the other agents of the certifications) each posted row is saved
// at once.
//
// What the office must hear at once, beside the log, goes to the findings
// its caller hands it: definitions that cannot be used, a school code that
// differs from the certifications', a worker of the payroll not imported.
class TdmElhImport
{
public:
    // "Importare le somme ai punti 14 e 18 dei Dati Fiscali (Add. trattenute)"
    // and "Importa dati sostituto" of the dialog.
    struct Options
    {
        bool importAgent = false;
        bool additionalTaxes = true;
    };

    TdmElhImport(THlmDBCds &store, TdmNruParams &params, FindingSink &findings);
    ~TdmElhImport();
    TdmElhImport(const TdmElhImport &) = delete;
    TdmElhImport &operator=(const TdmElhImport &) = delete;

    // The definitions of the import: data root + "USR\FL2023\Res\import\Import.xml".
    static QString definitionsFile();

    // The people of the certifications: one row per fiscal code (CODFIS,
    // COGNOME, NOME), in the order of the codes.
    void certifiedPeople(ClientDataSet &people);
    // Whether the withholding agent of the return is missing or has no name:
    // the dialog then offers to import him.
    bool agentIncomplete();

    // The CU import of the fiscal codes given (compared without regard to
    // case and blanks). False when a person could not be imported or the
    // definitions cannot be used (the reason was reported).
    bool ImportCUD(const QStringList &codes, const Options &options, NrProgress *progress = nullptr);
    // The additional taxes withheld reported into the fiscal data of the
    // employees given, outside an import (the tool "Addizionali").
    void riportaAddizionali(const QStringList &codes, NrProgress *progress = nullptr);

    // The lists of the selection dialogs, with the current financial year
    // and school: the self-employed (QRY_ELH_AUTON_IMP), every payee of the
    // compensation register (QRY_ELH_AUTON_IMP_ONLY_ANA).
    enum class PayeeList { SelfEmployed, RegistryOnly };
    void openPayees(TNrQueryCollection &list, PayeeList which);
    // Loads and closes the self-employed tables around the imports.
    void beginAutonomi();
    void endAutonomi();
    // Imports the person of the list's current row (the self-employed import
    // of the selection dialogs): his registry into TDAU7_DATIAUTONOM and, for
    // the payment reasons A, M and P, his amounts into TDSE7_SOMMEEROGATE, in
    // one transaction. A worker already in the return is replaced when
    // `replace` answers yes to the question. A person skipped or not written
    // says why in a finding.
    enum class Outcome { Imported, Skipped, Failed };
    Outcome importaAutonomo(const ClientDataSet &person, const Confirmation &replace);

    // The integration of the people of an extinct agent, whose return is
    // read from the files of a folder (one TABLE.cds a table, as "Esporta
    // dati " and "elh770 esporta" write them).
    enum class Integration { Employees, SelfEmployed };
    static const QString kExtinctAgentCode;
    // The extinct agent's employees or self-employed workers in the folder:
    // CODFIS, COGNOME, NOME, in the order of the codes. Throws an Exception
    // with its message when the folder or its files are missing.
    void extinctPeople(const QString &folder, Integration which, ClientDataSet &people);
    // Integrates the people given (all the folder's when none), each in one
    // transaction of the store, and recomputes the employees' detractions.
    // Throws an Exception, having changed nothing, when the folder or its
    // files are missing or the extinct agent has no code or the school's
    // own (kExtinctAgentCode). False when a person could not be integrated.
    bool integra(const QString &folder, Integration which, const QStringList &codes, NrProgress *progress = nullptr);

    // The log of the last run; empty when it had nothing to say.
    QStringList log() const { return m_log.lines(); }
    // The line that ends the log of a run ("Importazione", "Integrazione")
    // the user stopped after `done` people of `total`, the last named.
    static QString stoppedLine(const QString &run, int done, int total, const QString &last);
    // The codes of the people the last run could not import.
    const QStringList &failed() const { return m_failed; }

    // The detractions of an employee row in edit brought back within the
    // total granted (FFIS7TOTDETR), when it is positive and less than the
    // gross tax (FFIS7IMPOLORDA): family, employment, expenses, rent, in
    // this order, each kept while the total lasts. True when one changed.
    static bool ricalcolaDetrazioni(ClientDataSet &employee);

    // Certifications of the payroll module (read-only).
    ClientDataSet cdsSostCUD;
    ClientDataSet cdsCUD;
    ClientDataSet cdsCUDInps;
    ClientDataSet cdsCUDInpdap;
    ClientDataSet cdsCUDConFamCar;
    ClientDataSet cdsCudAutSommeEro;
    ClientDataSet cdsCudInail;
    // The return.
    ClientDataSet cdsImpSost;
    ClientDataSet cdsAnagFis;
    ClientDataSet cdsDtCong;
    ClientDataSet cdsTassSep;
    ClientDataSet cdsReddAssRitImp;
    ClientDataSet cdsTfr;
    ClientDataSet cdsInps;
    ClientDataSet cdsInpdap;
    ClientDataSet cdsAnn;
    ClientDataSet cdsSommEroLavStra;
    ClientDataSet cdsConFamCar;
    ClientDataSet cdsSostEst;
    ClientDataSet cdsReddEst;
    ClientDataSet cdsPreCompFamCar;
    ClientDataSet cdsInail;
    ClientDataSet cdsAutonomo;
    ClientDataSet cdsAutSommeEro;
    // The payroll read by the computations, and their work tables.
    TNrQueryCollection xqcAss;
    TNrQueryCollection xqcTassSep;
    TNrQueryCollection xqcAdet;
    ClientDataSet cdsAppoTS;
    ClientDataSet cdsAppoAdet;

private:
    // The annotation codes of an employee: slots SANN701 ... SANN754.
    static constexpr int kAnnotationSlots = 54;
    static QString annotationSlot(int slot);

    // A table of the return loaded for the run, its rows grouped by the
    // fiscal code of their person.
    struct Table
    {
        Table(QString table, ClientDataSet *dataSet, QString code)
            : name(std::move(table))
            , ds(dataSet)
            , codeField(std::move(code))
        {
        }

        QString name;
        ClientDataSet *ds = nullptr;
        QString codeField; // empty: a table without people
        QHash<QString, QList<Bookmark>> rows;
        bool loaded = false;
        bool inserting = false; // the post under way adds a row
    };
    // A certification sub-table, its rows grouped by code and month.
    struct SubTable
    {
        explicit SubTable(ClientDataSet *dataSet)
            : ds(dataSet)
        {
        }

        ClientDataSet *ds;
        QHash<QString, QList<Bookmark>> rows;
    };
    using Key = std::pair<const char16_t *, QString>; // target field, value

    void wireHooks();
    Table &table(ClientDataSet &ds);
    void openTable(Table &t);
    void indexRows(Table &t);
    void loadCertifications();
    void openReturnTables();
    void closeTables();
    // The rows of a person in a table, still there.
    QList<Bookmark> rowsOf(Table &t, const QString &code);

    // Each posted or deleted row of the return is saved at once, or with
    // the person's transaction when one is open.
    void changed(Table &t);
    void save(Table &t);
    // The transaction of a CU import run, unless the caller has one open;
    // checkpoint() confirms it every kPeoplePerCommit people.
    void beginRun();
    void endRun(bool confirm);
    void checkpoint();
    void commitBatch();
    void beginPerson();
    void commitPerson();
    void abandonPerson();
    // Runs a person's work in his transaction; a failure leaves him as he
    // was and is handed its text.
    void inPerson(const std::function<void()> &work, const std::function<void(const QString &)> &failed);
    // Gives the current employee (or self-employed worker) his person in the
    // store before a row of his is posted.
    qint64 personOf(ClientDataSet &registry);

    // Runs the work of a run; its engine, progress and tables are let go
    // after it, whatever happens. True when every person went in.
    bool runAndClose(const std::function<void()> &work);
    // The people of the certifications from the place of cdsCUD, up to the
    // next commit, the end or a stop (true). With confirmLater, on
    // PostgreSQL, each person's writes reach the server while the next one
    // is computed; EEarlierWriteFailed when the server refused some of them.
    bool importBatch(const QSet<QString> &selected, bool everyone, QSet<QString> &seen, const Options &options,
                     bool confirmLater);
    // Where a batch started, to run it again.
    struct BatchStart
    {
        Bookmark position;
        ImportLog::Mark log;
        QStringList failed;
        int done = 0;
        QString lastPerson;
        QSet<QString> seen;
    };
    // Rolls the batch back: its transaction, the log, the counts and the
    // tables, which are read again.
    void restartBatch(const BatchStart &start, QSet<QString> &seen);
    // The run and its per-person steps.
    void importPerson(const QString &code, const QList<Bookmark> &certifications, const Options &options);
    // Logs and counts certifications that have no fiscal code.
    void refuseWithoutCode(const QList<Bookmark> &certifications);
    void importCertification(const QString &code);
    // The surname and name of the current certification, for the log.
    void rememberName();
    void addOtherAgent();
    void importAgent();
    bool importRegistry(const QString &code, bool adjusting);
    void importFiscalData();
    void importSingle(const QString &section, ClientDataSet &target, const QString &code,
                      std::initializer_list<const char16_t *> triggers, const std::function<void()> &after = {});
    void importInps(const QString &code, const QString &month);
    void importInpdap(const QString &code, const QString &month);
    void importDependants(const QString &code, const QString &month);
    void importInail(const QString &code, const QString &month);
    void importAnnotations(const QString &code);
    void importSelfEmployed(const QString &code, const QString &month);
    void removeEmptyEmployee(const QString &code);
    bool employeeHoldsData() const;
    void deletePerson(const QString &code, bool selfEmployedToo = true);
    bool locateEmployee(const QString &code);
    // Puts the table on the row of the person whose other key fields hold the
    // values given (edit), or on a new row (insert).
    void editOrInsert(ClientDataSet &target, const QString &code, const QList<Key> &keys);
    // Runs a section of the definitions on the current rows; a section that
    // fails raises ENrError with the engine's message, the target cancelled.
    void runSection(const QString &section, ClientDataSet &source, ClientDataSet &target);
    QList<Bookmark> subRows(SubTable &sub, const QString &code, const QString &month);
    QString category(const QString &code);
    // The person's contract of the year; the contracts of everyone are read
    // once a run, the first time one is asked for.
    TdmKbrCalcola::Contratto contract(const QString &code);

    // The integration.
    struct Extinct;
    QString presentExtinctAgent(Extinct &extinct);
    // Throws an Exception naming the file and the column when a table of the
    // folder lacks a column that the integration reads.
    void checkExtinctColumns(Extinct &extinct, bool employees);
    void integraDipendente(Extinct &extinct, const QString &code);
    void integraAutonomo(Extinct &extinct, const QString &code);
    // Puts the extinct agent's registry on the person and opens his block of the log.
    void startExtinctPerson(ClientDataSet &registry, const QList<Bookmark> &rows, const QString &prefix);
    // The extinct agent's annotation codes appended into the free slots.
    void integraAnnotazioni(Extinct &extinct, const QString &code);
    // Runs a reverse section into the target row; text columns the extinct
    // agent leaves empty keep what the row held.
    void mergeSection(const QString &section, ClientDataSet &source, ClientDataSet &target);
    // The extinct agents whose data the current employee has received.
    QStringList integratedFrom() const;

    // The computations, each on one person within his transaction; the
    // payroll data they read are opened once per run.
    void startComputationParts();
    void assistenza730(const QString &code);
    void riportaAddizionaliOf(const QStringList &codes);
    void riportaAddizionaliPersona(const QString &code);
    void ricalcolaDetrazioniPersona(const QString &code);
    void openStoricoTassazioneSeparata();
    void scorporaTassazioneSeparataPersona(const QString &code);
    void scorporaPersona(const QString &code, const QList<Bookmark> &history);
    void openDetrazioniFamiliari();
    void importaFamiliariDipendente(const QString &code);
    void importaFamiliariPersona(const QString &code, const QList<Bookmark> &detractions);
    QString employeeName() const;
    void status(const QString &text);
    // The progress of a run over `total` people: the next one begins; and
    // whether the user asked to stop before the next one, which the log
    // then says, naming the run ("Importazione", "Integrazione").
    void startProgress(NrProgress *progress, int total);
    void nextPerson(const QString &who);
    bool stopRequested(const QString &run);

    THlmDBCds &m_store;
    TdmNruParams &m_params;
    FindingSink &m_findings;
    TdmKbrCalcola m_calcola;
    std::vector<Table> m_tables;
    std::vector<SubTable> m_subTables;
    std::unique_ptr<TImportXML> m_engine;
    QString m_definitions;
    ImportLog m_log;
    QStringList m_failed;
    NrProgress *m_progress = nullptr;
    int m_done = 0;
    int m_total = 0;
    QString m_lastPerson;
    QString m_surname;
    QString m_name;
    QSet<QString> m_otherAgents;
    QSet<QString> m_annotationCodes;
    std::optional<QHash<QString, TdmKbrCalcola::Contratto>> m_contracts;
    // The payroll's separate-taxation history and detraction data, by code.
    QHash<QString, QList<Bookmark>> m_history;
    QHash<QString, QList<Bookmark>> m_detractions;
    // The person's transaction: open, the tables it changed and saved.
    bool m_inPerson = false;
    bool m_ownTransaction = false;
    bool m_runTransaction = false;
    int m_sinceCommit = 0;
    int m_commits = 0;
    std::vector<Table *> m_touched;
    ImportLog::Mark m_logMark;
};

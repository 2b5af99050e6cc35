#pragma once

#include "NrMessages.h"
#include "TfmNrMDIMain.h"

#include <memory>

class TdmElhAttivazioni;
class TdmElhStampe;
class TdmKbrParams;
class TdmkbrConnessione;
class TfmHlmWait;
class THlmDBCds;

// The main window of the return. It creates the table store of the run and
// the print module the print windows share, and shows in message boxes what
// the store and the connection report;
// on first display it opens the school database, prepares the local data
// folder of the year and makes sure the withholding agent's record exists;
// on first activation it starts the command table on its bar and opens the
// news when they are new. Closing frees the store.
class TfmElhMain : public TfmNrMDIMain
{
    Q_OBJECT

public:
    TfmElhMain(TdmkbrConnessione &connection, TdmKbrParams &params, TdmElhAttivazioni &commands,
               QWidget *parent = nullptr);
    ~TfmElhMain() override;

    THlmDBCds *store() const { return m_store.get(); }
    // The data root, ending in a separator.
    const QString &rootFolder() const { return m_rootFolder; }
    // The school's fiscal code from the school database, empty when unknown.
    QString schoolFiscalCode() const;
    void setWaitWindow(TfmHlmWait *wait);

    QAction *ac1024;
    QAction *acVediStrumenti;
    QAction *miInvioTele;
    QAction *acIstruzioni;

protected:
    void FormShow() override;
    void FormActivate() override;
    void FormClose() override;
    void acAidExecute() override;

private:
    void createMenus();
    // Every window class the command table opens, known by its name.
    void registerWindows();

    TdmkbrConnessione &m_connection;
    TdmKbrParams &m_params;
    TdmElhAttivazioni &m_commands;
    FindingBoxes m_boxes;
    QString m_rootFolder;
    std::unique_ptr<THlmDBCds> m_store;
    // The print module the print windows share, on the store.
    std::unique_ptr<TdmElhStampe> m_stampe;
    bool m_activated = false;
};

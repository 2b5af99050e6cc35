#pragma once

#include "ElhMProspSTPDF.h"
#include "NrFindings.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TempDir.h"
#include "TestInstallation.h"

#include <QJsonObject>

// What every print test needs: an installation with a school database on
// SQLite created as "elh770 crea-database" creates it (every table's
// structure for 2022 and 2023), the delivered templates and descriptors in
// its data root, the table store of the year, the findings recorded, and a
// folder for the output. The agent's record holds the school's fiscal code
// unless asked otherwise.
class PrintFixture
{
public:
    explicit PrintFixture(bool withAgent = true);

    // Appends records to a table of the return through the store, each a
    // JSON object of field values.
    void append(const QString &table, const QList<QJsonObject> &records);

    QString file(const QString &name) const { return m_out.file(name); }
    // Runs a print of the Prospetti module into the output folder, expecting
    // it saved; returns the file.
    QString saved(TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*print)(const QString &), const QString &name);
    // A file of the installation's "USR/FL2023/Res/CoordStp" folder.
    QString coordStp(const QString &file) const;
    // The delivered file of the build tree, what output is read back against.
    static QString templatePath(const QString &name);

    FindingList findings;
    THlmDBCds store{2023, QStringLiteral("elh"), 0};

private:
    TestInstallation m_installation{Engine::SQLite};
    TdmkbrConnessione m_connection;
    TempDir m_out;
};

// A page of a print seen as the user reads it: the template page it copies,
// its module number and the texts inside a column, top to bottom.
struct PageView
{
    int templatePage = 0;
    QString module;
    QStringList column;
};
QList<PageView> viewPages(const QString &pdf, double columnLeft, double columnRight);
// The text whose anchor lies in the rectangle; empty when none.
QString textIn(const PdfReadBack::Page &page, double left, double right, double baseline);

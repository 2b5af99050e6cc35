#pragma once

#include "MemoryTables.h"
#include "NrMessages.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "TempDir.h"

#include <QJsonObject>

// What every print test needs: the delivered templates and descriptors of
// the build tree as the data root, the tables in memory with the agent's
// record, the messages recorded, and a folder for the output.
struct PrintFixture
{
    PrintFixture();
    ~PrintFixture();

    MemoryTables tables;
    TempDir out;
    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};

    QString file(const QString &name) const { return out.file(name); }
    static QString templatePath(const QString &name);
};

// A data root of its own holding only some of the delivered files of
// "USR/FL2023/Res/CoordStp"; the build tree's root again when it ends.
struct PartialDataRoot
{
    explicit PartialDataRoot(const QStringList &files);
    ~PartialDataRoot();
    QString coordStp(const QString &file) const;

    TempDir root;
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

// Amount fields carry the row number, so that a row can be recognised.
QString amount(int n);

#pragma once

#include "FieldDefs.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The structure of one table of the store: its fields and, for the tables of
// persons, how their fields map onto the person registry.
struct TableDef
{
    QString name;    // "TSOS_DATOSOSTITUTO"
    QString program; // "elh" for the return, "eli" for the payroll certifications
    bool registry = false;         // each record is a person of the return
    bool fieldMapReadOnly = false; // the mapped person columns are only read
    QString fieldMap;              // "saficognome=SDIP7COGNOME;..."
    FieldDefs fields;

    // The empty client-dataset packet of the structure, as the store keeps it.
    QByteArray structurePacket() const;
};

// The catalogue of the tables that the store holds, read from the readable
// file delivered with the program ("Catalogo.json" in the initial database
// folder):
//   {"tables": [{"name": "TSOS_DATOSOSTITUTO", "program": "elh",
//                "registry": false, "fieldMapReadOnly": false, "fieldMap": "",
//                "fields": ["IFISRIGO:integer", "SSOSCODFIS:string:16", ...]}]}
// A field is NAME:type, NAME:string:size or NAME:decimal:decimals (the
// decimals shown, two when not given) with the types of the packed
// files. Errors name the file, the table and the field.
class ReturnCatalogue
{
public:
    static ReturnCatalogue load(const QString &path);
    static ReturnCatalogue parse(const QByteArray &json, const QString &source);

    const QList<TableDef> &tables() const { return m_tables; }
    // Without regard to case; null when the table is not catalogued.
    const TableDef *find(const QString &name) const;

private:
    QList<TableDef> m_tables;
};

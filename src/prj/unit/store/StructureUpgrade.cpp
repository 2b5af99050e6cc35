#include "StructureUpgrade.h"

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "KbrSchema.h"
#include "NrConnection.h"
#include "NrQuery.h"
#include "ReturnCatalogue.h"

#include <QSet>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// "string:40", "decimal:3", "memo".
QString typeText(const FieldDef &f)
{
    return f.size > 0 ? u"%1:%2"_s.arg(fieldTypeName(f.type)).arg(f.size) : fieldTypeName(f.type);
}

// Whether every value of the stored field keeps in the catalogue's one.
bool widens(const FieldDef &stored, const FieldDef &wanted)
{
    if (stored.type == wanted.type) {
        // A decimal field without a size shows two decimals.
        const auto effective = [](const FieldDef &f) {
            return f.type == FieldType::Decimal && f.size == 0 ? 2 : f.size;
        };
        return stored.type == FieldType::String || stored.type == FieldType::Decimal
                   ? effective(wanted) >= effective(stored)
                   : true;
    }
    return (stored.type == FieldType::String && wanted.type == FieldType::Memo)
           || (stored.type == FieldType::Integer && wanted.type == FieldType::LargeInt)
           || (stored.type == FieldType::Date && wanted.type == FieldType::DateTime);
}

bool sameFields(const FieldDefs &a, const FieldDefs &b)
{
    if (a.count() != b.count())
        return false;
    for (qsizetype i = 0; i < a.count(); ++i) {
        const FieldDef &x = a.at(i);
        const FieldDef &y = b.at(i);
        if (x.name != y.name || x.type != y.type || x.size != y.size || x.required != y.required)
            return false;
    }
    return true;
}

} // namespace

QStringList StructureUpgrade::run(TdmNrConnection &connection, const ReturnCatalogue &catalogue)
{
    QStringList notices;
    struct Stored
    {
        qint64 id;
        QString table;
        int year;
        QByteArray schema;
    };
    QList<Stored> stored;
    TNrQuery list(connection);
    list.fetch(u"QRY_CDS_STRUTTURE"_s, 0, u"SELECT"_s);
    list.open();
    while (list.next()) {
        const TableDef *def = catalogue.find(list.value(u"SCDSNOME"_s).toString());
        if (def && def->program.compare(list.value(u"SCDSPROGRAMMA"_s).toString(), Qt::CaseInsensitive) == 0)
            stored.append({list.value(u"ICDSID"_s).toLongLong(), def->name, list.value(u"ICDSANNO"_s).toInt(),
                           list.value(u"BCDSSCHEMA"_s).toByteArray()});
    }
    list.close();

    for (const Stored &s : stored) {
        const TableDef &def = *catalogue.find(s.table);
        ClientDataSet was;
        was.loadFromBytes(s.schema, u"%1 (anno %2)"_s.arg(s.table).arg(s.year));
        const FieldDefs &old = was.fieldDefs();
        // The fields that hold values, read only when a field would lose them.
        std::optional<QSet<QString>> filled;
        auto holdsValues = [&](const QString &field) {
            if (!filled) {
                filled.emplace();
                TNrQuery q(connection);
                q.fetch(u"QRY_FIS_CAMPI_VALORIZZATI"_s, 0, u"SELECT"_s);
                q.setParam(u"ICDSID"_s, s.id);
                q.open();
                while (q.next())
                    filled->insert(q.value(u"SCAMPO"_s).toString());
                q.close();
            }
            return filled->contains(field.toLower());
        };
        TableDef upgraded = def;
        upgraded.fields.clear();
        for (const FieldDef &wanted : def.fields) {
            const qsizetype at = old.indexOf(wanted.name);
            if (at < 0 || widens(old.at(at), wanted) || !holdsValues(wanted.name)) {
                upgraded.fields.add(wanted);
                continue;
            }
            upgraded.fields.add(old.at(at));
            notices.append(u"Tabella %1 (anno %2): il campo %3 resta %4 perché contiene valori che il tipo %5 del "
                           "catalogo non conserverebbe."_s.arg(s.table)
                               .arg(s.year)
                               .arg(wanted.name, typeText(old.at(at)), typeText(wanted)));
        }
        for (const FieldDef &f : old) {
            if (def.fields.indexOf(f.name) >= 0 || !holdsValues(f.name))
                continue;
            upgraded.fields.add(f);
            notices.append(
                u"Tabella %1 (anno %2): il campo %3 non è più nel catalogo ma contiene valori, e resta nella "
                "struttura."_s.arg(s.table)
                    .arg(s.year)
                    .arg(f.name));
        }
        if (sameFields(upgraded.fields, old))
            continue;
        TNrQuery update(connection);
        update.fetch(u"QRY_CDS_SCHEMA_AGGIORNA"_s);
        update.setParam(u"BCDSSCHEMA"_s, upgraded.structurePacket());
        update.setParam(u"ICDSID"_s, s.id);
        update.execute();
    }
    connection.invalidateCaches();
    return notices;
}

void StructureUpgrade::install()
{
    KbrSchema::setDataUpgrade([](TdmNrConnection &connection) {
        return run(connection, ReturnCatalogue::load(DataPaths::fromRoot(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s)));
    });
}

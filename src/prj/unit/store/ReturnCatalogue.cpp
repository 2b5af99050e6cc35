#include "ReturnCatalogue.h"

#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

QByteArray TableDef::structurePacket() const
{
    ClientDataSet ds(name);
    for (const FieldDef &f : fields)
        ds.fieldDefs().add(f);
    return ds.saveToBytes();
}

ReturnCatalogue ReturnCatalogue::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(u"Impossibile aprire il catalogo delle tabelle «%1»: %2"_s.arg(path, file.errorString()));
    return parse(file.readAll(), path);
}

ReturnCatalogue ReturnCatalogue::parse(const QByteArray &json, const QString &source)
{
    auto fail = [&source](const QString &why) { throw EDatabaseError(u"Catalogo delle tabelle «%1»: %2"_s.arg(source, why)); };
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError)
        fail(u"JSON non valido alla riga %1: %2"_s.arg(json.left(err.offset).count('\n') + 1).arg(err.errorString()));
    if (!doc.object().value(u"tables"_s).isArray())
        fail(u"manca l'elenco «tables»"_s);

    ReturnCatalogue catalogue;
    for (const QJsonValue &value : doc.object().value(u"tables"_s).toArray()) {
        const QJsonObject t = value.toObject();
        TableDef def;
        def.name = t.value(u"name"_s).toString();
        def.program = t.value(u"program"_s).toString();
        def.registry = t.value(u"registry"_s).toBool();
        def.fieldMapReadOnly = t.value(u"fieldMapReadOnly"_s).toBool();
        def.fieldMap = t.value(u"fieldMap"_s).toString();
        if (def.name.isEmpty())
            fail(u"una tabella senza nome"_s);
        if (def.program != u"elh" && def.program != u"eli")
            fail(u"tabella %1: programma «%2» sconosciuto"_s.arg(def.name, def.program));
        if (catalogue.find(def.name))
            fail(u"tabella %1 ripetuta"_s.arg(def.name));
        for (const QJsonValue &f : t.value(u"fields"_s).toArray()) {
            const QStringList parts = f.toString().split(u':');
            FieldType type = FieldType::String;
            bool sizeOk = true;
            const int size = parts.size() > 2 ? parts[2].toInt(&sizeOk) : 0;
            if (parts.size() < 2 || parts.size() > 3 || !fieldTypeFromName(parts[1], &type) || !sizeOk)
                fail(
                    u"tabella %1: campo «%2» non nella forma NOME:tipo, NOME:string:dimensione o NOME:decimal:decimali"_s
                        .arg(def.name, f.toString()));
            try {
                def.fields.add(parts[0], type, size);
            } catch (const EDatabaseError &e) {
                fail(u"tabella %1: %2"_s.arg(def.name, e.message()));
            }
        }
        if (def.fields.isEmpty())
            fail(u"tabella %1 senza campi"_s.arg(def.name));
        catalogue.m_tables.append(def);
    }
    return catalogue;
}

const TableDef *ReturnCatalogue::find(const QString &name) const
{
    for (const TableDef &t : m_tables) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

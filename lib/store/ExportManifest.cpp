#include "ExportManifest.h"

#include "ClientDataSet.h"
#include "DataPaths.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace ExportManifest {

QByteArray bytes(const QString &program, int year, int month)
{
    ClientDataSet ds(u"ESPORTAZIONE"_s);
    ds.fieldDefs().add(u"SPROGRAMMA"_s, FieldType::String, 3);
    ds.fieldDefs().add(u"IANNO"_s, FieldType::Integer);
    ds.fieldDefs().add(u"IMESE"_s, FieldType::Integer);
    ds.createDataSet();
    ds.append();
    ds.fieldByName(u"SPROGRAMMA"_s).setAsString(program);
    ds.fieldByName(u"IANNO"_s).setAsInteger(year);
    ds.fieldByName(u"IMESE"_s).setAsInteger(month);
    ds.post();
    return ds.saveToBytes();
}

int year(const QString &folder)
{
    const QString path = DataPaths::resolve(QDir(folder).absolutePath() + u'/', kFileName);
    if (!QFileInfo(path).isFile())
        return 0;
    ClientDataSet ds;
    ds.loadFromFile(path);
    const Field *field = ds.findField(u"IANNO"_s);
    ds.first();
    return field && !ds.eof() ? static_cast<int>(field->asInteger()) : 0;
}

} // namespace ExportManifest

#include "LongDir.h"

#include <QDir>
#include <QFileInfo>

QString LongDir(const QString &folder)
{
    QString native = folder;
    native.replace(u'\\', u'/');
    const QFileInfo info(native);
    QString path = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

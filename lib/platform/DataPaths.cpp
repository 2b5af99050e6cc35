#include "DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace DataPaths {

namespace {

QString &rootOverride()
{
    static QString root;
    return root;
}

QString withSlash(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

// The entry of `dir` named `name` without regard to case; `name` itself when
// there is none or when it exists as written.
QString matchEntry(const QString &dir, const QString &name)
{
    if (QFileInfo::exists(dir + name))
        return name;
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    }
    return name;
}

} // namespace

QString programDir()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

QString dataRoot()
{
    if (!rootOverride().isEmpty())
        return rootOverride();
    return withSlash(QDir::cleanPath(programDir() + u".."_s));
}

void setDataRoot(const QString &folder)
{
    rootOverride() = folder.isEmpty() ? QString() : withSlash(QDir::cleanPath(QDir(folder).absolutePath()));
}

QString resolve(const QString &base, const QString &relative)
{
    QString rel = relative;
    rel.replace(u'\\', u'/');
    const bool folder = rel.endsWith(u'/');
    QString path = QDir::isAbsolutePath(rel) ? u"/"_s : withSlash(QDir::cleanPath(QDir(base).absolutePath()));
    const QStringList parts = rel.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == u".")
            continue;
        if (part == u"..") {
            path = withSlash(QDir::cleanPath(path + u".."_s));
            continue;
        }
        path += matchEntry(path, part) + u'/';
    }
    if (!folder && path.size() > 1)
        path.chop(1);
    return path;
}

QString fromRoot(const QString &relative)
{
    return resolve(dataRoot(), relative);
}

} // namespace DataPaths

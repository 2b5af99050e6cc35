#include "NrFormRegistry.h"

#include <QHash>

namespace NrFormRegistry {

namespace {

QHash<QString, Factory> &registry()
{
    static QHash<QString, Factory> classes;
    return classes;
}

} // namespace

void registerClass(const QString &className, Factory factory)
{
    registry().insert(className.toCaseFolded(), std::move(factory));
}

const Factory *find(const QString &className)
{
    const auto it = registry().constFind(className.toCaseFolded());
    return it == registry().constEnd() ? nullptr : &it.value();
}

} // namespace NrFormRegistry

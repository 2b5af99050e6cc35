#include "InfoList.h"

#include <QTextStream>

namespace InfoList {

namespace {

Service *g_service = nullptr;

// Without a list window the lines go to the standard error, so that none is
// lost unseen.
void toStandardError(const QStringList &lines)
{
    QTextStream err(stderr);
    for (const QString &line : lines)
        err << line << Qt::endl;
}

} // namespace

void setService(Service *service)
{
    g_service = service;
}

bool ask(const QStringList &lines)
{
    if (g_service)
        return g_service->ask(lines);
    toStandardError(lines);
    return false;
}

void show(const QStringList &lines)
{
    if (g_service)
        g_service->show(lines);
    else
        toStandardError(lines);
}

} // namespace InfoList

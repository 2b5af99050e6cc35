#include "InfoList.h"

namespace InfoList {

namespace {

Service *g_service = nullptr;

} // namespace

void setService(Service *service)
{
    g_service = service;
}

bool ask(const QStringList &lines)
{
    return g_service && g_service->ask(lines);
}

void show(const QStringList &lines)
{
    if (g_service)
        g_service->show(lines);
}

} // namespace InfoList

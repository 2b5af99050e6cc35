#include "NrBusyWait.h"

#include <atomic>

namespace {

std::atomic<NrBusyWaitService *> g_service{nullptr};

} // namespace

void setBusyWaitService(NrBusyWaitService *service)
{
    g_service.store(service);
}

NrBusyWaitService *busyWaitService()
{
    return g_service.load();
}

BusyWaitScope::BusyWaitScope(NrBusyWaitService *service)
    : m_previous(busyWaitService())
{
    setBusyWaitService(service);
}

BusyWaitScope::~BusyWaitScope()
{
    setBusyWaitService(m_previous);
}

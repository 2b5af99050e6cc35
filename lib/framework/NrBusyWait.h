#pragma once

#include <QString>

// Waiting for a database that another program holds. The connection tells
// the installed service at once, asks it while it waits whether the user gave
// up, and gives up by itself after the time of the settings. The desktop shows
// a window with "Annulla", the command line a line on the error output; with
// no service installed the wait is silent.
class NrBusyWaitService
{
public:
    virtual ~NrBusyWaitService() = default;
    // A wait begins; `text` says what the program waits for.
    virtual void begin(const QString &text) = 0;
    // Asked every few hundredths of a second while waiting: true when the
    // user gave up. The service may let window messages run here.
    virtual bool cancelled() = 0;
};

void setBusyWaitService(NrBusyWaitService *service);
NrBusyWaitService *busyWaitService();

// Installs a service for the lifetime of the guard, then restores the previous one.
class BusyWaitScope
{
public:
    explicit BusyWaitScope(NrBusyWaitService *service);
    ~BusyWaitScope();
    BusyWaitScope(const BusyWaitScope &) = delete;
    BusyWaitScope &operator=(const BusyWaitScope &) = delete;

private:
    NrBusyWaitService *m_previous;
};

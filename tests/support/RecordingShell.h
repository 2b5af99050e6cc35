#pragma once

#include "ShellOpen.h"

#include <QStringList>

// Records what would be opened, and installs itself for its lifetime.
struct RecordingShell : ShellOpen::Service
{
    QStringList calls;
    bool answer = true;

    RecordingShell() { ShellOpen::setService(this); }
    ~RecordingShell() override { ShellOpen::setService(nullptr); }
    RecordingShell(const RecordingShell &) = delete;
    RecordingShell &operator=(const RecordingShell &) = delete;

    bool openFile(const QString &path) override
    {
        calls.append(QStringLiteral("file ") + path);
        return answer;
    }
    bool openFolder(const QString &path) override
    {
        calls.append(QStringLiteral("cartella ") + path);
        return answer;
    }
};

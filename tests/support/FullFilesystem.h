#pragma once

#include "TempDir.h"

#include <QString>

#include <string>

// A small file system of its own (tmpfs) mounted on a temporary folder for
// one test, so that a writer can meet a full disk. Mounting needs the
// administrator's rights; CI runs the tests as root.
class FullFilesystem
{
public:
    explicit FullFilesystem(qint64 bytes = 1024 * 1024);
    ~FullFilesystem();
    FullFilesystem(const FullFilesystem &) = delete;
    FullFilesystem &operator=(const FullFilesystem &) = delete;

    bool mounted() const { return m_mounted; }
    // Why it could not be mounted, for GTEST_SKIP.
    std::string skipMessage() const;
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.file(name); }
    // Fills the file system with a filler file so that about `bytes` remain
    // free for the writer under test.
    void leaveFree(qint64 bytes);

private:
    TempDir m_dir;
    bool m_mounted = false;
    int m_error = 0;
};

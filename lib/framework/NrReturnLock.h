#pragma once

#include <QString>

#include <memory>

class QLockFile;
class TdmNrConnection;

// The lock of one return (program, year, month) for a run that writes it
// whole: an import, an integration, the generation of the supply file. It is
// held from construction to destruction; a second run on the same return,
// through another connection or in another process, waits for it up to the
// connection's wait time and is then refused with ENrError "Un'altra
// importazione è in corso su questa dichiarazione". While it waits, the
// busy-wait service says so and may stop the wait.
//   PostgreSQL: a session-level advisory lock on a key derived from the
//               return; the server lets it go when the session ends, also
//               when the process dies.
//   SQLite:     a lock file beside the database file, which is where every
//               client of that database looks; a file left by a process of
//               this machine that died is recognised and taken over.
class TNrReturnLock
{
public:
    TNrReturnLock(TdmNrConnection &connection, const QString &program, int year, int month);
    ~TNrReturnLock();
    TNrReturnLock(const TNrReturnLock &) = delete;
    TNrReturnLock &operator=(const TNrReturnLock &) = delete;

private:
    // One attempt; true when the lock is now held.
    bool tryOnce();

    TdmNrConnection &m_connection;
    qint64 m_key = 0;
    QString m_path;
    std::unique_ptr<QLockFile> m_file;
    bool m_held = false;
};

#pragma once

#include "Exceptions.h"

#include <QByteArrayView>
#include <QString>

// A file that could not be written; the system's error number tells why.
class EWriteError : public EInOutError
{
public:
    EWriteError(QString message, int errorNumber)
        : EInOutError(std::move(message))
        , m_errorNumber(errorNumber)
    {
    }
    int errorNumber() const { return m_errorNumber; }

private:
    int m_errorNumber;
};

// Writes a file that is either whole or not written at all. The bytes go to
// a temporary file beside it, without a buffer, so that the error of every
// write is seen where it happens; the temporary file is synced to the disk
// and closed, each step checked, and only then renamed over the old file.
// Any failure removes the temporary file, leaves the old file as it was and
// raises EInOutError with an Italian sentence naming the file and the cause,
// followed by the system's own text.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &path);
    // A file not replaced by then leaves no temporary file behind.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    const QString &path() const { return m_path; }

    void write(QByteArrayView bytes);
    // Syncs and closes the temporary file; only the rename is left. Files
    // that replace each other's companions (the parts of a split supply)
    // finish them all before any is replaced.
    void finish();
    // Renames the finished temporary file over the path.
    void replace();
    void commit()
    {
        finish();
        replace();
    }

    // The whole file in one call.
    static void save(const QString &path, QByteArrayView bytes);

private:
    [[noreturn]] void fail(int errorNumber);
    void discard();

    QString m_path;
    QString m_temporary;
    int m_fd = -1;
    bool m_finished = false;
    bool m_replaced = false;
};

// Temporary files and folders stand hidden beside their target, named
// ".NAME.tmp-" and a random suffix of digits and lowercase letters.
QString temporarySibling(const QString &path);
// Whether `name` is such a temporary: of the target named `target`, or of any
// target when `target` is empty.
bool isTemporaryName(const QString &name, const QString &target = QString());

// The cause of a failed system call in Italian, followed by the system's own
// text in brackets: "spazio esaurito sul disco (No space left on device)".
QString systemErrorText(int errorNumber);

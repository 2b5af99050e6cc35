#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Writes a folder of files that is either whole or not written at all. The
// files go into a temporary folder beside the target, named as AtomicFile
// names its temporaries, and commit() puts it in the target's place. Until
// then the target stays as it was, so a failure or a kill never leaves old
// and new files mixed; a temporary folder left by a kill is removed by the
// next writer of the same target.
//
// The new folder holds only the files written, so the old one may hold
// nothing else: a folder with other files (or folders) is refused, never
// emptied. Failures raise EInOutError naming the target.
class AtomicFolder
{
public:
    // `names`: the files the folder will hold; the old folder may hold these
    // and the temporaries of their writer, nothing else.
    AtomicFolder(const QString &path, const QStringList &names);
    // A folder not committed by then leaves no temporary folder behind.
    ~AtomicFolder();
    AtomicFolder(const AtomicFolder &) = delete;
    AtomicFolder &operator=(const AtomicFolder &) = delete;

    const QString &path() const { return m_path; }

    // Writes one whole file of the new folder.
    void save(const QString &name, QByteArrayView bytes);
    // Puts the new folder in the target's place and removes the old one.
    void commit();

private:
    [[noreturn]] void fail(const QString &what, int errorNumber);
    void requireOnlyOwnFiles() const;
    void removeStaleTemporaries() const;

    QString m_path;
    QString m_parent;
    QStringList m_names;
    QString m_temporary;
};

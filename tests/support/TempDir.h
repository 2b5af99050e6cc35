#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed at the end.
class TempDir
{
public:
    TempDir();
    QString path() const { return m_dir.path(); }
    // path() + "/" + name
    QString file(const QString &name) const;
    // Writes bytes to path() + "/" + name and returns the full path.
    QString write(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
};

// The bytes of a file, empty when it cannot be read.
QByteArray readFile(const QString &path);

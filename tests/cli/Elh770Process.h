#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// What a run of the program gave back.
struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program file with the arguments in a process, as the user does.
inline Outcome runProgram(const QString &program, const QStringList &args,
                          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Copies the files under a folder into another, keeping their folders.
inline bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

// The program of the build copied into ROOT/bin, as a school installs it.
inline bool installProgram(const QString &root)
{
    return QDir().mkpath(root + QStringLiteral("bin"))
           && QFile::copy(QString::fromUtf8(ELH770_EXE), root + QStringLiteral("bin/elh770"));
}

// Runs the program installed under ROOT with the user's settings under ROOT/config.
inline Outcome runInstalled(const QString &root, const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("config"));
    return runProgram(root + QStringLiteral("bin/elh770"), args, env);
}

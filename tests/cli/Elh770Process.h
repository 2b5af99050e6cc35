#pragma once

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

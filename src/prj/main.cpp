#include "cli/CommandLine.h"
#include "Version.h"

#include <QCoreApplication>

#include <clocale>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral(ELH_PROGRAM_NAME));
    // The query-text store must declare this version.
    QCoreApplication::setApplicationVersion(QStringLiteral(ELH_VERSION));
    // Numbers in files never follow the machine's locale.
    std::setlocale(LC_NUMERIC, "C");
    return runCommandLine(QCoreApplication::arguments().mid(1));
}

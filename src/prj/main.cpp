#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <clocale>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("elh770"));
    // Numbers in files never follow the machine's locale.
    std::setlocale(LC_NUMERIC, "C");
    return runCommandLine(QCoreApplication::arguments().mid(1));
}

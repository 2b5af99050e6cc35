#include "NrApplication.h"
#include "Version.h"
#include "CommandLine.h"
#include "ElhDesktop.h"
#include "StructureUpgrade.h"

#include <QCoreApplication>

#include <clocale>
#include <memory>

int main(int argc, char *argv[])
{
    // Without arguments the desktop program, otherwise the command line,
    // which needs no display.
    const bool desktop = argc <= 1;
    std::unique_ptr<QCoreApplication> app;
    if (desktop)
        app = std::make_unique<TNrApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral(ELH_PROGRAM_NAME));
    // The query-text store must declare this version.
    QCoreApplication::setApplicationVersion(QStringLiteral(ELH_VERSION));
    // Numbers in files never follow the machine's locale.
    std::setlocale(LC_NUMERIC, "C");
    // An older school database gets the structures of this program's tables.
    StructureUpgrade::install();
    return desktop ? runDesktop() : runCommandLine(QCoreApplication::arguments().mid(1));
}

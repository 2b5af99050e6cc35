#include "ElhDesktop.h"

#include "DesktopShell.h"
#include "ElhProgram.h"
#include "QtMessageService.h"
#include "TNrBusyWaitDialog.h"
#include "InfoList.h"
#include "TfmElhInfo.h"

#include <QApplication>

int runDesktop()
{
    // The title stays empty until the main window gives it.
    QApplication::setApplicationDisplayName(QString());
    TNrQtMessageService messages;
    const MessageServiceScope messageScope(&messages);
    TNrBusyWaitDialog busyWait;
    const BusyWaitScope busyScope(&busyWait);
    TfmElhInfoService infoList;
    InfoList::setService(&infoList);
    DesktopShell shell;
    ShellOpen::setService(&shell);

    int status = 0;
    {
        ElhProgram program;
        program.main().show();
        status = QApplication::exec();
    }
    ShellOpen::setService(nullptr);
    InfoList::setService(nullptr);
    return status;
}

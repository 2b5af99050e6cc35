#pragma once

#include "RecordingShell.h"
#include "ReturnDatabaseTest.h"
#include "ScriptedFolders.h"
#include "shell/TdmElhAttivazioni.h"
#include "shell/TfmElhMain.h"

#include <memory>

// The desktop program started on a school database of the return: its
// command table and main window, shown until the bar is filled, with the
// documents it opens recorded and the folders it asks for scripted.
class DesktopTest : public ReturnDatabaseTest
{
protected:
    void TearDown() override;

    // Starts (or starts again) the main window.
    void start();
    void stop();

    TfmElhMain &main() { return *m_main; }
    TdmElhAttivazioni &commands() { return *m_commands; }
    RecordingShell shell;
    ScriptedFolders folders;

private:
    std::unique_ptr<TdmElhAttivazioni> m_commands;
    std::unique_ptr<TfmElhMain> m_main;
};

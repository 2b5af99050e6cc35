#pragma once

#include "TdmElhAttivazioni.h"
#include "TdmKbrParams.h"
#include "TdmkbrConnessione.h"
#include "TfmElhMain.h"
#include "TfmHlmWait.h"

// The data modules and windows of a run of the desktop program, created in
// the program's order once the application object exists: the school
// database connection, the command table, the parameters, the main window,
// the wait window. They live as long as the object.
class ElhProgram
{
public:
    // The user's parameters are read from the settings file given, the
    // user's own when none is.
    explicit ElhProgram(const QString &parametersFile = QString());
    ElhProgram(const ElhProgram &) = delete;
    ElhProgram &operator=(const ElhProgram &) = delete;

    TdmkbrConnessione &connection() { return m_connection; }
    TdmElhAttivazioni &commands() { return m_commands; }
    TfmElhMain &main() { return m_main; }

private:
    TdmkbrConnessione m_connection;
    TdmElhAttivazioni m_commands;
    TdmKbrParams m_params;
    TfmElhMain m_main;
    TfmHlmWait m_wait;
};

#include "ElhProgram.h"

ElhProgram::ElhProgram(const QString &parametersFile)
    : m_params(&m_connection, parametersFile)
    , m_main(m_connection, m_params, m_commands)
{
    m_main.setWaitWindow(&m_wait);
}

#include "ElhProgram.h"

ElhProgram::ElhProgram()
    : m_params(&m_connection)
    , m_main(m_connection, m_params, m_commands)
{
    m_main.setWaitWindow(&m_wait);
}

#pragma once

#include "Exceptions.h"

// The framework's error: raised by record checks before saving; the save
// stops and the text is shown.
class ENrError : public Exception
{
public:
    explicit ENrError(QString text, int code = 0)
        : Exception(std::move(text))
        , m_code(code)
    {
    }
    int code() const { return m_code; }

private:
    int m_code;
};

// The framework's warning.
class ENrWarning : public Exception
{
public:
    using Exception::Exception;
};

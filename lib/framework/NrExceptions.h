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

// Writes sent earlier without waiting for their answers (see
// TdmNrConnection::setConfirmLater) that the server refused: the step that
// sent them failed, not the one running now. The transaction can only be
// rolled back.
class EEarlierWriteFailed : public EDatabaseError
{
public:
    using EDatabaseError::EDatabaseError;
};

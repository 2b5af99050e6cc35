#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Base of every error the program raises on purpose. The message is the
// Italian text shown to the user; what() gives it in UTF-8 for logs.
class Exception : public std::exception
{
public:
    explicit Exception(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A silent abort: a command or a post refused after its message was already
// shown. The event loop and the command line swallow it without a word.
class EAbort : public Exception
{
public:
    EAbort()
        : Exception(QString())
    {
    }
};

[[noreturn]] inline void Abort()
{
    throw EAbort();
}

// Errors of the client dataset: wrong state, unknown field, malformed filter,
// unreadable packed file.
class EDatabaseError : public Exception
{
public:
    using Exception::Exception;
};

// A text that does not convert to the number or date it should hold.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// A broken assumption of the program rather than of its data, such as a
// statement asked of the query store that the store does not hold.
class EAssertionFailed : public Exception
{
public:
    using Exception::Exception;
};

// A file that cannot be read or written.
class EInOutError : public Exception
{
public:
    using Exception::Exception;
};

// The one exception of the SQLite layer: a SQLite result code and its message.
#pragma once

#include <QByteArray>

#include <exception>

class CSQlite3Error : public std::exception
{
public:
    // Writes the code and the message to the diagnostic output, so every SQLite failure is
    // logged once, wherever it is caught.
    CSQlite3Error(int code, const QByteArray &message);

    const char *what() const noexcept override { return m_strMessage.constData(); }
    int Code() const { return m_iCode; }
    const QByteArray &Message() const { return m_strMessage; }

private:
    int m_iCode;
    QByteArray m_strMessage;
};

#include "import/sqlite3error.h"

#include "platform/tuvo.h"

CSQlite3Error::CSQlite3Error(int code, const QByteArray &message) : m_iCode(code), m_strMessage(message)
{
    Tuvo_OutputDebug(" ======= sqlite error, code[%d], message[%s] ======= ", m_iCode, m_strMessage.constData());
}

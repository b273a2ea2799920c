#include "platform/onvif/onvifhttp.h"

#include "platform/dvrbackend.h"

#include <QDeadlineTimer>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <thread>

namespace {

int Remaining(const QDeadlineTimer &deadline)
{
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

} // namespace

COnvifHttpReader::State COnvifHttpReader::Fail(ONVIF_HTTP_ANSWER::Outcome outcome)
{
    m_answer.eOutcome = outcome;
    m_answer.body.clear();
    m_data.clear();
    return m_eState = Failed;
}

COnvifHttpReader::State COnvifHttpReader::Feed(const QByteArray &bytes, bool endOfStream)
{
    if (m_eState != NeedMore)
        return m_eState;
    m_data += bytes;
    if (!m_bHeaderDone) {
        const State header = ParseHeader();
        if (header != Complete)
            return header == Failed || !endOfStream ? header : Fail(ONVIF_HTTP_ANSWER::Malformed);
    }
    if (m_bChunked) {
        const State chunks = ParseChunks();
        if (chunks == NeedMore && endOfStream)
            return Fail(ONVIF_HTTP_ANSWER::Malformed);
        return chunks;
    }
    if (m_answer.body.size() + m_data.size() > m_iMaxBody)
        return Fail(ONVIF_HTTP_ANSWER::TooLarge);
    m_answer.body += m_data;
    m_data.clear();
    if (m_iContentLength >= 0) {
        if (m_answer.body.size() >= m_iContentLength) {
            // Bytes beyond the answer belong to no request of ours: the connection is not clean.
            if (m_answer.body.size() > m_iContentLength)
                m_bKeepAlive = false;
            m_answer.body.truncate(static_cast<int>(m_iContentLength));
            return Finish();
        }
        return endOfStream ? Fail(ONVIF_HTTP_ANSWER::Malformed) : NeedMore;
    }
    m_bKeepAlive = false; // framed by the end of the connection
    return endOfStream ? Finish() : NeedMore;
}

COnvifHttpReader::State COnvifHttpReader::ParseHeader()
{
    for (;;) {
        // Searched from where the last search stopped: a device sending its header byte by byte
        // must not make this quadratic.
        const int from = std::max(0, m_iHeaderScanned - 3);
        int end = m_data.indexOf("\r\n\r\n", from);
        int separator = 4;
        const int bare = m_data.indexOf("\n\n", from);
        if (bare >= 0 && (end < 0 || bare < end)) {
            end = bare;
            separator = 2;
        }
        if (end < 0) {
            m_iHeaderScanned = m_data.size();
            return m_data.size() > kMaxHeaderBytes ? Fail(ONVIF_HTTP_ANSWER::Malformed) : NeedMore;
        }
        if (end > kMaxHeaderBytes)
            return Fail(ONVIF_HTTP_ANSWER::Malformed);
        const QList<QByteArray> lines = m_data.left(end).split('\n');
        m_data.remove(0, end + separator);
        m_iHeaderScanned = 0;

        const QList<QByteArray> status = lines.first().trimmed().split(' ');
        bool ok = false;
        const int code = status.size() >= 2 ? status.at(1).toInt(&ok) : 0;
        if (!status.first().startsWith("HTTP/1.") || !ok || code < 100 || code > 999)
            return Fail(ONVIF_HTTP_ANSWER::Malformed);
        if (code < 200)
            continue; // an interim answer; the real one follows
        m_answer.iStatus = code;
        m_bKeepAlive = status.first() != "HTTP/1.0";
        for (int i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const int colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-length") {
                const qint64 length = value.toLongLong(&ok);
                if (!ok || length < 0 || (m_iContentLength >= 0 && length != m_iContentLength))
                    return Fail(ONVIF_HTTP_ANSWER::Malformed);
                m_iContentLength = length;
            } else if (name == "transfer-encoding") {
                m_bChunked = value.toLower().contains("chunked");
            } else if (name == "www-authenticate") {
                m_answer.authenticate << value;
            } else if (name == "connection") {
                const QByteArray tokens = value.toLower();
                if (tokens.contains("close"))
                    m_bKeepAlive = false;
                else if (tokens.contains("keep-alive"))
                    m_bKeepAlive = true;
            }
        }
        if (m_bChunked)
            m_iContentLength = -1;
        if (m_iContentLength > m_iMaxBody)
            return Fail(ONVIF_HTTP_ANSWER::TooLarge);
        m_bHeaderDone = true;
        return Complete;
    }
}

COnvifHttpReader::State COnvifHttpReader::ParseChunks()
{
    // Complete chunks are taken from a cursor and the buffer is cut once at the end, so many
    // tiny chunks cost no more than one large one.
    int pos = 0;
    for (;;) {
        const int lineEnd = m_data.indexOf('\n', pos);
        if (lineEnd < 0) {
            if (m_data.size() - pos > 1024)
                return Fail(ONVIF_HTTP_ANSWER::Malformed);
            break;
        }
        QByteArray sizeText = m_data.mid(pos, lineEnd - pos);
        const int extension = sizeText.indexOf(';');
        if (extension >= 0)
            sizeText.truncate(extension);
        sizeText = sizeText.trimmed();
        bool ok = false;
        const qint64 size = sizeText.toLongLong(&ok, 16);
        if (!ok || size < 0 || sizeText.size() > 12)
            return Fail(ONVIF_HTTP_ANSWER::Malformed);
        if (size == 0) {
            // Trailers, if any, would be taken for the next answer: such a connection is not reused.
            if (m_data.size() - lineEnd - 1 != 2 || m_data.mid(lineEnd + 1) != "\r\n")
                m_bKeepAlive = false;
            return Finish();
        }
        if (m_answer.body.size() + size > m_iMaxBody)
            return Fail(ONVIF_HTTP_ANSWER::TooLarge);
        // The chunk and the line break after it must both be here before anything is taken.
        const qint64 dataEnd = lineEnd + 1 + size;
        const qint64 available = m_data.size() - dataEnd;
        const char first = available > 0 ? m_data.at(static_cast<int>(dataEnd)) : 0;
        const char second = available > 1 ? m_data.at(static_cast<int>(dataEnd) + 1) : 0;
        qint64 next = -1;
        if (first == '\n')
            next = dataEnd + 1;
        else if (first == '\r' && second == '\n')
            next = dataEnd + 2;
        else if (available > 1 || (available == 1 && first != '\r'))
            return Fail(ONVIF_HTTP_ANSWER::Malformed);
        if (next < 0)
            break;
        m_answer.body += m_data.mid(lineEnd + 1, static_cast<int>(size));
        pos = static_cast<int>(next);
    }
    m_data.remove(0, pos);
    return NeedMore;
}

COnvifHttpReader::State COnvifHttpReader::Finish()
{
    m_answer.eOutcome = ONVIF_HTTP_ANSWER::Ok;
    m_answer.bKeepAlive = m_bKeepAlive;
    m_data.clear();
    return m_eState = Complete;
}

bool OnvifHeaderSafe(const QByteArray &text)
{
    return std::none_of(text.cbegin(), text.cend(),
                        [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F; });
}

QList<QHostAddress> OnvifResolve(const QString &host, const QDeadlineTimer &deadline, bool *timedOut)
{
    *timedOut = false;
    const QHostAddress literal(host);
    if (!literal.isNull())
        return {literal};
    const QByteArray name = QUrl::toAce(host);
    if (name.isEmpty() || !OnvifHeaderSafe(name))
        return {};

    // Shared with the lookup thread, which may outlive this call; the system's resolver only,
    // so that a late lookup touches no state of ours or of Qt's.
    struct LOOKUP
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool bDone = false;
        QList<QHostAddress> addresses;
    };
    auto lookup = std::make_shared<LOOKUP>();
    std::thread([lookup, name] {
        QList<QHostAddress> addresses;
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *found = nullptr;
        if (getaddrinfo(name.constData(), nullptr, &hints, &found) == 0) {
            for (const addrinfo *info = found; info; info = info->ai_next) {
                const QHostAddress address(info->ai_addr);
                if (!address.isNull() && !addresses.contains(address))
                    addresses << address;
            }
            freeaddrinfo(found);
        }
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->addresses = addresses;
        lookup->bDone = true;
        lookup->finished.notify_all();
    }).detach();

    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->finished.wait_for(lock, std::chrono::milliseconds(Remaining(deadline)),
                                   [&] { return lookup->bDone; })) {
        *timedOut = true;
        return {};
    }
    return lookup->addresses;
}

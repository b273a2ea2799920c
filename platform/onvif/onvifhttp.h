// HTTP POSTs, blocking on the caller's thread, on a connection of their own (OnvifPost) or on a
// device session's kept connection (COnvifLink, onvifconnection.h).
//
// The device layer calls from worker threads without event loops, so the socket is driven with
// waitFor...() against one deadline: connecting has its own shorter timeout, and the whole
// exchange (host name lookup, connect, send, answer) must end before the total timeout. A host
// name is looked up on a thread of its own, abandoned when the time is up: the system's resolver
// cannot be interrupted, and a silent one would otherwise hold the caller for many seconds. The answer is cut off and
// refused once it exceeds the size cap, whatever the device announces or keeps sending.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QString>

struct ONVIF_LIMITS
{
    int iConnectTimeoutMs = 3000;
    int iTotalTimeoutMs = 10000;
    int iMaxAnswerBytes = 1 << 20; // body of one answer
};

struct ONVIF_HTTP_ANSWER
{
    enum Outcome { Ok, ConnectFailed, TimedOut, TooLarge, Malformed, CertificateChanged };
    Outcome eOutcome = ConnectFailed;
    int iStatus = 0;
    QList<QByteArray> authenticate; // WWW-Authenticate values
    QByteArray body;
    bool bKeepAlive = false; // the connection may carry the next request
};

// Incremental reader of one HTTP/1.x response: headers, then a body framed by Content-Length,
// chunked transfer coding, or the end of the connection.
class COnvifHttpReader
{
public:
    explicit COnvifHttpReader(int maxBodyBytes) : m_iMaxBody(maxBodyBytes) {}

    enum State { NeedMore, Complete, Failed };
    // Takes the next bytes received; endOfStream when the peer has closed.
    State Feed(const QByteArray &bytes, bool endOfStream = false);
    // Valid once Complete (Ok) or Failed (TooLarge or Malformed).
    const ONVIF_HTTP_ANSWER &Answer() const { return m_answer; }

    static constexpr int kMaxHeaderBytes = 64 * 1024;

private:
    State Fail(ONVIF_HTTP_ANSWER::Outcome outcome);
    State ParseHeader();
    State ParseChunks();
    State Finish();

    const int m_iMaxBody;
    QByteArray m_data; // received and not yet consumed
    bool m_bHeaderDone = false;
    int m_iHeaderScanned = 0; // bytes of m_data already searched for the header's end
    bool m_bChunked = false;
    bool m_bKeepAlive = true;
    qint64 m_iContentLength = -1;
    State m_eState = NeedMore;
    ONVIF_HTTP_ANSWER m_answer;
};

// POSTs body to http://host:port/path with the SOAP 1.2 content type (action as its parameter)
// and the extra header lines (each ending in "\r\n"), within limits and before the deadline.
// A path, action or header line that holds a line break or another control character (text a
// device gave us, smuggling a header of its own) is never sent: Malformed.
ONVIF_HTTP_ANSWER OnvifPost(const QString &host, quint16 port, const QByteArray &path, const QByteArray &action,
                            const QByteArray &extraHeaders, const QByteArray &body, const ONVIF_LIMITS &limits,
                            const QDeadlineTimer &deadline);

// The addresses of host (a literal address, or a name looked up as above); empty when the lookup
// failed or the deadline passed first (*timedOut then true).
QList<QHostAddress> OnvifResolve(const QString &host, const QDeadlineTimer &deadline, bool *timedOut);
// True when text may stand in an HTTP header: no control character but the tab.
bool OnvifHeaderSafe(const QByteArray &text);

// One SOAP 1.2 call to an ONVIF service, with the session's credentials.
//
// Credentials go as a WS-Security UsernameToken (PasswordDigest, created on the device's clock)
// until the device answers 401 with a Digest challenge; from then on the session answers the
// challenge on the HTTP level instead (never both at once), counting its nonce uses, and takes
// a fresh challenge once when the device sends one.
#pragma once

#include "platform/onvif/onvifauth.h"
#include "platform/onvif/onvifconnection.h"
#include "platform/onvif/onvifxml.h"

#include <QVector>

#include <memory>

struct ONVIF_ENDPOINT
{
    QString strHost;
    quint16 uPort = 80;
    QByteArray strPath;
    bool bTls = false; // an https address
    bool IsValid() const { return !strHost.isEmpty() && !strPath.isEmpty(); }
};

struct ONVIF_AUTH_STATE
{
    QByteArray strUserName;
    QByteArray strPassword;
    qint64 iClockOffsetMs = 0; // device clock minus ours
    bool bDigest = false;
    OnvifCredentials::DIGEST_CHALLENGE challenge;
    quint32 uNonceCount = 0;
};

struct ONVIF_RESULT
{
    enum Outcome { Ok, ConnectFailed, TimedOut, TooLarge, Malformed, Unauthorized, Fault, CertificateChanged };
    Outcome eOutcome = ConnectFailed;
    QString strDetail;                        // for the log: fault reason or parse error
    std::shared_ptr<COnvifDocument> document; // keeps the answer alive
    COnvifElement response;                   // the <operation>Response element when Ok

    bool IsOk() const { return eOutcome == Ok; }
    // No answer at all, or none to trust: the device is unreachable, not merely unhelpful.
    bool IsTransportFailure() const
    {
        return eOutcome == ConnectFailed || eOutcome == TimedOut || eOutcome == CertificateChanged;
    }
};

const char *OnvifOutcomeText(ONVIF_RESULT::Outcome outcome);

// Calls operation of the service namespace ns at endpoint. content is the XML inside the request
// element, whose prefix "m" is bound to ns. auth nullptr: no credentials; otherwise it is
// read and updated (Digest state). link: the session's kept connections; nullptr: a connection
// for this call alone.
ONVIF_RESULT OnvifCall(const ONVIF_ENDPOINT &endpoint, const char *ns, const char *operation, const QByteArray &content,
                       ONVIF_AUTH_STATE *auth, const ONVIF_LIMITS &limits, COnvifLink *link = nullptr);

struct ONVIF_REQUEST
{
    ONVIF_ENDPOINT endpoint;
    const char *ns = nullptr;
    const char *operation = nullptr;
    QByteArray content;
};

// Several calls that do not depend on each other, all at once: the device answers them in the
// time of one. The first runs on the calling thread, each other one on a thread of its own under
// the caller's limit (deadline and cancel flag), each on a connection of the link's own (at most
// COnvifLink::kMaxConnections at once). Each call starts from the same credentials; a Digest
// challenge learnt by one of them serves the session's later calls. Results in request order.
QVector<ONVIF_RESULT> OnvifCallAll(const QVector<ONVIF_REQUEST> &requests, ONVIF_AUTH_STATE *auth,
                                   const ONVIF_LIMITS &limits, COnvifLink *link);

// "<m:name>escaped value</m:name>"
QByteArray OnvifField(const char *name, const QString &value);

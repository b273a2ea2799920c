#include "platform/onvif/onvifsoap.h"

#include "platform/dvrbackend.h"

#include <QDateTime>

#include <algorithm>
#include <climits>
#include <thread>
#include <vector>

namespace {

constexpr char kSoap11[] = "http://schemas.xmlsoap.org/soap/envelope/";

QByteArray Envelope(const char *ns, const char *operation, const QByteArray &content, const QByteArray &header)
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><s:Envelope xmlns:s=\"") + OnvifUri::kSoap + "\">"
        + (header.isEmpty() ? QByteArray() : "<s:Header>" + header + "</s:Header>") + "<s:Body><m:" + operation
        + " xmlns:m=\"" + ns + "\">" + content + "</m:" + operation + "></s:Body></s:Envelope>";
}

COnvifElement SoapBody(const COnvifDocument &document)
{
    const COnvifElement root = document.Root();
    for (const char *soap : {OnvifUri::kSoap, kSoap11})
        if (root.Is(soap, "Envelope"))
            return root.Child(soap, "Body");
    return COnvifElement();
}

// True when one of the fault's codes is the ONVIF "not authorized" code.
bool IsNotAuthorized(const COnvifElement &fault)
{
    for (COnvifElement code = fault.Child(OnvifUri::kSoap, "Code"); !code.IsNull();
         code = code.Child(OnvifUri::kSoap, "Subcode")) {
        const COnvifElement value = code.Child(OnvifUri::kSoap, "Value");
        const QString text = value.Text();
        const int colon = text.indexOf(':');
        const QString prefix = colon >= 0 ? text.left(colon) : QString();
        if (text.mid(colon + 1) == QLatin1String("NotAuthorized")
            && value.ResolvePrefix(prefix) == QLatin1String(OnvifUri::kError))
            return true;
    }
    return false;
}

ONVIF_RESULT Failure(ONVIF_RESULT::Outcome outcome, const QString &detail = QString())
{
    ONVIF_RESULT result;
    result.eOutcome = outcome;
    result.strDetail = detail;
    return result;
}

} // namespace

const char *OnvifOutcomeText(ONVIF_RESULT::Outcome outcome)
{
    switch (outcome) {
    case ONVIF_RESULT::Ok:
        return "ok";
    case ONVIF_RESULT::ConnectFailed:
        return "no connection";
    case ONVIF_RESULT::TimedOut:
        return "timed out";
    case ONVIF_RESULT::TooLarge:
        return "answer too large";
    case ONVIF_RESULT::Malformed:
        return "malformed answer";
    case ONVIF_RESULT::Unauthorized:
        return "not authorized";
    case ONVIF_RESULT::Fault:
        return "fault";
    case ONVIF_RESULT::CertificateChanged:
        return "certificate changed";
    }
    return "?";
}

QByteArray OnvifField(const char *name, const QString &value)
{
    return QByteArray("<m:") + name + '>' + OnvifEscape(value) + "</m:" + name + '>';
}

ONVIF_RESULT OnvifCall(const ONVIF_ENDPOINT &endpoint, const char *ns, const char *operation, const QByteArray &content,
                       ONVIF_AUTH_STATE *auth, const ONVIF_LIMITS &limits, COnvifLink *link)
{
    const QByteArray action = QByteArray(ns) + '/' + operation;
    ONVIF_HTTP_ANSWER http;
    QDeadlineTimer deadline;
    for (int attempt = 0; attempt < 2; ++attempt) {
        deadline.setRemainingTime(std::max(0, limits.iTotalTimeoutMs));
        QByteArray header;
        QByteArray httpHeaders;
        if (auth && auth->bDigest) {
            const QByteArray cnonce = OnvifCredentials::RandomBytes(12).toHex();
            httpHeaders = "Authorization: "
                + OnvifCredentials::DigestAuthorization(auth->challenge, auth->strUserName, auth->strPassword, "POST",
                                                        endpoint.strPath, ++auth->uNonceCount, cnonce)
                + "\r\n";
        } else if (auth) {
            const QDateTime created = QDateTime::currentDateTimeUtc().addMSecs(auth->iClockOffsetMs);
            header = OnvifCredentials::SecurityHeader(auth->strUserName, auth->strPassword, created,
                                                      OnvifCredentials::RandomBytes(16));
        }
        const QByteArray envelope = Envelope(ns, operation, content, header);
        http = link ? link->Post(endpoint.strHost, endpoint.uPort, endpoint.bTls, endpoint.strPath, action, httpHeaders,
                                 envelope, limits, deadline)
                    : OnvifPost(endpoint.strHost, endpoint.uPort, endpoint.strPath, action, httpHeaders, envelope,
                                limits, deadline);
        if (http.eOutcome != ONVIF_HTTP_ANSWER::Ok || http.iStatus != 401)
            break;
        OnvifCredentials::DIGEST_CHALLENGE challenge;
        if (!auth || attempt > 0 || !OnvifCredentials::ParseChallenge(http.authenticate, &challenge))
            return Failure(ONVIF_RESULT::Unauthorized, QStringLiteral("HTTP 401"));
        auth->bDigest = true;
        auth->challenge = challenge;
        auth->uNonceCount = 0;
    }
    switch (http.eOutcome) {
    case ONVIF_HTTP_ANSWER::Ok:
        break;
    case ONVIF_HTTP_ANSWER::ConnectFailed:
        return Failure(ONVIF_RESULT::ConnectFailed);
    case ONVIF_HTTP_ANSWER::TimedOut:
        return Failure(ONVIF_RESULT::TimedOut);
    case ONVIF_HTTP_ANSWER::TooLarge:
        return Failure(ONVIF_RESULT::TooLarge);
    case ONVIF_HTTP_ANSWER::Malformed:
        return Failure(ONVIF_RESULT::Malformed, QStringLiteral("HTTP framing"));
    case ONVIF_HTTP_ANSWER::CertificateChanged:
        return Failure(ONVIF_RESULT::CertificateChanged);
    }

    auto document = std::make_shared<COnvifDocument>();
    QString error;
    const bool parsed = document->Parse(http.body, &error, deadline);
    if (document->TimedOut())
        return Failure(ONVIF_RESULT::TimedOut, error);
    const COnvifElement body = parsed ? SoapBody(*document) : COnvifElement();
    const COnvifElement fault = body.Child(OnvifUri::kSoap, "Fault");
    if (!fault.IsNull()) {
        const QString reason = fault.Find(OnvifUri::kSoap, "Text").Text().left(200);
        return Failure(IsNotAuthorized(fault) ? ONVIF_RESULT::Unauthorized : ONVIF_RESULT::Fault, reason);
    }
    if (http.iStatus < 200 || http.iStatus > 299)
        return Failure(ONVIF_RESULT::Fault, QStringLiteral("HTTP %1").arg(http.iStatus));
    if (!parsed)
        return Failure(ONVIF_RESULT::Malformed, error.left(200));
    const COnvifElement response = body.Child(ns, (QByteArray(operation) + "Response").constData());
    if (response.IsNull())
        return Failure(ONVIF_RESULT::Malformed, QStringLiteral("no %1Response").arg(QLatin1String(operation)));
    ONVIF_RESULT result;
    result.eOutcome = ONVIF_RESULT::Ok;
    result.document = std::move(document);
    result.response = response;
    return result;
}

QVector<ONVIF_RESULT> OnvifCallAll(const QVector<ONVIF_REQUEST> &requests, ONVIF_AUTH_STATE *auth,
                                   const ONVIF_LIMITS &limits, COnvifLink *link)
{
    QVector<ONVIF_RESULT> results(requests.size());
    if (requests.isEmpty())
        return results;
    // Each call counts its Digest nonce uses in a range of its own (two each: a fresh challenge
    // may be answered once), so that no two requests ever carry the same nonce count.
    std::vector<ONVIF_AUTH_STATE> states(static_cast<size_t>(requests.size()), auth ? *auth : ONVIF_AUTH_STATE());
    for (size_t i = 0; i < states.size(); ++i)
        states[i].uNonceCount += static_cast<quint32>(2 * i);
    auto call = [&](int i) {
        const ONVIF_REQUEST &request = requests.at(i);
        results[i] = OnvifCall(request.endpoint, request.ns, request.operation, request.content,
                               auth ? &states[static_cast<size_t>(i)] : nullptr, limits, link);
    };
    const int remaining = NetDvr_RemainingMs();
    const int budget = remaining == INT_MAX ? -1 : remaining;
    const std::atomic<bool> *const cancel = NetDvr_CancelFlag();
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<size_t>(requests.size() - 1));
    for (int i = 1; i < requests.size(); ++i)
        helpers.emplace_back([&call, budget, cancel, i] {
            const CDvrCallLimit limit(budget, cancel);
            call(i);
        });
    call(0);
    for (std::thread &helper : helpers)
        helper.join();
    if (auth) {
        const ONVIF_AUTH_STATE before = *auth;
        quint32 used = before.uNonceCount;
        for (const ONVIF_AUTH_STATE &state : states)
            used = std::max(used, state.uNonceCount);
        *auth = before;
        auth->uNonceCount = used;
        for (const ONVIF_AUTH_STATE &state : states)
            if (state.bDigest && (!before.bDigest || state.challenge.strNonce != before.challenge.strNonce)) {
                *auth = state; // a fresh challenge, counted from its own start
                break;
            }
    }
    return results;
}

// One HTTP connection to a fake device: reads requests (keep-alive, one at a time), checks the
// credentials, and answers as the device is configured: at once, late, never, slowly, with a
// huge body streamed while the peer reads it, or with broken XML.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

class CFakeOnvifEngine;
struct SOAP_REQUEST;

class CFakeOnvifConnection : public QObject
{
    Q_OBJECT

public:
    CFakeOnvifConnection(CFakeOnvifEngine *engine, int device, QTcpSocket *socket, QObject *parent);
    ~CFakeOnvifConnection() override;

private:
    struct HTTP_REQUEST
    {
        QByteArray method;
        QByteArray path;
        QByteArray version;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    void OnReadyRead();
    void ProcessBuffer();
    void Handle(const HTTP_REQUEST &request);
    // False (and the answer sent) when the request may not pass.
    bool Authenticate(const HTTP_REQUEST &request, const SOAP_REQUEST &soap);
    void Misbehave(const SOAP_REQUEST &soap);

    void Send(int status, const QByteArray &body, const QList<QByteArray> &extraHeaders = {});
    void SendLater(int status, const QByteArray &body, const QList<QByteArray> &extraHeaders = {});
    void Finish(); // one request done: the next may start
    void PumpHuge();
    void TrickleSlow();
    void NotePending();
    QString Scheme() const; // of the service addresses the device reports
    void Log(const QString &text) const;

    CFakeOnvifEngine *const m_pEngine;
    const int m_iDevice;
    QTcpSocket *const m_pSocket;
    QByteArray m_buffer;
    bool m_bBusy = false;    // a request is being answered
    bool m_bCounted = false; // ... and the engine counts it in progress
    bool m_bCloseAfter = false;
    int m_iAnswers = 0;
    qint64 m_iHugeLeft = 0; // bytes of the huge body still to send
    QByteArray m_hugeTail;  // its closing tags
    bool m_bHugeCloses = false;
    QByteArray m_slowLeft; // the rest of a slowly sent answer
};

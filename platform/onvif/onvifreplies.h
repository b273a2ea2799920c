// What a device's answers say, as plain values: service addresses, its clock, its identity and
// role, and its media profiles grouped into channels. Missing or unreadable elements leave the
// defaults; nothing here trusts a device to send what the schema promises.
#pragma once

#include "platform/onvif/onvifsoap.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVector>

struct ONVIF_SERVICES
{
    ONVIF_ENDPOINT device;
    ONVIF_ENDPOINT media;
    ONVIF_ENDPOINT media2;
    bool bRecording = false; // a recording service is offered
};

struct ONVIF_ENCODER
{
    bool bValid = false; // an encoder configuration was present
    QString strToken;
    QString strEncoding;
    double dWidth = 0; // 0: unknown
    double dHeight = 0;
    double dFrameRate = 0; // frames per second, 0: unknown
    double dBitrate = 0;   // kbit/s, 0: unknown
    double dQuality = -1;  // the device's own scale, -1: unknown
};

// A video source of the device with the encoder of its first profile that has one.
struct ONVIF_CHANNEL
{
    QString strSourceToken;
    QString strProfileToken;
    ONVIF_ENCODER encoder;
};

struct ONVIF_RANGE
{
    bool bKnown = false;
    double dMin = 0;
    double dMax = 0;
};

namespace OnvifReplies {

// An endpoint for a service address the device reports. Requests only ever go to the address the
// user logged in to: the reported port is kept when the reported host is that address, else the
// login port is used (a device behind a port mapping reports its own inner address).
ONVIF_ENDPOINT EndpointOf(const QString &xaddr, const QString &loginHost, quint16 loginPort);

// GetServicesResponse, GetCapabilitiesResponse.
ONVIF_SERVICES Services(const COnvifElement &response, const QString &loginHost, quint16 loginPort);
ONVIF_SERVICES Capabilities(const COnvifElement &response, const QString &loginHost, quint16 loginPort);
// GetSystemDateAndTimeResponse: the device's UTC time, invalid when it does not say.
QDateTime DeviceUtc(const COnvifElement &response);

enum Role { RoleUnknown, RoleCamera, RoleRecorder };
// GetScopesResponse: what the type scopes say the device is.
Role RoleOfScopes(const COnvifElement &response);

// tt:VideoEncoderConfiguration and tt:VideoEncoder2Configuration alike.
ONVIF_ENCODER Encoder(const COnvifElement &configuration);
// GetProfilesResponse of Media (ver10) and Media2 (ver20): one channel per video source, in the
// order the sources first appear; sources without a video encoder are left out.
QVector<ONVIF_CHANNEL> ChannelsOfMedia1(const COnvifElement &response);
QVector<ONVIF_CHANNEL> ChannelsOfMedia2(const COnvifElement &response);
// GetVideoEncoderConfigurationOptionsResponse of either service; with several options (Media2)
// the one for encoding, else the first. exact: options that name their encodings without this
// one tell nothing (asked for all encoders at once, they may be another encoder's).
ONVIF_RANGE QualityRange(const COnvifElement &response, const char *ns, const QString &encoding, bool exact = false);

} // namespace OnvifReplies

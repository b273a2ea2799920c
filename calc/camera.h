// The camera record and the small closed vocabularies its integer fields index.
//
// Every camera of a plan is one STRU_CAMERA. Its device type, resolution and level are codes
// into the tables below; the frame rate is a plain number whose text follows one rule.
// The calculation panel, the editing dialogs and the device import all speak this vocabulary,
// so the texts of a table row are produced here and nowhere else.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

// What a camera's live stream carried while it was measured ("Measure bitrate..."), in kbit/s.
struct STRU_MEASURED
{
    QDateTime started;   // local time of the first packet
    double dSeconds = 0; // length of the measurement
    double dAverageKbps = 0;
    double dPeakKbps = 0; // largest one-second window
    double dP95Kbps = 0;  // 95th percentile of the one-second windows

    bool operator==(const STRU_MEASURED &other) const
    {
        return started == other.started && dSeconds == other.dSeconds && dAverageKbps == other.dAverageKbps
            && dPeakKbps == other.dPeakKbps && dP95Kbps == other.dP95Kbps;
    }
};

struct STRU_CAMERA
{
    QByteArray strName;          // local 8-bit encoding; the key of a row within one list
    QByteArray strDeviceIP;      // source device address; empty when added by hand
    int iPort = -1;              // source device port; -1 when added by hand
    int iChannel = -1;           // channel on the source device; -1 when added by hand
    int iType = 1;               // device type code
    int iResolution = 8;         // resolution index 0..11
    int iLevel = 0;              // picture quality level 0..5 (0 best)
    double dFramerate = 25;      // frames per second
    int iBitrate = 0;            // configured bitrate, kbit/s; what the storage formulas add up
    int iRecommendedBitrate = 0; // kbit/s, for display only
    // Recording as it happens today (the "Storage" page); the defaults change nothing above.
    int iWidth = 0;          // true picture size when known (device import, plan files);
    int iHeight = 0;         // 0 x 0: the resolution code's size
    int iCodec = 0;          // NordaStorage::Codec, 0 = H.264
    int iAverageShare = 100; // average bitrate of a variable-bitrate stream, % of iBitrate
    QByteArray strGroup;     // recording group; empty: the source device's group, or "Default"
    // Measurements taken into the plan, oldest first: a day one and a night one tell the night factor.
    QVector<STRU_MEASURED> vecMeasured;
    // What the source device said it is (UTF-8), kept from the import; empty when added by hand.
    QByteArray strMaker;
    QByteArray strModel;
    QByteArray strFirmware;
    QByteArray strSerial;
};
Q_DECLARE_METATYPE(STRU_CAMERA)

namespace NordaVocab {

enum DeviceType { TypeIPC = 0, TypeDVR = 1 };
enum Standard { PAL = 0, NTSC = 1 };
// Columns of the camera table.
enum Column { ColType, ColName, ColLevel, ColResolution, ColFramerate, ColBitrate, ColRecommended };

constexpr int kResolutionCount = 12;
constexpr int kLevelCount = 6;
constexpr int kFirstDvrResolution = 8; // DVR offers "4CIF", "2CIF", "CIF", "QCIF" (8..11)
constexpr int kColumnCount = 7;
// Above any rate a camera records; higher rates are taken as this one.
constexpr double kMaxFramerate = 1000;
constexpr int kCodecCount = 5;         // the codecs of NordaStorage::Codec
constexpr int kMaxAverageShare = 1000; // % of the configured bitrate a stream may average
constexpr int kMaxPictureSide = 65535;
constexpr int kMaxMeasurements = 8; // kept per camera, the newest

// 25 under PAL, 30 under NTSC (any standard other than 0 counts as NTSC).
int FullRate(int standard);

// "DVR" for code 1, "IPC" for anything else.
QString DeviceTypeText(int type);
// Resolution text of an index, empty outside 0..11. Not translated.
QString ResolutionText(int resolution);
// Width and height of a resolution index as the bitrate table's rows were measured (PAL sizes for
// the CIF family; "720P" is 1280 x 720); 0 x 0 outside 0..11.
void NominalSize(int resolution, int *width, int *height);
// The "Resolution" cell: the index's text, or the true size as "2560*1440" when the camera knows
// one that differs from its index's size.
QString ResolutionCellText(const STRU_CAMERA &camera);
// "Level1(best)" .. "Level6" of the camera table, empty outside 0..5.
QString LevelText(int level);
// "1/2", "1/4", "1/8", "1/16" for the exact fractions, else shortest form with six significant digits.
QString FramerateText(double framerate);

// The frame rates a dialog offers for a device type and resolution under a video standard,
// in display order (highest first, then climbing from 1/16).
QVector<double> FramerateChoices(int type, int resolution, int standard);

// The seven cell texts of a camera row: exactly what the record holds, so that the table, the
// saved plan and its report never disagree.
QStringList CameraRowTexts(const STRU_CAMERA &camera);

// Header texts of the camera table.
QStringList ColumnHeaders();

// A frame rate the arithmetic and the texts can take: NaN and rates below 0 become 0 (unknown),
// rates above kMaxFramerate (and +infinity) become kMaxFramerate. Other rates stay as they are.
double SafeFramerate(double framerate);

// Makes a record from outside the dialogs (device import, plan files) safe where it enters, so
// that no later text, recommendation or storage sum meets a value outside the vocabulary:
// - iType: any code other than 1 (DVR) becomes 0 (IPC), as it reads everywhere anyway;
// - iResolution: clamped into 0..11 (below 0 -> 0, above 11 -> 11);
// - iLevel: clamped into 0..5 (below 0 -> 0, above 5 -> 5, the lowest quality);
// - dFramerate: SafeFramerate();
// - iBitrate, iRecommendedBitrate: below 0 -> 0 (a stream records nothing); any positive value
//   stays, the storage sums run in 64 bits and double precision.
// - iWidth, iHeight: both 1..65535 or both 0 (unknown);
// - iCodec: outside the codecs -> 0 (H.264); iAverageShare: clamped into 0..kMaxAverageShare.
// Name, address, port, channel and group are left as they are. Returns true when the record was
// already within the vocabulary, false when a field was mended.
bool SanitizeCamera(STRU_CAMERA &camera);

} // namespace NordaVocab

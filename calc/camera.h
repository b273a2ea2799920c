// The camera record and the small closed vocabularies its integer fields index.
//
// Every camera of a plan is one STRU_CAMERA. Its device type, resolution and level are codes
// into the tables below; the frame rate is a plain number whose text follows one rule.
// The calculation panel, the editing dialogs and the device import all speak this vocabulary,
// so the texts of a table row are produced here and nowhere else.
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

struct STRU_CAMERA
{
    QByteArray strName;     // local 8-bit encoding; the key of a row within one list
    QByteArray strDeviceIP; // source device address; empty when added by hand
    int iPort = -1;         // source device port; -1 when added by hand
    int iChannel = -1;      // channel on the source device; -1 when added by hand
    int iType = 1;          // device type code
    int iResolution = 8;    // resolution index 0..11
    int iLevel = 0;         // picture quality level 0..5 (0 best)
    double dFramerate = 25; // frames per second
    int iBitrate = 0;       // configured bitrate, kbit/s; what the storage formulas add up
    int iRecommendedBitrate = 0; // kbit/s, for display only
};
Q_DECLARE_METATYPE(STRU_CAMERA)

namespace NordaVocab {

enum DeviceType { TypeIPC = 0, TypeDVR = 1 };
enum Standard { PAL = 0, NTSC = 1 };

constexpr int kResolutionCount = 12;
constexpr int kLevelCount = 6;
constexpr int kFirstDvrResolution = 8; // DVR offers "4CIF", "2CIF", "CIF", "QCIF" (8..11)
constexpr int kColumnCount = 7;

// 25 under PAL, 30 under NTSC (any standard other than 0 counts as NTSC).
int FullRate(int standard);

// "DVR" for code 1, "IPC" for anything else.
QString DeviceTypeText(int type);
// Resolution text of an index, empty outside 0..11. Not translated.
QString ResolutionText(int resolution);
// "Level1(best)" .. "Level6" of the camera table, empty outside 0..5.
QString LevelText(int level);
// "1/2", "1/4", "1/8", "1/16" for the exact fractions, else shortest form with six significant digits.
QString FramerateText(double framerate);

// The frame rates a dialog offers for a device type and resolution under a video standard,
// in display order (highest first, then climbing from 1/16).
QVector<double> FramerateChoices(int type, int resolution, int standard);

// The seven cell texts of a camera row. firstAdd applies the rule that a freshly appended
// IPC row (type 0) shows the best level whatever its level.
QStringList CameraRowTexts(const STRU_CAMERA &camera, bool firstAdd = false);

// Header texts of the camera table.
QStringList ColumnHeaders();

} // namespace NordaVocab

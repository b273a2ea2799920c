// Plan files: a camera list with its video standard and the fields of both calculation tabs,
// saved as a ".norda" file and opened again.
//
// The file is UTF-8 JSON, one camera a line, so that people can read, diff and even write it.
// Settings are stored as the texts people know from the table, never as indexes, so that a file
// stays meaningful when the vocabulary grows. Example:
//
//   {
//       "format": "NORDA plan",
//       "version": 2,
//       "standard": "PAL",
//       "calculateTime": {"diskTB": "2", "diskGB": "2000", "hoursPerDay": "24"},
//       "calculateDisk": {"months": "1", "weeks": "4", "days": "30", "hoursPerDay": "24"},
//       "cameras": [
//           {"name": "Cam 1", "deviceType": "DVR", "resolution": "4CIF", "quality": "Level 1(best)", "framerate": "25",
//           "bitrate": 2048, "recommendedBitrate": 3072, "deviceIP": "", "port": -1, "channel": -1},
//           {"name": "Lobby 2", "deviceType": "IPC", "resolution": "1080P(1920*1080)", "quality": "Level 3",
//           "framerate": "1/2", "bitrate": 4096, "recommendedBitrate": 160, "deviceIP": "192.168.1.64", "port": 8000,
//           "channel": 33, "width": 2560, "height": 1440, "codec": "H.265", "averageShare": 100, "group": "Gate"}
//       ],
//       "storage": {"overheadPercent": 15, "codecPercent": {"H.264": 100, "H.265": 60, "MJPEG": 500, "Smart H.264": 50,
//       "Smart H.265": 30},
//                   "groups": [{"name": "Default", "followsCalculateDisk": true, "hours": "CCCCCCCCCCCCCCCCCCCCCCCC",
//                   "activityPercent": 100, "nightStart": 18, "nightEnd": 6, "nightFactorPercent": 100, "daysToKeep":
//                   30},
//                              {"name": "Gate", "followsCalculateDisk": false, "hours": "CCCCCCCCEEEEEEEEEECCCCCC",
//                              "activityPercent": 30, "nightStart": 18, "nightEnd": 8, "nightFactorPercent": 60,
//                              "daysToKeep": 30}]}
//   }
//
// Keys:
// - "format" must be "NORDA plan"; "version" a whole number, at most kVersion (a newer file is
//   refused rather than half understood). Keys this version does not know are ignored.
// - "standard": "PAL" or "NTSC".
// - "calculateTime" / "calculateDisk": the texts of the tabs' input fields, as the fields hold
//   them (optional; missing fields are empty, hours per day "24"). The disk and time fields take
//   what their validators take: empty, "0" or a whole number without leading zeros, within the
//   field's length and the limits the panel keeps them in (76056153 GB, 365 days, and so 76056 TB,
//   52 weeks, 12 months). Hours per day take any text of up to 4 characters, as the field does.
//   A whole number in place of a text is taken as its text.
// - "storage" (version 2, optional): the "Storage" page. "overheadPercent" 0..100;
//   "codecPercent" the codecs' factors against H.264, 1..1000 each (missing codecs keep theirs);
//   "groups" a list of recording groups: "name" (text, up to 64 characters, distinct), "hours"
//   (24 letters from midnight: "C" continuous, "E" event, "-" off), "activityPercent" 0..100,
//   "nightStart" and "nightEnd" 0..23, "nightFactorPercent" 0..1000, "daysToKeep" 0..3650,
//   "followsCalculateDisk" (true: hours per day and days of the "Calculate Disk" tab), "recorder"
//   (the recorder it records on). Every key but "name" is optional. "recorders": the recorders
//   and their disk arrays (planrecorders.h). A version-1 plan opens with the page's defaults.
// - "cameras": a list of objects, in table order:
//   "name" (text, up to 256 characters), "deviceType" ("DVR" or "IPC"), "resolution" (the table's
//   text, "1080P(1920*1080)", or the part before the brackets, "1080P"), "quality" ("Level 1(best)",
//   "Level 2" .. "Level 6"; blanks and "(best)" optional), "framerate" ("1/2", "1/4", "1/8",
//   "1/16" or a decimal number from 0 to 1000, as text or number), "bitrate" (whole kbit/s,
//   0 .. kMaxBitrate). Optional: "deviceIP" (text, default ""), "port" and "channel" (-1 .. 65535,
//   default -1 for a camera added by hand). "recommendedBitrate" is written for people and
//   recomputed on opening for the plan's standard. Version 2, optional: "width" and "height" (the
//   true picture size, 1..65535, both or neither; 0 for unknown), "codec" ("H.264", "H.265",
//   "MJPEG", "Smart H.264", "Smart H.265"), "averageShare" (0..1000 % of the bitrate),
//   "group" (the recording group's name; empty or missing: the camera's automatic group),
//   "measured" (what its stream was measured to carry: a list of {"started": local ISO time,
//   "seconds", "averageKbps", "peakKbps", "p95Kbps"}, oldest first; unusable entries are left out).
//   Texts compare without regard to case.
//
// Opening never applies half a file: Read() fills its output only when it accepts the plan, and
// the caller replaces its plan only then. Refusals and warnings come as English sentences
// translated in the context CPlanFile. Warnings, where the plan is still opened:
// - more than 1024 cameras: the first 1024 are kept (later ones are not checked);
// - camera names that are not distinct: the panel's rows are found by name, so each later camera
//   whose name was used before takes the name "<prefix> <n>", where prefix is its name up to the
//   first blank ("Camera" when that is empty) and n the smallest number no camera of the plan
//   carries in the second part of its name, the numbering of cameras added by hand.
#pragma once

#include "calc/camera.h"
#include "storage/storagemodel.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

struct STRU_PLAN
{
    QVector<STRU_CAMERA> vecCamera;
    int iStandard = NordaVocab::PAL;
    // "Calculate Time": disk size in, record time out.
    QString strDiskTB;
    QString strDiskGB;
    QString strHoursPerDay = QStringLiteral("24");
    // "Calculate Disk": record time in, disk size out.
    QString strMonths;
    QString strWeeks;
    QString strDays;
    QString strHoursPerDay2 = QStringLiteral("24");
    // The "Storage" page: groups, codec factors and overhead.
    NordaStorage::STRU_STORAGE_SETTINGS storage;
};

class CPlanFile
{
    Q_DECLARE_TR_FUNCTIONS(CPlanFile)

public:
    static constexpr const char *kFormatName = "NORDA plan";
    static constexpr int kVersion = 2;
    static constexpr const char *kSuffix = "norda"; // file name suffix, without the dot
    // Far above any plan (1024 cameras take about 250 KB); bigger files are refused unread.
    static constexpr qint64 kMaxFileBytes = qint64(8) * 1024 * 1024;
    // Above anything a camera of the program can carry (a device's own bitrate tops at 2097151).
    static constexpr int kMaxBitrate = 4194304;
    static constexpr int kMaxTextLength = 256; // name and device address

    enum class Result {
        Opened,             // the plan as written
        OpenedWithWarnings, // opened, with changes the messages tell (too many cameras, names)
        Refused,            // nothing was applied; the messages say why
    };

    // The plan as file content. Cameras are written as SanitizeCamera leaves them, so whatever is
    // written opens again.
    static QByteArray Write(const STRU_PLAN &plan);
    // Reads file content into *plan, which is left untouched when the result is Refused. The
    // recommended bitrates are those of the plan's standard. *messages (may be null) receives the
    // refusal or the warnings.
    static Result Read(const QByteArray &bytes, STRU_PLAN *plan, QStringList *messages);

    // Writes the plan through a temporary file that replaces 'path' only once it is complete:
    // a crash or a full disk leaves the earlier file as it was. *error (may be null) says why not.
    static bool Save(const QString &path, const STRU_PLAN &plan, QString *error);
    // Read() on the content of 'path'; folders, files that are not plain files, unreadable files
    // and files above kMaxFileBytes are refused before anything is read.
    static Result Open(const QString &path, STRU_PLAN *plan, QStringList *messages);
};

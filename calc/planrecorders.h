// The recorders of a plan file, inside "storage" (format version 2; a plan without them opens with
// one "Recorder 1" and every group on its default recorder):
//
//   "recorders": [
//       {"name": "Recorder 1", "bays": 8, "disks": 8, "groupSize": 4, "hotSpares": 0, "diskTB": 8,
//        "raid": "RAID 6", "reservePercent": 5, "fillLimitPercent": 10, "workloadTBPerYear": 180,
//        "rebuildMBps": 100}
//   ]
//
// and each group's "recorder": the name of the recorder it records on (missing: its default).
// "name" (1 to 64 characters, distinct) is required, every other key optional with the defaults
// above: "bays" 1..256, "disks" 0..256, "diskTB" 0.01..1000 (as sold, 10^12 bytes), "raid" one
// of "JBOD", "RAID 1", "RAID 5", "RAID 6", "RAID 10", "RAID 50", "RAID 60" (without regard to
// case and blanks), "groupSize" 2..256 (disks per RAID 5/6 group of RAID 50/60), "hotSpares"
// 0..256, "reservePercent" and "fillLimitPercent" 0..90, "workloadTBPerYear" and "rebuildMBps"
// 1..100000, all whole numbers but the disk size. An array those numbers cannot form (RAID 6 of 3
// disks) opens as it is: the page says why it is refused. Anything outside these ranges refuses
// the whole plan with a message naming the recorder and the key, so nothing is half opened.
#pragma once

#include "arrays/recorder.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QVector>

namespace PlanRecorders {

// The list as the file's "recorders" value, one recorder a line, indented for the storage object.
QByteArray Write(const QVector<NordaArrays::STRU_RECORDER> &recorders);
// Reads "recorders" of the storage object into *recorders; false with *error (translated in the
// context CPlanFile) on the first bad value.
bool Read(const QJsonObject &storage, QVector<NordaArrays::STRU_RECORDER> *recorders, QString *error);

} // namespace PlanRecorders

// Which recorder each recording group records on, and what every recorder's array does with its
// groups. The recorders live in the storage settings beside the groups; a group names its
// recorder, so renaming a group or moving cameras never touches an assignment.
//
// Where a group starts: on the recorder its cameras came from, when that source device is a
// recorder, else on "Recorder 1". The camera record keeps its source device's address and its
// device type, so a source device counts as a recorder when one of its cameras is a recorder's
// channel (DVR) or when it gave more than one camera (an IP camera streams one channel; a
// multi-sensor camera is the rare exception the user reassigns). Such a recorder is named by
// the device's address, as its group is. A group takes the recorder of its first camera; a group
// without cameras, "Recorder 1".
#pragma once

#include "arrays/recorder.h"
#include "storage/storagemodel.h"

#include <QSet>

namespace NordaStorage {

// Addresses of the plan's source devices that are recorders (see the top of this file).
QSet<QByteArray> RecorderDevices(const QVector<STRU_CAMERA> &cameras);
// Gives every group without a recorder its default one and makes every recorder a group names
// (with the default array), "Recorder 1" first when it is made; keeps at least one recorder.
// True when anything changed.
bool EnsureRecorders(STRU_STORAGE_SETTINGS &settings, const QVector<STRU_CAMERA> &cameras);
// Keeps the recorders within what the page and the plan file hold: at most kMaxRecorders,
// names of 1 to kMaxRecorderNameLength characters used once; the array's numbers within the
// page's ranges (an array those numbers cannot form stays: the page refuses it with a message).
void SanitizeRecorders(STRU_STORAGE_SETTINGS &settings);

// The user's changes to the recorders: the new list. Groups of a recorder that is gone move to
// the first one.
void ReplaceRecorders(STRU_STORAGE_SETTINGS &settings, const QVector<NordaArrays::STRU_RECORDER> &recorders);
// A recorder's new name, for its groups too.
void RenameRecorder(STRU_STORAGE_SETTINGS &settings, const QString &oldName, const QString &newName);
// Index of a group's recorder; -1 when it names none.
int RecorderOfGroup(const STRU_STORAGE_SETTINGS &settings, int group);

// What a group asks of its array: its bytes a day without the overhead (the array adds it as the
// margin) and the days it keeps.
NordaArrays::STRU_GROUP_DEMAND DemandOf(const STRU_GROUP_RESULT &result);

// One recorder's groups (indices into the settings' groups, in their order) and its results.
struct STRU_RECORDER_LOAD
{
    QVector<int> vecGroups;
    NordaArrays::STRU_ARRAY_RESULT result;
};
// Every recorder's load, in the settings' order, from the groups' results (CStorageCalculator).
QVector<STRU_RECORDER_LOAD> ComputeRecorders(const STRU_STORAGE_SETTINGS &settings,
                                             const QVector<STRU_GROUP_RESULT> &groups);

} // namespace NordaStorage

// A recorder: a storage target with a disk array; recording groups are assigned to it by name.
#pragma once

#include "arrays/arrayload.h"

namespace NordaArrays {

struct STRU_RECORDER
{
    QString strName;
    STRU_DISK_ARRAY array;
    bool operator==(const STRU_RECORDER &other) const { return strName == other.strName && array == other.array; }
    bool operator!=(const STRU_RECORDER &other) const { return !(*this == other); }
};
constexpr int kMaxRecorders = 64;
constexpr int kMaxRecorderNameLength = 64;

// The recorder of hand-added cameras and of cameras read from anything but a recorder. A key in
// plans; the page shows it translated.
inline QString FirstRecorderName()
{
    return QStringLiteral("Recorder 1");
}
inline QString RecorderTitle(const QString &name)
{
    return name == FirstRecorderName() ? CDiskArray::tr("Recorder 1") : name;
}

// Index of the named recorder, -1 when there is none.
inline int IndexOfRecorder(const QVector<STRU_RECORDER> &recorders, const QString &name)
{
    for (int i = 0; i < recorders.size(); ++i) {
        if (recorders.at(i).strName == name)
            return i;
    }
    return -1;
}

} // namespace NordaArrays

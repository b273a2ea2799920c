// The plan's camera list: the cameras in order, the numbering of hand-added names, the limits,
// the switch of video standard, and the merge of imported cameras. The calculation panel shows
// it as a table (row i is camera i) and changes it only through this object, so the count, the
// numbering and the list never drift apart.
#pragma once

#include "calc/camera.h"
#include "calc/cameranumbers.h"

#include <QByteArray>
#include <QVector>

class CBitrateCalculator;

class CCameraList
{
public:
    static constexpr int kMaxCameras = 1024;  // adding by hand stops here
    static constexpr int kMaxImported = 1023; // an import stops one earlier

    const QVector<STRU_CAMERA> &Cameras() const { return m_vecCamera; }
    int Count() const { return m_vecCamera.size(); }
    const STRU_CAMERA &At(int position) const { return m_vecCamera.at(position); }
    // True once as many cameras as the list takes are present; rows appended then come with
    // the limit message.
    bool IsFull() const { return Count() >= kMaxCameras; }

    // Position of the first camera whose decoded name is 'name', -1 when none.
    int IndexOfName(const QString &name) const;

    // Appends up to 'count' copies of the template named "<prefix> <number>" with the smallest
    // free numbers, stopping at kMaxCameras; returns the cameras appended.
    QVector<STRU_CAMERA> AddBatch(STRU_CAMERA camera, const QString &prefix, int count);

    void Replace(int position, const STRU_CAMERA &camera);
    void ReplaceAll(const QVector<STRU_CAMERA> &cameras);
    void Remove(int first, int count);
    // Puts cameras back at 'position' (0..Count()), as undoing a removal does; no limit applies.
    void Insert(int position, const QVector<STRU_CAMERA> &cameras);

    // The order of the list sorted by one table column (NordaVocab::Column), stable: entry i is
    // the present position of the camera that goes to position i. Names compare as people read
    // them ("Cam 2" before "Cam 10"), resolutions by picture size, levels from the best.
    QVector<int> SortedOrder(int column, bool ascending) const;
    // Rearranges the list: position i takes the camera now at order[i]. 'order' must be a
    // permutation of 0..Count()-1; anything else leaves the list as it is.
    void Reorder(const QVector<int> &order);

    // The standard switch of one radio button: every camera whose rate truncates to the old full
    // rate gets the new one, and every recommended bitrate follows 'calculator', which is set to
    // the standard. Returns for each camera whether its frame rate changed.
    QVector<bool> SwitchStandard(CBitrateCalculator &calculator, int standard, int oldFullRate, int newFullRate);

    struct MergeResult
    {
        QVector<STRU_CAMERA> appended; // new cameras, in import order
        QVector<int> updated;          // positions of existing cameras that took new settings
    };
    // Imported cameras: the first camera with the same name (compared byte for byte) takes every
    // field but its name; any other camera is appended while fewer than kMaxImported are
    // present, and dropped silently after that. Each record is made safe first (SanitizeCamera).
    MergeResult MergeImported(const QVector<STRU_CAMERA> &imported);

private:
    void RebuildNumbers();

    QVector<STRU_CAMERA> m_vecCamera;
    CCameraNumbers m_numbers; // numbers of the names in m_vecCamera
};

#include "calc/cameralistcommands.h"

#include "calc/cameralist.h"
#include "measure/measuredrate.h"

#include <algorithm>

namespace {

bool SameCamera(const STRU_CAMERA &a, const STRU_CAMERA &b)
{
    return a.strName == b.strName && a.strDeviceIP == b.strDeviceIP && a.iPort == b.iPort && a.iChannel == b.iChannel
        && a.iType == b.iType && a.iResolution == b.iResolution && a.iLevel == b.iLevel && a.dFramerate == b.dFramerate
        && a.iBitrate == b.iBitrate && a.iRecommendedBitrate == b.iRecommendedBitrate;
}

// Calls 'each(first, count)' for every run of neighbouring positions in the ascending list,
// from the last run to the first when 'backwards' (so that removing keeps the others valid).
template <typename Each>
void ForEachRun(const QVector<int> &positions, bool backwards, Each each)
{
    QVector<QPair<int, int>> runs; // index into positions, length
    for (int i = 0; i < positions.size();) {
        int end = i + 1;
        while (end < positions.size() && positions.at(end) == positions.at(end - 1) + 1)
            ++end;
        runs.append({i, end - i});
        i = end;
    }
    if (backwards)
        std::reverse(runs.begin(), runs.end());
    for (const auto &run : std::as_const(runs))
        each(run.first, run.second);
}

// The host's table after the list was replaced by one of another length.
void ShowReplaced(CCameraListHost *host, int oldCount, int newCount)
{
    host->CamerasChanged(0, std::min(oldCount, newCount));
    if (newCount > oldCount)
        host->CamerasInserted(oldCount, newCount - oldCount);
    else if (newCount < oldCount)
        host->CamerasRemoved(newCount, oldCount - newCount);
}

} // namespace

// ---- adding a batch ------------------------------------------------------------------------

CAddCamerasCommand::CAddCamerasCommand(CCameraListHost *host, const STRU_CAMERA &camera, const QString &prefix,
                                       int count)
    : m_pHost(host), m_camera(camera), m_strPrefix(prefix), m_iCount(count)
{
}

void CAddCamerasCommand::redo()
{
    CCameraList &list = m_pHost->CameraList();
    if (!m_bBuilt) {
        // The names depend on the list as it is now; later redos find it the same again.
        m_bBuilt = true;
        m_added = list.AddBatch(m_camera, m_strPrefix, m_iCount);
        setObsolete(m_added.isEmpty());
    } else {
        list.Insert(list.Count(), m_added);
    }
    m_pHost->CamerasInserted(list.Count() - m_added.size(), m_added.size());
}

void CAddCamerasCommand::undo()
{
    CCameraList &list = m_pHost->CameraList();
    const int first = list.Count() - m_added.size();
    list.Remove(first, m_added.size());
    m_pHost->CamerasRemoved(first, m_added.size());
}

// ---- modifying one camera ------------------------------------------------------------------

CModifyCameraCommand::CModifyCameraCommand(CCameraListHost *host, int position, const STRU_CAMERA &camera)
    : m_pHost(host), m_iPosition(position), m_before(host->CameraList().At(position)), m_after(camera)
{
    setObsolete(SameCamera(m_before, m_after));
}

void CModifyCameraCommand::redo()
{
    m_pHost->CameraList().Replace(m_iPosition, m_after);
    m_pHost->CamerasChanged(m_iPosition, 1);
}

void CModifyCameraCommand::undo()
{
    m_pHost->CameraList().Replace(m_iPosition, m_before);
    m_pHost->CamerasChanged(m_iPosition, 1);
}

// ---- a copy plan's list --------------------------------------------------------------------

CReplaceCamerasCommand::CReplaceCamerasCommand(CCameraListHost *host, const QVector<STRU_CAMERA> &cameras)
    : m_pHost(host), m_before(host->CameraList().Cameras()), m_after(cameras)
{
}

void CReplaceCamerasCommand::Show(const QVector<STRU_CAMERA> &cameras)
{
    CCameraList &list = m_pHost->CameraList();
    const int oldCount = list.Count();
    list.ReplaceAll(cameras);
    ShowReplaced(m_pHost, oldCount, list.Count());
}

void CReplaceCamerasCommand::redo()
{
    Show(m_after);
}

void CReplaceCamerasCommand::undo()
{
    Show(m_before);
}

// ---- deleting ------------------------------------------------------------------------------

CDeleteCamerasCommand::CDeleteCamerasCommand(CCameraListHost *host, QVector<int> positions) : m_pHost(host)
{
    const CCameraList &list = host->CameraList();
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (const int position : std::as_const(positions)) {
        if (position < 0 || position >= list.Count())
            continue;
        m_positions << position;
        m_removed << list.At(position);
    }
    setObsolete(m_positions.isEmpty());
}

void CDeleteCamerasCommand::redo()
{
    CCameraList &list = m_pHost->CameraList();
    ForEachRun(m_positions, true, [&](int index, int count) {
        list.Remove(m_positions.at(index), count);
        m_pHost->CamerasRemoved(m_positions.at(index), count);
    });
}

void CDeleteCamerasCommand::undo()
{
    CCameraList &list = m_pHost->CameraList();
    ForEachRun(m_positions, false, [&](int index, int count) {
        list.Insert(m_positions.at(index), m_removed.mid(index, count));
        m_pHost->CamerasInserted(m_positions.at(index), count);
    });
}

// ---- an import's merge ---------------------------------------------------------------------

CMergeCamerasCommand::CMergeCamerasCommand(CCameraListHost *host, const QVector<STRU_CAMERA> &imported)
    : m_pHost(host), m_imported(imported)
{
}

void CMergeCamerasCommand::redo()
{
    CCameraList &list = m_pHost->CameraList();
    if (!m_bMerged) {
        m_bMerged = true;
        m_iFirstAppended = list.Count();
        const QVector<STRU_CAMERA> before = list.Cameras();
        const CCameraList::MergeResult merged = list.MergeImported(m_imported);
        m_imported.clear();
        // A camera appended by this merge may be updated by a later one of the same name: what
        // the list holds at the end is what counts, for the rows too.
        QVector<int> updated = merged.updated;
        std::sort(updated.begin(), updated.end());
        updated.erase(std::unique(updated.begin(), updated.end()), updated.end());
        for (const int position : std::as_const(updated)) {
            if (position >= m_iFirstAppended || SameCamera(before.at(position), list.At(position)))
                continue;
            m_updated << position;
            m_before << before.at(position);
            m_after << list.At(position);
        }
        m_appended = list.Cameras().mid(m_iFirstAppended);
        setObsolete(m_updated.isEmpty() && m_appended.isEmpty());
    } else {
        for (int i = 0; i < m_updated.size(); ++i)
            list.Replace(m_updated.at(i), m_after.at(i));
        list.Insert(m_iFirstAppended, m_appended);
    }
    for (const int position : std::as_const(m_updated))
        m_pHost->CamerasChanged(position, 1);
    if (!m_appended.isEmpty())
        m_pHost->CamerasInserted(m_iFirstAppended, m_appended.size());
}

void CMergeCamerasCommand::undo()
{
    CCameraList &list = m_pHost->CameraList();
    if (!m_appended.isEmpty()) {
        list.Remove(m_iFirstAppended, m_appended.size());
        m_pHost->CamerasRemoved(m_iFirstAppended, m_appended.size());
    }
    for (int i = 0; i < m_updated.size(); ++i) {
        list.Replace(m_updated.at(i), m_before.at(i));
        m_pHost->CamerasChanged(m_updated.at(i), 1);
    }
}

// ---- the video standard --------------------------------------------------------------------

CSwitchStandardCommand::CSwitchStandardCommand(CCameraListHost *host, int fromStandard, int toStandard)
    : m_pHost(host), m_iFrom(fromStandard), m_iTo(toStandard)
{
    for (const STRU_CAMERA &camera : host->CameraList().Cameras()) {
        m_rates << camera.dFramerate;
        m_recommended << camera.iRecommendedBitrate;
    }
}

void CSwitchStandardCommand::redo()
{
    CCameraList &list = m_pHost->CameraList();
    const int fromRate = NordaVocab::FullRate(m_iFrom);
    const int toRate = NordaVocab::FullRate(m_iTo);
    // The button being left reports first, then the chosen one: its pass stands.
    list.SwitchStandard(m_calculator, m_iFrom, toRate, fromRate);
    list.SwitchStandard(m_calculator, m_iTo, fromRate, toRate);
    m_pHost->StandardShown(m_iTo);
    m_pHost->CamerasChanged(0, list.Count());
}

void CSwitchStandardCommand::undo()
{
    CCameraList &list = m_pHost->CameraList();
    const int count = std::min<int>(list.Count(), m_rates.size());
    for (int i = 0; i < count; ++i) {
        STRU_CAMERA camera = list.At(i);
        camera.dFramerate = m_rates.at(i);
        camera.iRecommendedBitrate = m_recommended.at(i);
        list.Replace(i, camera);
    }
    m_pHost->StandardShown(m_iFrom);
    m_pHost->CamerasChanged(0, list.Count());
}

// ---- sorting -------------------------------------------------------------------------------

CSortCamerasCommand::CSortCamerasCommand(CCameraListHost *host, int column, bool ascending)
    : m_pHost(host), m_iColumn(column), m_bAscending(ascending)
{
}

void CSortCamerasCommand::redo()
{
    CCameraList &list = m_pHost->CameraList();
    if (m_order.isEmpty()) {
        m_order = list.SortedOrder(m_iColumn, m_bAscending);
        bool unchanged = true;
        for (int i = 0; i < m_order.size() && unchanged; ++i)
            unchanged = m_order.at(i) == i;
        setObsolete(unchanged);
    }
    list.Reorder(m_order);
    m_pHost->CamerasChanged(0, list.Count());
    m_pHost->SortShown(m_iColumn, m_bAscending);
}

void CSortCamerasCommand::undo()
{
    CCameraList &list = m_pHost->CameraList();
    QVector<int> back(m_order.size());
    for (int i = 0; i < m_order.size(); ++i)
        back[m_order.at(i)] = i;
    list.Reorder(back);
    m_pHost->CamerasChanged(0, list.Count());
    m_pHost->SortShown(-1, true);
}

// ---- opening a plan ------------------------------------------------------------------------

COpenPlanCommand::COpenPlanCommand(CCameraListHost *host, const STRU_PLAN &plan)
    : m_pHost(host), m_before(host->PagePlan()), m_after(plan)
{
}

void COpenPlanCommand::redo()
{
    m_pHost->ShowPlan(m_after);
}

void COpenPlanCommand::undo()
{
    m_pHost->ShowPlan(m_before);
}

// ---- recording fields of the Storage page --------------------------------------------------

CEditCamerasCommand::CEditCamerasCommand(CCameraListHost *host, const QVector<int> &positions,
                                         const QVector<STRU_CAMERA> &cameras)
    : m_pHost(host)
{
    const CCameraList &list = host->CameraList();
    for (int i = 0; i < positions.size() && i < cameras.size(); ++i) {
        const int position = positions.at(i);
        if (position < 0 || position >= list.Count())
            continue;
        m_positions << position;
        m_before << list.At(position);
        m_after << cameras.at(i);
    }
    setObsolete(m_positions.isEmpty());
}

void CEditCamerasCommand::Show(const QVector<STRU_CAMERA> &cameras)
{
    CCameraList &list = m_pHost->CameraList();
    for (int i = 0; i < m_positions.size(); ++i) {
        list.Replace(m_positions.at(i), cameras.at(i));
        m_pHost->CamerasChanged(m_positions.at(i), 1);
    }
}

void CEditCamerasCommand::redo()
{
    Show(m_after);
}

void CEditCamerasCommand::undo()
{
    Show(m_before);
}

// ---- measured bitrates ---------------------------------------------------------------------

CUseMeasuredCommand::CUseMeasuredCommand(CCameraListHost *host, const QVector<int> &positions,
                                         const QVector<STRU_MEASURED> &measured, int use)
    : CEditCamerasCommand(host, positions, Measured(host, positions, measured, use))
{
}

QVector<STRU_CAMERA> CUseMeasuredCommand::Measured(CCameraListHost *host, const QVector<int> &positions,
                                                   const QVector<STRU_MEASURED> &measured, int use)
{
    const CCameraList &list = host->CameraList();
    QVector<STRU_CAMERA> cameras;
    for (int i = 0; i < positions.size() && i < measured.size(); ++i) {
        const int position = positions.at(i);
        // Out of range: a placeholder the base command leaves out with its position.
        cameras << (position >= 0 && position < list.Count()
                        ? CMeasuredRate::Applied(list.At(position), measured.at(i), CMeasuredRate::Use(use))
                        : STRU_CAMERA());
    }
    return cameras;
}

#include "calc/cameralist.h"

#include "calc/bitratecalculator.h"

#include <QHash>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// Names as people read them: runs of digits by their value ("Cam 2" before "Cam 10"), the rest
// without regard to case.
int NaturalCompare(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            int endA = i, endB = j;
            while (endA < a.size() && a.at(endA).isDigit())
                ++endA;
            while (endB < b.size() && b.at(endB).isDigit())
                ++endB;
            // Leading zeros aside, a longer run is a larger number.
            while (i < endA - 1 && a.at(i) == QLatin1Char('0'))
                ++i;
            while (j < endB - 1 && b.at(j) == QLatin1Char('0'))
                ++j;
            const QStringView digitsX = QStringView(a).mid(i, endA - i);
            const QStringView digitsY = QStringView(b).mid(j, endB - j);
            if (digitsX.size() != digitsY.size())
                return digitsX.size() < digitsY.size() ? -1 : 1;
            if (const int order = digitsX.compare(digitsY))
                return order;
            i = endA;
            j = endB;
            continue;
        }
        if (const int order = QString(a.at(i)).compare(QString(b.at(j)), Qt::CaseInsensitive))
            return order;
        ++i;
        ++j;
    }
    return (a.size() - i) < (b.size() - j) ? -1 : ((a.size() - i) > (b.size() - j) ? 1 : 0);
}

} // namespace

int CCameraList::IndexOfName(const QString &name) const
{
    for (int i = 0; i < m_vecCamera.size(); ++i) {
        if (QString::fromLocal8Bit(m_vecCamera.at(i).strName) == name)
            return i;
    }
    return -1;
}

QVector<STRU_CAMERA> CCameraList::AddBatch(STRU_CAMERA camera, const QString &prefix, int count)
{
    QVector<STRU_CAMERA> added;
    // Names beyond the limit would be dropped anyway; none are built for them.
    for (int i = 0; i < count && !IsFull(); ++i) {
        const QString name = prefix + QLatin1Char(' ') + QString::number(m_numbers.Next());
        camera.strName = name.toLocal8Bit();
        m_vecCamera.append(camera);
        m_numbers.Add(name);
        added.append(camera);
    }
    return added;
}

void CCameraList::Replace(int position, const STRU_CAMERA &camera)
{
    if (position < 0 || position >= m_vecCamera.size())
        return;
    m_numbers.Remove(QString::fromLocal8Bit(m_vecCamera.at(position).strName));
    m_vecCamera[position] = camera;
    m_numbers.Add(QString::fromLocal8Bit(camera.strName));
}

void CCameraList::ReplaceAll(const QVector<STRU_CAMERA> &cameras)
{
    m_vecCamera = cameras;
    RebuildNumbers();
}

void CCameraList::Remove(int first, int count)
{
    if (first < 0 || count <= 0 || first + count > m_vecCamera.size())
        return;
    for (int i = first; i < first + count; ++i)
        m_numbers.Remove(QString::fromLocal8Bit(m_vecCamera.at(i).strName));
    m_vecCamera.erase(m_vecCamera.begin() + first, m_vecCamera.begin() + first + count);
}

void CCameraList::Insert(int position, const QVector<STRU_CAMERA> &cameras)
{
    if (position < 0 || position > m_vecCamera.size())
        return;
    m_vecCamera.insert(position, cameras.size(), STRU_CAMERA());
    for (int i = 0; i < cameras.size(); ++i) {
        m_vecCamera[position + i] = cameras.at(i);
        m_numbers.Add(QString::fromLocal8Bit(cameras.at(i).strName));
    }
}

QVector<int> CCameraList::SortedOrder(int column, bool ascending) const
{
    QVector<int> order(m_vecCamera.size());
    std::iota(order.begin(), order.end(), 0);
    QStringList names;
    if (column == NordaVocab::ColName) {
        names.reserve(m_vecCamera.size());
        for (const STRU_CAMERA &camera : m_vecCamera)
            names << QString::fromLocal8Bit(camera.strName);
    }
    // Negative: a before b. Resolution indexes run from the largest picture down.
    const std::function<int(int, int)> compare = [&](int a, int b) -> int {
        const STRU_CAMERA &x = m_vecCamera.at(a);
        const STRU_CAMERA &y = m_vecCamera.at(b);
        switch (column) {
        case NordaVocab::ColType:
            return NordaVocab::DeviceTypeText(x.iType).compare(NordaVocab::DeviceTypeText(y.iType));
        case NordaVocab::ColName:
            return NaturalCompare(names.at(a), names.at(b));
        case NordaVocab::ColLevel:
            return x.iLevel - y.iLevel;
        case NordaVocab::ColResolution:
            return y.iResolution - x.iResolution;
        case NordaVocab::ColFramerate:
            return x.dFramerate < y.dFramerate ? -1 : (y.dFramerate < x.dFramerate ? 1 : 0);
        case NordaVocab::ColBitrate:
            return x.iBitrate < y.iBitrate ? -1 : (y.iBitrate < x.iBitrate ? 1 : 0);
        case NordaVocab::ColRecommended:
            return x.iRecommendedBitrate < y.iRecommendedBitrate
                ? -1
                : (y.iRecommendedBitrate < x.iRecommendedBitrate ? 1 : 0);
        default:
            return 0;
        }
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return ascending ? compare(a, b) < 0 : compare(b, a) < 0; });
    return order;
}

void CCameraList::Reorder(const QVector<int> &order)
{
    if (order.size() != m_vecCamera.size())
        return;
    QVector<bool> taken(order.size(), false);
    for (const int from : order) {
        if (from < 0 || from >= order.size() || taken.at(from))
            return;
        taken[from] = true;
    }
    QVector<STRU_CAMERA> reordered;
    reordered.reserve(order.size());
    for (const int from : order)
        reordered.append(m_vecCamera.at(from));
    m_vecCamera = reordered; // the same names: the numbering stays
}

QVector<bool> CCameraList::SwitchStandard(CBitrateCalculator &calculator, int standard, int oldFullRate,
                                          int newFullRate)
{
    calculator.SetStandard(standard);
    QVector<bool> changed(m_vecCamera.size(), false);
    for (int i = 0; i < m_vecCamera.size(); ++i) {
        STRU_CAMERA &camera = m_vecCamera[i];
        // Truncated to a whole number, the rate is the old full rate.
        changed[i] = camera.dFramerate >= oldFullRate && camera.dFramerate < oldFullRate + 1;
        if (changed[i])
            camera.dFramerate = newFullRate;
        camera.iRecommendedBitrate = static_cast<int>(
            calculator.RecommendedBitrate(camera.iType, camera.iResolution, camera.dFramerate, camera.iLevel));
    }
    return changed;
}

CCameraList::MergeResult CCameraList::MergeImported(const QVector<STRU_CAMERA> &imported)
{
    MergeResult result;
    // First position of every name, so that a large import into a large list stays linear.
    QHash<QByteArray, int> firstByName;
    firstByName.reserve(m_vecCamera.size() + imported.size());
    for (int i = m_vecCamera.size() - 1; i >= 0; --i)
        firstByName.insert(m_vecCamera.at(i).strName, i);

    for (STRU_CAMERA camera : imported) {
        // Records from devices are made safe here, where they enter the plan.
        NordaVocab::SanitizeCamera(camera);
        const auto found = firstByName.constFind(camera.strName);
        if (found != firstByName.constEnd()) {
            STRU_CAMERA &existing = m_vecCamera[found.value()];
            const QByteArray name = existing.strName;
            // What the stream was measured to carry stays with the camera a new import updates.
            if (camera.vecMeasured.isEmpty())
                camera.vecMeasured = existing.vecMeasured;
            existing = camera;
            existing.strName = name;
            result.updated.append(found.value());
            continue;
        }
        if (Count() >= kMaxImported)
            continue;
        firstByName.insert(camera.strName, m_vecCamera.size());
        m_vecCamera.append(camera);
        m_numbers.Add(QString::fromLocal8Bit(camera.strName));
        result.appended.append(camera);
    }
    return result;
}

void CCameraList::RebuildNumbers()
{
    m_numbers.Clear();
    for (const STRU_CAMERA &camera : std::as_const(m_vecCamera))
        m_numbers.Add(QString::fromLocal8Bit(camera.strName));
}

#include "calc/cameralist.h"

#include "calc/bitratecalculator.h"

#include <QHash>

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

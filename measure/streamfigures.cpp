#include "measure/streamfigures.h"

#include <algorithm>
#include <cmath>

bool CStreamFigures::Add(double timestamp, int bytes, bool keyFrame)
{
    if (!m_bStarted) {
        m_bStarted = true;
        m_dFirst = timestamp;
        m_slices.fill(0, qMax(1, int(std::ceil(m_dSeconds))));
    }
    const double offset = timestamp - m_dFirst;
    if (offset >= m_dSeconds)
        return false;
    // A packet stamped before the first (reordered frames) counts in the first slice.
    const int slice = std::clamp(int(std::floor(offset)), 0, int(m_slices.size()) - 1);
    m_slices[slice] += bytes;
    m_iBytes += bytes;
    ++m_iFrames;
    m_dLast = std::max(m_dLast, offset);
    if (keyFrame) {
        if (m_iKeyFrames == 0)
            m_dFirstKey = offset;
        m_dLastKey = offset;
        ++m_iKeyFrames;
    }
    return true;
}

double CStreamFigures::Covered() const
{
    return m_bStarted && m_dSeconds > 0 ? std::min(1.0, m_dLast / m_dSeconds) : 0;
}

void CStreamFigures::Fill(STREAM_MEASUREMENT *result) const
{
    result->iBytes = m_iBytes;
    result->iFrames = m_iFrames;
    result->dSeconds = m_dSeconds;
    if (m_dSeconds <= 0 || m_slices.isEmpty())
        return;
    result->dAverageKbps = double(m_iBytes) * 8 / 1000 / m_dSeconds;
    result->dFrameRate = m_iFrames / m_dSeconds;
    // Whole slices only: a last partial slice of a fractional window would read low.
    QVector<qint64> slices = m_slices;
    if (slices.size() > 1 && std::floor(m_dSeconds) < m_dSeconds)
        slices.removeLast();
    std::sort(slices.begin(), slices.end());
    result->dPeakKbps = double(slices.last()) * 8 / 1000;
    const int rank = std::clamp(int(std::ceil(0.95 * slices.size())), 1, int(slices.size()));
    result->dP95Kbps = double(slices[rank - 1]) * 8 / 1000;
    result->dKeyFrameInterval = m_iKeyFrames > 1 ? (m_dLastKey - m_dFirstKey) / (m_iKeyFrames - 1) : 0;
}

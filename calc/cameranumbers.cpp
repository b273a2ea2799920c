#include "calc/cameranumbers.h"

#include <QStringView>

int CCameraNumbers::NumberOfName(const QString &name)
{
    const int firstBlank = name.indexOf(QLatin1Char(' '));
    if (firstBlank < 0)
        return 0;
    const int secondBlank = name.indexOf(QLatin1Char(' '), firstBlank + 1);
    const QStringView part = QStringView(name).mid(firstBlank + 1, secondBlank < 0 ? -1 : secondBlank - firstBlank - 1);
    bool ok = false;
    const int number = part.toInt(&ok);
    return ok && number > 0 ? number : 0;
}

void CCameraNumbers::Clear()
{
    m_counts.clear();
    m_iScanFrom = 1;
    m_iNames = 0;
}

void CCameraNumbers::Add(const QString &name)
{
    ++m_iNames;
    const int number = NumberOfName(name);
    if (number > 0)
        ++m_counts[number];
}

void CCameraNumbers::Remove(const QString &name)
{
    --m_iNames;
    const int number = NumberOfName(name);
    if (number <= 0)
        return;
    auto it = m_counts.find(number);
    if (it == m_counts.end())
        return;
    if (--it->second == 0) {
        m_counts.erase(it);
        if (number < m_iScanFrom)
            m_iScanFrom = number;
    }
}

int CCameraNumbers::Next()
{
    while (m_counts.count(m_iScanFrom) != 0)
        ++m_iScanFrom;
    return m_iScanFrom;
}

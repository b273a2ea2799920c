#include "platform/desktopviewer.h"

#include <QProcess>

namespace {
// xdg-mime reads a few small files; an answer later than this is not waited for.
constexpr int kQueryTimeoutMs = 3000;
} // namespace

bool HasDefaultViewer(const QString &mimeType)
{
#if defined(Q_OS_LINUX)
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        if (query.state() != QProcess::NotRunning) {
            query.kill();
            query.waitForFinished();
        }
        return true;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(mimeType);
    return true;
#endif
}

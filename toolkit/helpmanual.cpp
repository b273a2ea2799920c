#include "toolkit/helpmanual.h"

#include "platform/desktopviewer.h"
#include "toolkit/setupfile.h"
#include "toolkit/warndlg.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamReader>

namespace {
const char kEnglishManual[] = "/Vovu Rivoz Ezevivuvov User Manual.pdf";
const char kChineseManual[] = "/硬盘计算工具用户使用手册.pdf";
QString g_userLanguage;

// The "Translator" value as the manual opener sees it: "1" unless the file says otherwise.
bool readManualLanguage(QString *language)
{
    QByteArray contents;
    if (!ReadSetupFile(QStringLiteral("Setup.xml"), &contents)) {
        qDebug() << "No file to read...";
        return false;
    }
    QXmlStreamReader reader(contents);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != QLatin1String("Translator"))
            continue;
        *language = ReadKeyValue(reader, *language);
    }
    return true;
}
} // namespace

void SetHelpManualLanguage(const QString &translator)
{
    g_userLanguage = translator;
}

QString HelpManualPath()
{
    QString language = QStringLiteral("1");
    if (!readManualLanguage(&language))
        return QString();
    if (!g_userLanguage.isEmpty())
        language = g_userLanguage;
    const QString name =
        language == QLatin1String("1") ? QString::fromUtf8(kChineseManual) : QString::fromUtf8(kEnglishManual);
    return QDir::currentPath() + name;
}

bool OpenHelpManual()
{
    const QString path = HelpManualPath();
    if (path.isEmpty())
        return false;
    // A viewer started on a missing file would fail where the user can't see it.
    if (!QFileInfo::exists(path)) {
        qDebug() << "No manual at" << path;
        return false;
    }
    // The desktop accepts the URL whenever its opener starts, also when no program handles PDF
    // files: the user would see nothing happen.
    if (!HasDefaultViewer(QStringLiteral("application/pdf"))) {
        qDebug() << "No viewer for PDF files";
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ShowHelpManual(QWidget *parent)
{
    if (OpenHelpManual())
        return;
    CWarnDlg box(parent);
    box.ShowMsg(QCoreApplication::translate("CBaseDialog", "Info"),
                QCoreApplication::translate("CBaseDialog", "Can not find Manual."));
}

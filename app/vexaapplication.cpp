#include "app/vexaapplication.h"

#include "app/apppath.h"
#include "app/clientconfig.h"
#include "app/languagemanager.h"
#include "app/userlanguage.h"
#include "app/userruntime.h"
#include "toolkit/helpmanual.h"
#include "toolkit/programlook.h"
#include "toolkit/warndlg.h"

#include <QDebug>
#include <QFontDatabase>
#include <QIcon>
#include <QScreen>
#include <QThread>

CVexaApplication::CVexaApplication(int &argc, char **argv, const QString &key) : QApplication(argc, argv), m_strKey(key)
{
    StartFontDatabaseWarmUp();
    setQuitOnLastWindowClosed(false);

    setWindowIcon(QIcon(QStringLiteral(":/images/norda.png")));
    ApplyProgramLook();

    addLibraryPath(QStringLiteral("%1%2plugins").arg(applicationDirPath(), QStringLiteral("/")));
    // addLibraryPath appends when the path is new; the program's own plug-ins come first.
    QStringList paths = libraryPaths();
    const QString own = QStringLiteral("%1%2plugins").arg(applicationDirPath(), QStringLiteral("/"));
    paths.removeAll(own);
    paths.prepend(own);
    setLibraryPaths(paths);

    ClientConfigManager::instance()->load(ResolveAppPath(QStringLiteral("Setup.xml")));

    // The language the user picked from the menu wins over the machine's Setup.xml.
    const int userChoice = UserLanguageChoice();
    if (userChoice >= 0)
        SetHelpManualLanguage(QString::number(userChoice));
    if (ClientLanguageProperty *language =
            ClientLanguageManager::instance()->SelectedLanguage(ClientConfigManager::instance(), userChoice)) {
        if (language->pAppTranslator)
            installTranslator(language->pAppTranslator);
        if (language->pQtTranslator)
            installTranslator(language->pQtTranslator);
        SetRunningLanguage(language->iKey == 1 || language->iKey == 3 ? 1 : 0);
    }

    ProbeSingleInstance();
}

CVexaApplication::~CVexaApplication()
{
    if (m_pFontWarmUp)
        m_pFontWarmUp->wait();
    ClientConfigManager::instance()->clear();
}

// The first text the main window lays out waits for the font database, and filling it (reading
// the system's font configuration and listing every font) is the largest single cost of showing
// the window. Nothing before that point needs fonts, so the database is filled on a thread of its
// own meanwhile; the font database serialises its users, so a window that gets there first
// simply waits for the fill to end.
void CVexaApplication::StartFontDatabaseWarmUp()
{
    m_pFontWarmUp.reset(QThread::create([] { QFontDatabase::families(); }));
    m_pFontWarmUp->start();
}

QString CVexaApplication::InstanceKeyFile(const QString &key)
{
    const QString folder = UserRuntimeDir();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + key + QStringLiteral(".instance");
}

// The key is the user's: its file lives in the user's private runtime folder, so another user
// can neither hold it (and stop this user's program from starting) nor see it. Every session of
// one user shares that folder, so a second session is refused as a second start is.
void CVexaApplication::ProbeSingleInstance()
{
    m_bRunning = false;
    const QString keyFile = InstanceKeyFile(m_strKey);
    if (keyFile.isEmpty()) {
        qDebug() << "Unable to create single instance.";
        return;
    }
    m_sharedMemory.setNativeKey(keyFile);
    // A copy that crashed leaves its segment behind on Unix. Attaching and detaching once
    // removes such an orphan (nobody else is attached), while a running copy keeps it alive.
    if (m_sharedMemory.attach(QSharedMemory::ReadWrite))
        m_sharedMemory.detach();

    if (m_sharedMemory.attach(QSharedMemory::ReadWrite)) {
        // Keys of different files can meet: only a segment of this user's own says "running".
        m_bRunning = SharedMemoryOwnedByUser(keyFile);
        if (m_bRunning)
            return;
        m_sharedMemory.detach();
    }
    if (!m_sharedMemory.create(1, QSharedMemory::ReadWrite))
        qDebug() << "Unable to create single instance.";
}

bool CVexaApplication::CheckRunning()
{
    if (!m_bRunning)
        return false;
    const QString text = tr("Software is already running.");
    qDebug().noquote() << text;
    CWarnDlg dlg(nullptr);
    dlg.ShowMsg(tr("Upgrade"), text);
    return true;
}

bool CVexaApplication::CheckResolution()
{
    const QScreen *screen = primaryScreen();
    if (!screen)
        return false;
    const QRect geometry = screen->geometry();
    if (geometry.width() >= 1024 && geometry.height() >= 768)
        return false;
    const QString text = tr("The least resolution is 1024*768.");
    qDebug().noquote() << text;
    CWarnDlg dlg(nullptr);
    dlg.ShowMsg(tr("Upgrade"), text);
    return true;
}

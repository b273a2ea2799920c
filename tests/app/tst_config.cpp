// Setup.xml reading, the language it chooses and the manual the opener picks.
#include "app/clientconfig.h"
#include "app/languagemanager.h"
#include "toolkit/helpmanual.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray configs(const QByteArray &body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Configs>" + body + "</Configs>\n";
}

QByteArray key(const char *name, const QByteArray &value)
{
    return QByteArray("<") + name + "><Value>" + value + "</Value></" + name + ">";
}
} // namespace

// Receives the URLs the manual opener hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestConfig : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    ClientConfigManager m_config;

    QString load(const QByteArray &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("Setup.xml"));
        writeFile(path, content);
        m_config.clear();
        m_config.load(path);
        return path;
    }

    // A program folder with or without the Chinese catalogues.
    QString programDir(bool withAppCatalogue, bool withQtCatalogue)
    {
        static int serial = 0;
        const QString dir = m_dir.filePath(QStringLiteral("prog%1/").arg(++serial));
        QDir().mkpath(dir + QStringLiteral("translations"));
        const QString built = QStringLiteral(NORDA_OUTPUT_DIR "/translations/");
        if (withAppCatalogue)
            QFile::copy(built + QStringLiteral("norda_zh.qm"), dir + QStringLiteral("translations/norda_zh.qm"));
        if (withQtCatalogue) {
            QFile::copy(built + QStringLiteral("qt_zh_CN.qm"), dir + QStringLiteral("translations/qt_zh_CN.qm"));
            for (const char *name : {"qtbase_zh_CN.qm", "qtmultimedia_zh_CN.qm"})
                QFile::copy(built + QLatin1String(name), dir + QStringLiteral("translations/") + QLatin1String(name));
        }
        return dir;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void missingFileLeavesNoEntriesAndEnglish()
    {
        m_config.clear();
        QVERIFY(!m_config.load(m_dir.filePath(QStringLiteral("nothing.xml"))));
        QVERIFY(!m_config.find(Translator));
        ClientLanguageManager languages(programDir(true, true));
        QCOMPARE(languages.SelectedLanguage(&m_config)->iKey, 2);
        QCOMPARE(languages.SelectedLanguage(&m_config)->locale.language(), QLocale::English);
    }

    void valuesAreReadPerKey()
    {
        load(configs(key("Translator", "1") + key("LogLevel", "4") + key("VersionType", "0")));
        QCOMPARE(m_config.find(Translator)->strValue, QStringLiteral("1"));
        QCOMPARE(m_config.find(LogLevel)->strValue, QStringLiteral("4"));
        QCOMPARE(m_config.find(VersionType)->strValue, QStringLiteral("0"));
        QVERIFY(!m_config.find(static_cast<ConfigKey>(7)));
    }

    void emptyKeyTakesTheNextValue()
    {
        load(configs("<Translator></Translator>" + key("LogLevel", "1")));
        QCOMPARE(m_config.find(Translator)->strValue, QStringLiteral("1"));
        QVERIFY(!m_config.find(LogLevel));
    }

    void firstDuplicateWins()
    {
        load(configs(key("Translator", "1") + key("Translator", "0")));
        QCOMPARE(m_config.intValue(Translator), 1);
    }

    void brokenXmlKeepsWhatWasRead()
    {
        load("<Configs>" + key("Translator", "1") + "<LogLevel><Value>3</Val");
        QCOMPARE(m_config.intValue(Translator), 1);
    }

    void languageChoice_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("appCatalogue");
        QTest::addColumn<bool>("qtCatalogue");
        QTest::addColumn<int>("expectedKey");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<int>("user"); // chosen from the menu; -1 none
        QTest::newRow("1, catalogues present") << key("Translator", "1") << true << true << 3 << true << -1;
        QTest::newRow("1, version 0") << key("Translator", "1") + key("VersionType", "0") << true << true << 3 << true
                                      << -1;
        QTest::newRow("1, version 5") << key("Translator", "1") + key("VersionType", "5") << true << true << 1 << true
                                      << -1;
        QTest::newRow("1, no Qt catalogue") << key("Translator", "1") << true << false << 0 << false << -1;
        QTest::newRow("1, no app catalogue") << key("Translator", "1") << false << true << 0 << false << -1;
        QTest::newRow("0, version 0") << key("Translator", "0") + key("VersionType", "0") << true << true << 2 << false
                                      << -1;
        QTest::newRow("0, version 1") << key("Translator", "0") + key("VersionType", "1") << true << true << 0 << false
                                      << -1;
        QTest::newRow("7 falls back") << key("Translator", "7") << true << true << 0 << false << -1;
        QTest::newRow("abc counts as 0") << key("Translator", "abc") << true << true << 2 << false << -1;
        QTest::newRow("3 directly") << key("Translator", "3") << true << true << 3 << true << -1;
        QTest::newRow("empty then LogLevel 1")
            << QByteArray("<Translator/>") + key("LogLevel", "1") << true << true << 3 << true << -1;
        QTest::newRow("user English over 1") << key("Translator", "1") << true << true << 2 << false << 0;
        QTest::newRow("user Chinese over 0")
            << key("Translator", "0") + key("VersionType", "1") << true << true << 1 << true << 1;
        QTest::newRow("user Chinese, no Qt catalogue") << key("Translator", "0") << true << false << 0 << false << 1;
    }

    void languageChoice()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, appCatalogue);
        QFETCH(bool, qtCatalogue);
        QFETCH(int, expectedKey);
        QFETCH(bool, chinese);
        QFETCH(int, user);
        load(configs(body));
        ClientLanguageManager languages(programDir(appCatalogue, qtCatalogue));
        ClientLanguageProperty *chosen = languages.SelectedLanguage(&m_config, user);
        QVERIFY(chosen);
        QCOMPARE(chosen->iKey, expectedKey);
        QCOMPARE(chosen->locale.language(), chinese ? QLocale::Chinese : QLocale::English);
        if (chinese) {
            QVERIFY(!chosen->pAppTranslator->isEmpty());
            QCOMPARE(chosen->pAppTranslator->translate("CNORDAMainWnd", "Version"), QStringLiteral("版本"));
        }
    }

    void manualChoice_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("manual");
        QTest::addColumn<QString>("user"); // chosen from the menu; empty: none
        const QString english = QStringLiteral("Vovu Rivoz Ezevivuvov User Manual.pdf");
        const QString chinese = QStringLiteral("硬盘计算工具用户使用手册.pdf");
        QTest::newRow("0") << configs(key("Translator", "0")) << english << QString();
        QTest::newRow("1") << configs(key("Translator", "1")) << chinese << QString();
        QTest::newRow("3") << configs(key("Translator", "3")) << english << QString();
        QTest::newRow("none") << configs(key("LogLevel", "0")) << chinese << QString();
        QTest::newRow("user English over 1") << configs(key("Translator", "1")) << english << QStringLiteral("0");
        QTest::newRow("user Chinese over 3") << configs(key("Translator", "3")) << chinese << QStringLiteral("1");
    }

    void manualChoice()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, manual);
        QFETCH(QString, user);
        const QString work = m_dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        writeFile(work + QStringLiteral("/Setup.xml"), content);
        writeFile(work + QLatin1Char('/') + manual, "%PDF-1.4\n");
        const QString old = QDir::currentPath();
        QDir::setCurrent(work);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        SetHelpManualLanguage(user);
        const bool opened = OpenHelpManual();
        SetHelpManualLanguage(QString());
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDir::setCurrent(old);
        QFile::remove(work + QLatin1Char('/') + manual);
        QVERIFY(opened);
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls.first().isValid());
        QCOMPARE(catcher.urls.first().scheme(), QStringLiteral("file"));
        QCOMPARE(catcher.urls.first().toLocalFile(), QDir(work).absolutePath() + QLatin1Char('/') + manual);
    }

    void manualMissingOrNoSetupFails()
    {
        const QString work = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(work);
        const QString old = QDir::currentPath();
        QDir::setCurrent(work);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        const bool withoutSetup = OpenHelpManual();
        writeFile(work + QStringLiteral("/Setup.xml"), configs(key("Translator", "0")));
        const bool withoutManual = OpenHelpManual();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDir::setCurrent(old);
        QVERIFY(!withoutSetup);
        QVERIFY(!withoutManual);
        QVERIFY(catcher.urls.isEmpty());
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"

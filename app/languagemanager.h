// Interface languages: four entries (0 English, 1 Chinese, 2 English, 3 Chinese), each with its
// application and Qt catalogue. Setup.xml's "Translator" and "VersionType" choose one.
#pragma once

#include <QList>
#include <QLocale>
#include <QPointer>
#include <QString>
#include <QTranslator>

class ClientConfigManager;

class ClientLanguageProperty
{
public:
    ClientLanguageProperty();
    virtual ~ClientLanguageProperty();
    ClientLanguageProperty(const ClientLanguageProperty &) = delete;
    ClientLanguageProperty &operator=(const ClientLanguageProperty &) = delete;

    int iKey = -1;
    QLocale locale;
    QPointer<QTranslator> pAppTranslator;
    QPointer<QTranslator> pQtTranslator;
};

class ClientLanguageManager
{
public:
    // The process-wide manager, built from the catalogues beside the program.
    static ClientLanguageManager *instance();

    // Builds the entries from catalogues found under baseDir (a folder path ending in "/").
    explicit ClientLanguageManager(const QString &baseDir);
    ~ClientLanguageManager();
    ClientLanguageManager(const ClientLanguageManager &) = delete;
    ClientLanguageManager &operator=(const ClientLanguageManager &) = delete;

    // The entry chosen by the configuration; the English entry 0 when the choice is unavailable.
    ClientLanguageProperty *SelectedLanguage() const;
    ClientLanguageProperty *SelectedLanguage(const ClientConfigManager *config) const;
    // The same, with the user's own choice (0 English, 1 Chinese) in place of "Translator";
    // -1 when the user has made none.
    ClientLanguageProperty *SelectedLanguage(const ClientConfigManager *config, int userChoice) const;
    ClientLanguageProperty *entry(int key) const;

    // Key chosen by the "Translator" and "VersionType" values.
    static int SelectKey(int translator, int versionType);

private:
    QList<ClientLanguageProperty *> m_entries;
};

#include "app/languagemanager.h"

#include "app/apppath.h"
#include "app/clientconfig.h"
#include "platform/tuvo.h"

#include <atomic>

namespace {
Tuvo_Mutex g_languageMutex;
std::atomic<ClientLanguageManager *> g_languageManager{nullptr};
} // namespace

ClientLanguageProperty::ClientLanguageProperty() : pAppTranslator(new QTranslator), pQtTranslator(new QTranslator)
{
}

ClientLanguageProperty::~ClientLanguageProperty()
{
    delete pAppTranslator.data();
    delete pQtTranslator.data();
}

ClientLanguageManager *ClientLanguageManager::instance()
{
    ClientLanguageManager *manager = g_languageManager.load();
    if (!manager) {
        Tuvo_Guard guard(&g_languageMutex);
        manager = g_languageManager.load();
        if (!manager) {
            static ClientLanguageManager theManager(AppDirPath());
            manager = &theManager;
            g_languageManager.store(manager);
        }
    }
    return manager;
}

ClientLanguageManager::ClientLanguageManager(const QString &baseDir)
{
    for (int key = 0; key <= 3; ++key) {
        auto *entry = new ClientLanguageProperty;
        entry->iKey = key;
        bool keep = true;
        if (key == 1 || key == 3) {
            keep = entry->pAppTranslator->load(baseDir + QStringLiteral("translations/norda_zh.qm"))
                && entry->pQtTranslator->load(baseDir + QStringLiteral("translations/qt_zh_CN.qm"));
            entry->locale = QLocale(QLocale::Chinese, QLocale::China);
        } else {
            // English works untranslated: missing catalogues are no reason to drop it.
            (void)entry->pAppTranslator->load(baseDir + QStringLiteral("translations/norda_en.qm"));
            (void)entry->pQtTranslator->load(baseDir + QStringLiteral("translations/qt_en_CN.qm"));
            entry->locale = QLocale(QLocale::English, QLocale::UnitedStates);
        }
        if (keep)
            m_entries.append(entry);
        else
            delete entry;
    }
}

ClientLanguageManager::~ClientLanguageManager()
{
    qDeleteAll(m_entries);
}

int ClientLanguageManager::SelectKey(int translator, int versionType)
{
    if (translator == 0)
        return versionType == 0 ? 2 : 0;
    if (translator == 1)
        return versionType == 0 ? 3 : 1;
    return translator;
}

ClientLanguageProperty *ClientLanguageManager::entry(int key) const
{
    for (ClientLanguageProperty *property : m_entries)
        if (property->iKey == key)
            return property;
    return nullptr;
}

ClientLanguageProperty *ClientLanguageManager::SelectedLanguage() const
{
    return SelectedLanguage(ClientConfigManager::instance());
}

ClientLanguageProperty *ClientLanguageManager::SelectedLanguage(const ClientConfigManager *config) const
{
    return SelectedLanguage(config, -1);
}

ClientLanguageProperty *ClientLanguageManager::SelectedLanguage(const ClientConfigManager *config, int userChoice) const
{
    const int translator = userChoice >= 0 ? userChoice : config->intValue(Translator);
    const int key = SelectKey(translator, config->intValue(VersionType));
    if (ClientLanguageProperty *chosen = entry(key))
        return chosen;
    return entry(0);
}

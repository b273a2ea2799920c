#include "app/clientconfig.h"

#include "platform/tuvo.h"
#include "toolkit/setupfile.h"

#include <QDebug>
#include <QXmlStreamReader>

#include <atomic>

namespace {
Tuvo_Mutex g_configMutex;
std::atomic<ClientConfigManager *> g_configManager{nullptr};

bool isKeyName(QStringView name)
{
    return name == QLatin1String("Translator") || name == QLatin1String("LogLevel")
        || name == QLatin1String("VersionType");
}
} // namespace

ClientConfigManager *ClientConfigManager::instance()
{
    ClientConfigManager *manager = g_configManager.load();
    if (!manager) {
        Tuvo_Guard guard(&g_configMutex);
        manager = g_configManager.load();
        if (!manager) {
            // Lives until the process ends, like any static.
            static ClientConfigManager theManager;
            manager = &theManager;
            g_configManager.store(manager);
        }
    }
    return manager;
}

ClientConfigManager::~ClientConfigManager()
{
    clear();
}

QString ClientConfigManager::keyName(ConfigKey key)
{
    switch (key) {
    case Translator:
        return QStringLiteral("Translator");
    case LogLevel:
        return QStringLiteral("LogLevel");
    case VersionType:
        return QStringLiteral("VersionType");
    }
    return QString();
}

bool ClientConfigManager::load(const QString &path)
{
    QByteArray contents;
    if (!ReadSetupFile(path, &contents)) {
        qDebug() << "No file to read...";
        return false;
    }
    QXmlStreamReader reader(contents);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() == QLatin1String("Configs"))
            continue;
        auto *entry = new ClientConfig;
        entry->strName = reader.name().toString();
        // A key without its own "Value" takes the next one in the document.
        if (isKeyName(reader.name()))
            entry->strValue = ReadKeyValue(reader);
        m_entries.append(entry);
    }
    return true;
}

ClientConfig *ClientConfigManager::find(ConfigKey key) const
{
    const QString name = keyName(key);
    if (name.isEmpty())
        return nullptr;
    for (ClientConfig *entry : m_entries)
        if (entry->strName == name)
            return entry;
    return nullptr;
}

int ClientConfigManager::intValue(ConfigKey key) const
{
    const ClientConfig *entry = find(key);
    if (!entry)
        return 0;
    bool ok = false;
    const int value = entry->strValue.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

void ClientConfigManager::clear()
{
    qDeleteAll(m_entries);
    m_entries.clear();
}

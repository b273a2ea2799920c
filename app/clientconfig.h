// Setup.xml beside the program: a flat list of keyed entries read once at start-up.
#pragma once

#include <QList>
#include <QString>

enum ConfigKey { Translator = 0, LogLevel = 1, VersionType = 2 };

class ClientConfig
{
public:
    virtual ~ClientConfig() = default;
    QString strName;  // element name
    QString strValue; // text of its "Value" child
};

class ClientConfigManager
{
public:
    static ClientConfigManager *instance();

    // Appends the entries of the file in document order; false when it can't be opened.
    bool load(const QString &path);
    // First entry (document order) of that key, or null.
    ClientConfig *find(ConfigKey key) const;
    // The key's value read as a decimal integer; 0 when missing or not a number.
    int intValue(ConfigKey key) const;
    void clear();

    static QString keyName(ConfigKey key);

    ClientConfigManager() = default;
    ~ClientConfigManager();
    ClientConfigManager(const ClientConfigManager &) = delete;
    ClientConfigManager &operator=(const ClientConfigManager &) = delete;

private:
    QList<ClientConfig *> m_entries;
};

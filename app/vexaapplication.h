// The application object: font, widget style and style sheet, configuration, language and the
// single-instance probe, all set up before the first window exists.
#pragma once

#include <QApplication>
#include <QSharedMemory>
#include <QString>

#include <memory>

class QThread;

class CVexaApplication : public QApplication
{
    Q_OBJECT
public:
    CVexaApplication(int &argc, char **argv, const QString &key);
    ~CVexaApplication() override;

    // Tells the user and returns true when another copy already runs.
    bool CheckRunning();
    // Tells the user and returns true when the primary screen is below 1024 x 768.
    bool CheckResolution();

    bool IsRunning() const { return m_bRunning; }
    // The file the single-instance segment of 'key' is named by, in the user's runtime folder;
    // empty when the user has no private runtime folder.
    static QString InstanceKeyFile(const QString &key);

private:
    void ProbeSingleInstance();
    void StartFontDatabaseWarmUp();

    bool m_bRunning = false;
    QString m_strKey;
    QSharedMemory m_sharedMemory;
    std::unique_ptr<QThread> m_pFontWarmUp;
};

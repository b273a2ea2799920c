#include "import/devicesurvey.h"
#include "tests/import/devicefixture.h"

#include <QItemSelectionModel>
#include <QtTest>

#include <thread>

using namespace Fixture;

namespace {

// Runs the survey off the GUI thread, as the import thread does.
QVector<STRU_DEVICE> SurveyOnWorker(CDeviceSurvey &survey, int maxParallel = kDeviceParallelism)
{
    QVector<STRU_DEVICE> result;
    std::thread worker([&]() { result = survey.CheckSelectedDevices(maxParallel); });
    worker.join();
    return result;
}

QStringList StatusTexts(const QAbstractItemModel &model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

class TestDeviceSurvey : public QObject
{
    Q_OBJECT
private slots:
    void outcomes_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<QList<int>>("analog"); // resolution codes; -1: the read fails
        QTest::addColumn<QList<int>>("ip");
        QTest::addColumn<bool>("wrongPassword");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("importStatus"); // the record starts with 1
        QTest::addColumn<int>("state");        // the row starts with state 1
        QTest::addColumn<QString>("tip");      // the reason beside a failed login

        for (bool online : {true, false}) {
            const char *dialog = online ? "online: " : "client: ";
            auto row = [&](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(dialog + QString(name)));
            };
            const int surveyed = online ? 3 : 1;
            const QString failed = online ? "Login failed" : "Log in failed";
            row("login failed") << online << QList<int>{1} << QList<int>{} << true << failed << 1 << 1
                                << "The device refused the user name or password.";
            row("not reachable") << online << QList<int>{1} << QList<int>{} << false << failed << 1 << 1
                                 << "The device is not reachable.";
            row("no channels") << online << QList<int>{} << QList<int>{} << false << "Import Succeed" << 0 << surveyed
                               << "";
            row("all supported") << online << QList<int>{1, 3} << QList<int>{27, 30} << false << "Import Succeed" << 0
                                 << surveyed << "";
            row("channel 2 unsupported") << online << QList<int>{1, 18, 1} << QList<int>{} << false
                                         << "Some Channels Not Support Resolution" << 1 << surveyed << "";
            row("one unreadable") << online << QList<int>{1, -1, 1, 1} << QList<int>{27} << false
                                  << "Some Channels Can not get compress info" << 1 << surveyed << "";
            row("all unsupported") << online << QList<int>{18} << QList<int>{29} << false << "Not Support Resolution"
                                   << 1 << surveyed << "";
            row("all unreadable") << online << QList<int>{-1, -1} << QList<int>{} << false
                                  << "Can not get compress info" << 1 << surveyed << "";
            row("unsupported and unreadable") << online << QList<int>{18, -1} << QList<int>{} << false
                                              << "Not Support Resolution" << 1 << surveyed << "";
            row("all three") << online << QList<int>{18, -1} << QList<int>{28} << false
                             << "Some Channels Not Support Resolution" << 1 << surveyed << "";
            row("IP channel unreadable") << online << QList<int>{} << QList<int>{27, -1} << false
                                         << "Some Channels Can not get compress info" << 1 << surveyed << "";
        }
    }

    void outcomes()
    {
        QFETCH(bool, online);
        QFETCH(QList<int>, analog);
        QFETCH(QList<int>, ip);
        QFETCH(bool, wrongPassword);
        QFETCH(QString, text);
        QFETCH(int, importStatus);
        QFETCH(int, state);
        QFETCH(QString, tip);

        SCRIPTED_DEVICE scripted = Device("10.0.0.1");
        for (int code : analog)
            scripted.analogChannels << Channel(code < 0 ? 1 : code, 19, 0, 0, code < 0);
        for (int code : ip)
            scripted.AddConnectedIPChannel(Channel(code < 0 ? 1 : code, 19, 0, 0, code < 0));
        auto backend = Install({scripted});
        STRU_DEVICE device = Record(scripted);
        device.iImportStatus = 1;
        if (wrongPassword)
            device.strPassword = "nope";
        // Nothing answers where the unreachable device is listed.
        if (QByteArray(QTest::currentDataTag()).endsWith("not reachable"))
            device.strIP = "10.0.0.99";
        auto model = online ? OnlineTable({device}) : ClientTable({device});
        const int statusColumn = online ? 4 : 3;
        model->item(0, statusColumn)->setData(1, Qt::UserRole);

        CDeviceSurvey survey(online ? OnlineSettings() : ClientSettings());
        QSignalSpy spy(&survey, &CDeviceSurvey::SignalRowStatus);
        survey.Prepare(model.get(), Rows(*model, {0}), {device});
        const QVector<STRU_DEVICE> result = SurveyOnWorker(survey);

        QCOMPARE(result.size(), 1);
        QCOMPARE(result.at(0).iImportStatus, importStatus);
        QCOMPARE(result.at(0).iUserID, -1);
        QCOMPARE(backend->OpenSessions(), 0);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 0);
        QCOMPARE(spy.at(0).at(1).toString(), text);
        QCOMPARE(model->item(0, statusColumn)->text(), text);
        QCOMPARE(model->item(0, statusColumn)->data(Qt::UserRole).toInt(), state);
        QCOMPARE(spy.at(0).at(2).toInt(), state == 1 ? -1 : state);
        QCOMPARE(model->item(0, statusColumn)->toolTip(), tip);
    }

    void everyChannelIsReadEvenAfterAFailure()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.4", 4, 2);
        scripted.analogChannels[1].bReadFails = true;
        Install({scripted});
        const STRU_DEVICE device = Record(scripted);
        auto model = OnlineTable({device});
        CDeviceSurvey survey(OnlineSettings());
        survey.Prepare(model.get(), Rows(*model, {0}), {device});
        QStringList lines;
        {
            CMessageCollector collector;
            SurveyOnWorker(survey);
            lines = collector.Lines().filter("[ktag]");
        }
        const QStringList expected = {
            "[ktag] Import from client,IP: 10.0.0.4,channel:1",  "[ktag] Import from client,IP: 10.0.0.4,channel:2",
            "[ktag] Import from client,IP: 10.0.0.4,channel:3",  "[ktag] Import from client,IP: 10.0.0.4,channel:4",
            "[ktag] Import from client,IP: 10.0.0.4,channel:33", "[ktag] Import from client,IP: 10.0.0.4,channel:34"};
        QCOMPARE(lines, expected);
        QTRY_COMPARE(model->item(0, 4)->text(), QStringLiteral("Some Channels Can not get compress info"));
    }

    void onlySelectedRowsInListAndSelectionOrder()
    {
        QVector<SCRIPTED_DEVICE> scripted;
        QVector<STRU_DEVICE> devices;
        for (int i = 0; i < 5; ++i) {
            scripted << Device("10.0.0." + QByteArray::number(i + 1), i);
            devices << Record(scripted.last());
        }
        auto backend = Install(scripted);
        // Table rows in another order than the list: rows show devices 4, 3, 2, 1, 0.
        QVector<STRU_DEVICE> reversed(devices.rbegin(), devices.rend());
        auto model = OnlineTable(reversed);
        QItemSelectionModel selection(model.get());
        selection.select(model->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); // device 4
        selection.select(model->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); // device 1
        selection.select(model->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); // device 2

        CDeviceSurvey survey(OnlineSettings());
        survey.Prepare(model.get(), selection.selectedRows(), devices);
        const QVector<STRU_DEVICE> result = SurveyOnWorker(survey);
        QCOMPARE(result.size(), 3);
        QCOMPARE(result.at(0).strIP, QByteArray("10.0.0.2"));
        QCOMPARE(result.at(1).strIP, QByteArray("10.0.0.3"));
        QCOMPARE(result.at(2).strIP, QByteArray("10.0.0.5"));
        QCOMPARE(result.at(2).iChannelCount, 4);
        QCOMPARE(backend->LoginAttempts("10.0.0.1", 8000), 0);
        QCOMPARE(backend->LoginAttempts("10.0.0.4", 8000), 0);
        QTRY_COMPARE(StatusTexts(*model, 4),
                     QStringList({"Import Succeed", "Waiting...", "Import Succeed", "Import Succeed", "Waiting..."}));
        QCOMPARE(model->item(1, 4)->data(Qt::UserRole).toInt(), 0);
        QCOMPARE(model->item(3, 4)->data(Qt::UserRole).toInt(), 3);
    }

    void addressKeyMatchesEveryDeviceAtThatAddress()
    {
        SCRIPTED_DEVICE first = Device("10.0.0.8", 1);
        SCRIPTED_DEVICE second = Device("10.0.0.8", 2);
        second.iPort = 8001;
        second.strPassword = "other";
        SCRIPTED_DEVICE third = Device("10.0.0.9", 1);
        auto backend = Install({first, second, third});
        const QVector<STRU_DEVICE> devices = {Record(first), Record(second), Record(third)};
        auto model = ClientTable(devices);

        CDeviceSurvey survey(ClientSettings());
        survey.Prepare(model.get(), Rows(*model, {1}), devices);
        QVector<STRU_DEVICE> result = SurveyOnWorker(survey);
        QCOMPARE(result.size(), 2);
        QCOMPARE(result.at(0).iPort, 8000);
        QCOMPARE(result.at(1).iPort, 8001);
        QCOMPARE(result.at(1).iChannelCount, 2);
        QTRY_COMPARE(StatusTexts(*model, 3), QStringList({"Not Imported", "Import Succeed", "Not Imported"}));

        // Both rows of the address selected: each device is surveyed once per row.
        backend->ResetStatistics();
        survey.Prepare(model.get(), Rows(*model, {1, 0}), devices);
        result = SurveyOnWorker(survey);
        QCOMPARE(result.size(), 4);
        QCOMPARE(result.at(0).iPort, 8000);
        QCOMPARE(result.at(1).iPort, 8000);
        QCOMPARE(result.at(2).iPort, 8001);
        QCOMPARE(result.at(3).iPort, 8001);
        QCOMPARE(backend->LoginAttempts("10.0.0.8", 8000), 2);
        QCOMPARE(backend->LoginAttempts("10.0.0.8", 8001), 2);
        QCOMPARE(backend->LoginAttempts("10.0.0.9", 8000), 0);
        QTRY_COMPARE(StatusTexts(*model, 3), QStringList({"Import Succeed", "Import Succeed", "Not Imported"}));
    }

    void statusArrivesQueuedOnTheGuiThread()
    {
        Install({Device("10.0.0.1", 1), Device("10.0.0.2", 1)});
        const QVector<STRU_DEVICE> devices = {Record(Device("10.0.0.1")), Record(Device("10.0.0.2"))};
        auto model = OnlineTable(devices);
        CDeviceSurvey survey(OnlineSettings());
        QList<bool> onGuiThread;
        connect(&survey, &CDeviceSurvey::SignalRowStatus, this,
                [&]() { onGuiThread << (QThread::currentThread() == thread()); });
        connect(model.get(), &QAbstractItemModel::dataChanged, this,
                [&]() { onGuiThread << (QThread::currentThread() == thread()); });
        survey.Prepare(model.get(), Rows(*model, {0, 1}), devices);

        // Even run on this thread, nothing is written before the event loop delivers it.
        survey.CheckSelectedDevices();
        QCOMPARE(StatusTexts(*model, 4), QStringList({"Waiting...", "Waiting..."}));
        // The table is sorted meanwhile: each text still lands on its device's row.
        model->sort(0, Qt::DescendingOrder);
        QTRY_COMPARE(StatusTexts(*model, 4), QStringList({"Import Succeed", "Import Succeed"}));
        QCOMPARE(onGuiThread.size(), 2 + 4); // two signals, two texts and two state values
        QVERIFY(!onGuiThread.contains(false));
    }

    void resultsOfAnEarlierSelectionAreDropped()
    {
        Install({Device("10.0.0.1", 1)});
        const QVector<STRU_DEVICE> devices = {Record(Device("10.0.0.1"))};
        auto model = OnlineTable(devices);
        CDeviceSurvey survey(OnlineSettings());
        survey.Prepare(model.get(), Rows(*model, {0}), devices);
        survey.CheckSelectedDevices();
        survey.Prepare(model.get(), {}, devices);
        QSignalSpy spy(&survey, &CDeviceSurvey::SignalRowStatus);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(model->item(0, 4)->text(), QStringLiteral("Waiting..."));
    }

    void noSelectionOrVanishedRows()
    {
        auto backend = Install({Device("10.0.0.1", 1)});
        const QVector<STRU_DEVICE> devices = {Record(Device("10.0.0.1"))};
        auto model = OnlineTable(devices);
        CDeviceSurvey survey(OnlineSettings());
        survey.Prepare(model.get(), {}, devices);
        QVERIFY(SurveyOnWorker(survey).isEmpty());
        QCOMPARE(backend->TotalCalls(), 0);

        survey.Prepare(model.get(), Rows(*model, {0}), devices);
        QCOMPARE(SurveyOnWorker(survey).size(), 1);
        model->removeRow(0); // before the status arrives
        QSignalSpy spy(&survey, &CDeviceSurvey::SignalRowStatus);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(spy.count(), 0);
    }

    void devicesAreSurveyedAtTheSameTime()
    {
        QVector<SCRIPTED_DEVICE> scripted;
        QVector<STRU_DEVICE> devices;
        QList<int> rows;
        for (int i = 0; i < 40; ++i) {
            scripted << Device("10.0.1." + QByteArray::number(i + 1), 1, 1, 5 + (i % 5) * 4);
            devices << Record(scripted.last());
            rows << i;
        }
        auto backend = Install(scripted);
        auto model = OnlineTable(devices);
        CDeviceSurvey survey(OnlineSettings());
        survey.Prepare(model.get(), Rows(*model, rows), devices);
        const QVector<STRU_DEVICE> parallel = SurveyOnWorker(survey);
        QVERIFY(backend->PeakConcurrentCalls() > 1);
        QVERIFY(backend->PeakConcurrentCalls() <= kDeviceParallelism);
        QCOMPARE(backend->OpenSessions(), 0);
        QCOMPARE(parallel.size(), 40);
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(parallel.at(i).strIP, devices.at(i).strIP);
            QCOMPARE(parallel.at(i).iIPChannelCount, 1);
            QCOMPARE(parallel.at(i).iUserID, -1);
        }
        backend->ResetStatistics();
        QCOMPARE(SurveyOnWorker(survey, 1).size(), 40);
        QCOMPARE(backend->PeakConcurrentCalls(), 1);
    }

    void cleanupTestCase() { NetDvr_SetBackend(nullptr); }
};

QTEST_GUILESS_MAIN(TestDeviceSurvey)
#include "tst_devicesurvey.moc"

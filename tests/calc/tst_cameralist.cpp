// The camera list object: the merge of imported cameras, the hand-added batches at the limits,
// the numbering kept in step with every change of the list, and the order by a table column.
#include "calc/cameralist.h"
#include "tests/support/camerafixture.h"

#include <QTest>

namespace {
STRU_CAMERA Imported(const QByteArray &name, int bitrate)
{
    STRU_CAMERA camera = MakeCamera(name.constData(), 0, 2, 3, 30, bitrate, 4096);
    camera.strName = name; // may hold bytes that are not text
    camera.strDeviceIP = "10.0.0.9";
    camera.iPort = 8000;
    camera.iChannel = 33;
    return camera;
}

// A list of 'count' hand-added cameras "Cam 1" .. "Cam <count>".
CCameraList HandList(int count)
{
    CCameraList list;
    list.AddBatch(MakeCamera("", 1, 8, 0, 25, 3072), QStringLiteral("Cam"), count);
    return list;
}
} // namespace

class TestCameraList : public QObject
{
    Q_OBJECT

private slots:
    void mergeLimits_data();
    void mergeLimits();
    void mergeUpdatesFirstOfItsName();
    void mergeComparesBytes();
    void batchStopsAtLimit();
    void numberingFollowsEveryChange();
    void sortedByColumn();
};

void TestCameraList::sortedByColumn()
{
    // Names as read, equal keys in their order.
    CCameraList list;
    list.ReplaceAll({MakeCamera("Cam 10", 1, 8, 3, 25, 4000), MakeCamera("Cam 2", 0, 2, 0, 30, 8000),
                     MakeCamera("cam 3", 1, 8, 0, 0.5, 2048), MakeCamera("Gate 1", 1, 10, 2, 12.5, 512)});
    QCOMPARE(list.SortedOrder(NordaVocab::ColName, true), (QVector<int>{1, 2, 0, 3}));
    QCOMPARE(list.SortedOrder(NordaVocab::ColName, false), (QVector<int>{3, 0, 2, 1}));
    QCOMPARE(list.SortedOrder(NordaVocab::ColResolution, true), (QVector<int>{3, 0, 2, 1}));
    QCOMPARE(list.SortedOrder(NordaVocab::ColLevel, true), (QVector<int>{1, 2, 3, 0}));
    list.Reorder({3, 0, 2, 1});
    QCOMPARE(list.At(0).strName, QByteArray("Gate 1"));
}

void TestCameraList::mergeLimits_data()
{
    QTest::addColumn<int>("present");
    QTest::addColumn<int>("imported"); // new names
    QTest::addColumn<int>("appended");
    QTest::newRow("empty list") << 0 << 4 << 4;
    QTest::newRow("1020 + 10 stops at 1023") << 1020 << 10 << 3;
    QTest::newRow("1023 takes none") << 1023 << 1 << 0;
    QTest::newRow("1024 by hand takes none") << 1024 << 5 << 0;
}

void TestCameraList::mergeLimits()
{
    QFETCH(int, present);
    QFETCH(int, imported);
    QFETCH(int, appended);
    CCameraList list = HandList(present);
    QVector<STRU_CAMERA> cameras;
    for (int i = 0; i < imported; ++i)
        cameras << Imported("10.0.0.9_IPCamera " + QByteArray::number(i + 1), 512);
    // An existing name still takes its update when nothing more may be appended.
    if (present > 0)
        cameras << Imported("Cam 1", 777);

    const CCameraList::MergeResult result = list.MergeImported(cameras);
    QCOMPARE(result.appended.size(), appended);
    QCOMPARE(list.Count(), present + appended);
    QCOMPARE(result.updated, present > 0 ? QVector<int>{0} : QVector<int>{});
    if (present > 0)
        QCOMPARE(list.At(0).iBitrate, 777);
    for (int i = 0; i < appended; ++i)
        QVERIFY(Same(list.At(present + i), cameras.at(i)));
}

void TestCameraList::mergeUpdatesFirstOfItsName()
{
    CCameraList list;
    list.ReplaceAll({MakeCamera("Gate", 1, 8, 0, 25, 100), MakeCamera("Gate", 1, 8, 0, 25, 200)});
    STRU_CAMERA update = Imported("Gate", 900);
    const CCameraList::MergeResult result = list.MergeImported({update, Imported("Gate", 901)});
    QVERIFY(result.appended.isEmpty());
    QCOMPARE(list.Count(), 2);
    update.iBitrate = 901; // the later of two imports with one name stands
    QVERIFY(Same(list.At(0), update));
    QCOMPARE(list.At(1).iBitrate, 200);

    // Two new cameras of one name in one import: the second updates the first.
    CCameraList empty;
    QCOMPARE(empty.MergeImported({Imported("Door", 1), Imported("Door", 2)}).appended.size(), 1);
    QCOMPARE(empty.At(0).iBitrate, 2);
}

void TestCameraList::mergeComparesBytes()
{
    // Both decode to the replacement character, and names differing in case are different.
    CCameraList list;
    list.ReplaceAll({Imported("\xff", 1), Imported("cam 1", 1)});
    const CCameraList::MergeResult result = list.MergeImported({Imported("\xfe", 2), Imported("Cam 1", 2)});
    QCOMPARE(result.appended.size(), 2);
    QCOMPARE(list.At(0).iBitrate, 1);
    QCOMPARE(list.At(1).iBitrate, 1);
}

void TestCameraList::batchStopsAtLimit()
{
    CCameraList list = HandList(1020);
    const QVector<STRU_CAMERA> added = list.AddBatch(MakeCamera("", 1, 8, 0, 25, 3072), QStringLiteral("X"), 1000000);
    QCOMPARE(added.size(), 4);
    QCOMPARE(added.last().strName, QByteArray("X 1024"));
    QVERIFY(list.IsFull());
    QVERIFY(list.AddBatch(MakeCamera("", 1, 8, 0, 25, 3072), QStringLiteral("X"), 1).isEmpty());
}

void TestCameraList::numberingFollowsEveryChange()
{
    const STRU_CAMERA plan = MakeCamera("", 1, 8, 0, 25, 3072);
    CCameraList list = HandList(3); // Cam 1, Cam 2, Cam 3
    list.Remove(1, 1);
    QCOMPARE(list.AddBatch(plan, QStringLiteral("X"), 1).first().strName, QByteArray("X 2"));
    list.MergeImported({Imported("Door 4", 1)});
    QCOMPARE(list.AddBatch(plan, QStringLiteral("X"), 1).first().strName, QByteArray("X 5"));
    STRU_CAMERA renamed = list.At(0);
    renamed.strName = "Cam 9";
    list.Replace(0, renamed); // number 1 is free again
    QCOMPARE(list.AddBatch(plan, QStringLiteral("X"), 1).first().strName, QByteArray("X 1"));
    list.ReplaceAll({MakeCamera("A 1", 1, 8, 0, 25, 1)});
    QCOMPARE(list.AddBatch(plan, QStringLiteral("X"), 1).first().strName, QByteArray("X 2"));
    QCOMPARE(list.IndexOfName(QStringLiteral("X 2")), 1);
}

QTEST_APPLESS_MAIN(TestCameraList)
#include "tst_cameralist.moc"

// Numbering of hand-added cameras: the incremental set against the plain rule (sort the
// numbers, count the leading run 1, 2, 3, ...), and the names that take no number.
#include "calc/cameranumbers.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <algorithm>

namespace {
// The rule as written: collected numbers sorted, k = 1 + length of the leading run j == j-th.
int PlainNext(const QStringList &names)
{
    QList<int> numbers;
    for (const QString &name : names) {
        const int number = CCameraNumbers::NumberOfName(name);
        if (number > 0)
            numbers << number;
    }
    std::sort(numbers.begin(), numbers.end());
    int run = 0;
    while (run < numbers.size() && numbers.at(run) == run + 1)
        ++run;
    return run + 1;
}
} // namespace

class TestCameraNumbers : public QObject
{
    Q_OBJECT

private slots:
    void numberOfName_data();
    void numberOfName();
    void examples_data();
    void examples();
    void matchesPlainRuleUnderRandomEdits();
};

void TestCameraNumbers::numberOfName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("prefix and number") << "Cam 3" << 3;
    QTest::newRow("third part ignored") << "Cam 4 x" << 4;
    QTest::newRow("no blank") << "192.168.1.64_1" << 0;
    QTest::newRow("second part not a number") << "Cam x" << 0;
    QTest::newRow("empty second part") << "Cam  5" << 0;
    QTest::newRow("zero") << "Cam 0" << 0;
    QTest::newRow("negative") << "Cam -2" << 0;
    QTest::newRow("too large") << "Cam 99999999999" << 0;
}

void TestCameraNumbers::numberOfName()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(CCameraNumbers::NumberOfName(name), number);
}

void TestCameraNumbers::examples_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("next");
    QTest::newRow("empty") << QStringList{} << 1;
    QTest::newRow("1 2 4") << QStringList{"Cam 1", "X 2", "Cam 4"} << 3;
    QTest::newRow("2 3") << QStringList{"Cam 2", "Cam 3"} << 1;
    QTest::newRow("no blank and 7") << QStringList{"10.0.0.1_1", "Cam 7"} << 1;
    // A name whose second part is no number takes none; it must not send the numbering back
    // to 1 for ever (that would hand out "Cam 1" twice).
    QTest::newRow("not a number") << QStringList{"Cam x", "Cam 1", "Cam 2"} << 3;
}

void TestCameraNumbers::examples()
{
    QFETCH(QStringList, names);
    QFETCH(int, next);
    CCameraNumbers numbers;
    for (const QString &name : names)
        numbers.Add(name);
    QCOMPARE(numbers.Next(), next);
    QCOMPARE(numbers.Size(), names.size());
}

void TestCameraNumbers::matchesPlainRuleUnderRandomEdits()
{
    QRandomGenerator random(20261207);
    CCameraNumbers numbers;
    QStringList names;
    for (int step = 0; step < 3000; ++step) {
        if (names.isEmpty() || random.bounded(3) != 0) {
            // Add the way the panel does, with a random prefix; now and then a foreign name.
            const int kind = random.bounded(10);
            const QString name = kind == 0 ? QStringLiteral("10.0.0.%1_%2").arg(step).arg(kind)
                                           : QStringLiteral("P%1 %2").arg(kind).arg(numbers.Next());
            QCOMPARE(numbers.Next(), PlainNext(names));
            numbers.Add(name);
            names << name;
        } else {
            const QString name = names.takeAt(random.bounded(names.size()));
            numbers.Remove(name);
        }
    }
    QCOMPARE(numbers.Next(), PlainNext(names));
    QCOMPARE(numbers.Size(), names.size());
    numbers.Clear();
    QCOMPARE(numbers.Next(), 1);
}

QTEST_APPLESS_MAIN(TestCameraNumbers)
#include "tst_cameranumbers.moc"

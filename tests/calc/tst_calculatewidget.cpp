// The calculation panel driven through its widgets: the linked fields with their limits and
// messages, both calculations, naming, deletion, the camera limit, the video standard, the
// buttons that follow the selection, the keys, the tip for a refused keystroke, and results
// drawn muted while they no longer match their inputs.
#include "calc/bitratecalculator.h"
#include "calc/calculatewidget.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "tests/support/widgetdriver.h"
#include "toolkit/tooltip.h"

#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include <functional>
#include <memory>

namespace {

// Every message box shown while 'action' runs, as "title|text", each closed with Return after
// 'whileShown' has looked at the panel behind it.
QStringList MessagesDuring(const std::function<void()> &action, const std::function<void()> &whileShown = {})
{
    if (!whileShown)
        return AnsweredDuring(action);
    QStringList messages;
    const QList<ModalSeen> boxes = ModalsDuring(action, [&whileShown](QWidget *box) {
        if (whileShown)
            whileShown();
        PressKey(box, Qt::Key_Return);
    });
    for (const ModalSeen &box : boxes)
        messages << box.title + QLatin1Char('|') + box.text;
    return messages;
}

STRU_CAMERA Camera(int type, int resolution, int level, double framerate, int bitrate)
{
    const double recommended = CBitrateCalculator().RecommendedBitrate(type, resolution, framerate, level);
    return MakeCamera("", type, resolution, level, framerate, bitrate, static_cast<int>(recommended));
}

const QString kWarn = QStringLiteral("Warn|");

// A desktop whose opener accepts every file, as xdg-open does even with nothing for PDF files.
class AcceptingDesktop : public QObject
{
    Q_OBJECT

public:
    AcceptingDesktop() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~AcceptingDesktop() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    Q_INVOKABLE void Open(const QUrl &url) { opened << url.toLocalFile(); }

    QStringList opened;
};

} // namespace

class TestCalculateWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void diskFieldsLinked_data();
    void diskFieldsLinked();
    void diskLimitOnTyping();
    void timeFieldsLinked_data();
    void timeFieldsLinked();
    void timeLimitOnTyping_data();
    void timeLimitOnTyping();
    void hoursPerDayWarnsAndKeeps();
    void calculateTimeRefusals();
    void calculateTimeResults();
    void calculateTimeUnsoundInputs();
    void calculateDiskRefusals();
    void calculateDiskResults();
    void namingFillsGaps();
    void namingUsesSecondPart();
    void deleteRowsInAnyOrder();
    void deleteFirstRowAndAll();
    void cameraLimit_data();
    void cameraLimit();
    void standardSwitch();
    void buttonsFollowSelection();
    void keys();
    void tabFollowsTheForm_data();
    void tabFollowsTheForm();
    void manualNeedsPdfViewer_data();
    void manualNeedsPdfViewer();
    void refusedKeySaysWhy_data();
    void refusedKeySaysWhy();
    void resultsMutedUntilCalculated_data();
    void resultsMutedUntilCalculated();

private:
    template <typename T>
    T *Child(const char *name)
    {
        T *child = m_panel->findChild<T *>(QString::fromLatin1(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }
    QLineEdit *Edit(const char *name) { return Child<QLineEdit>(name); }
    QTreeView *Table() { return Child<QTreeView>("m_pTableCamera"); }
    QAbstractItemModel *Model() { return Table()->model(); }
    QString Cell(int row, int column) { return Model()->index(row, column).data().toString(); }
    QStringList Names();
    void Type(const char *edit, const QString &text) { Retype(Edit(edit), text); }
    void Click(const char *button) { QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton); }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Add(const STRU_CAMERA &camera, const QString &prefix, int count);

    std::unique_ptr<CCalculateWidget> m_panel;
};

void TestCalculateWidget::init()
{
    m_panel = std::make_unique<CCalculateWidget>();
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
}

void TestCalculateWidget::cleanup()
{
    CToolTip::hideText();
    m_panel.reset();
}

QStringList TestCalculateWidget::Names()
{
    QStringList names;
    for (int row = 0; row < Model()->rowCount(); ++row)
        names << Cell(row, 1);
    return names;
}

void TestCalculateWidget::ClickRow(int row, Qt::KeyboardModifiers modifiers)
{
    QTreeView *table = Table();
    table->scrollTo(Model()->index(row, 0));
    const QRect rect = table->visualRect(Model()->index(row, 2));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void TestCalculateWidget::Add(const STRU_CAMERA &camera, const QString &prefix, int count)
{
    // The add dialog calls this slot; a batch that reaches the limit brings a message.
    const QStringList messages = MessagesDuring([&]() { m_panel->OnAddDeviceImport(camera, prefix, count); });
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char(';'))));
}

void TestCalculateWidget::startState()
{
    QCOMPARE(m_panel->size(), QSize(1020, 813));
    QVERIFY(!m_panel->isWindow() || m_panel->parentWidget() == nullptr);
    QCOMPARE(Child<QTabWidget>("m_pTabCalculate")->currentWidget()->objectName(), QString("ByDisk"));
    QCOMPARE(Child<QTabWidget>("m_pTabCalculate")->tabText(1), QString("Calculate Disk"));
    QVERIFY(Child<QRadioButton>("m_pRadioPAL")->isChecked());
    QVERIFY(!Child<QPushButton>("m_pBtnDel")->isEnabled());
    QVERIFY(!Child<QPushButton>("m_pBtnModify")->isEnabled());
    QCOMPARE(Edit("m_pEditRecordTime")->text(), QString("24"));
    QCOMPARE(Edit("m_pEditRecordTime2")->text(), QString("24"));
    for (const char *result : {"m_pEditMonth", "m_pEditDay", "m_pEditHour", "m_pEditTB2", "m_pEditGB2"})
        QVERIFY(Edit(result)->isReadOnly());
    QCOMPARE(Model()->columnCount(), 7);
    const int widths[] = {100, 50, 150, 130, 80, 80, 100};
    // The designed widths, or wider where the header text would be cut; the name column holds an
    // imported IP channel's name.
    for (int column = 0; column < 7; ++column) {
        const int width = Table()->columnWidth(column);
        QVERIFY(width >= widths[column]);
        QVERIFY(width >= Table()->header()->sectionSizeHint(column));
        QVERIFY(width == widths[column] || width == Table()->header()->sectionSizeHint(column) || column == 6
                || column == 1);
    }
    QVERIFY(Table()->columnWidth(1) > Table()->fontMetrics().horizontalAdvance("192.168.100.200_IPCamera12"));
    QCOMPARE(Model()->headerData(6, Qt::Horizontal).toString(), QString("Recommand Bitrate"));
    QCOMPARE(Table()->selectionMode(), QAbstractItemView::ExtendedSelection);
    // The validators let only digits without a leading zero through.
    Type("m_pEditGB", "01a2");
    QCOMPARE(Edit("m_pEditGB")->text(), QString("0"));
}

void TestCalculateWidget::diskFieldsLinked_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("tb");
    QTest::addColumn<QString>("gb");
    QTest::newRow("TB 76056") << QByteArray("m_pEditTB") << "76056"
                              << "76056"
                              << "76056000";
    QTest::newRow("TB 1") << QByteArray("m_pEditTB") << "1"
                          << "1"
                          << "1000";
    QTest::newRow("GB 1000") << QByteArray("m_pEditGB") << "1000"
                             << "1"
                             << "1000";
    QTest::newRow("GB 1500") << QByteArray("m_pEditGB") << "1500"
                             << "2"
                             << "1500";
    QTest::newRow("GB 1001") << QByteArray("m_pEditGB") << "1001"
                             << "2"
                             << "1001";
    QTest::newRow("GB 0") << QByteArray("m_pEditGB") << "0"
                          << "0"
                          << "0";
    QTest::newRow("GB at the limit") << QByteArray("m_pEditGB") << "76056153"
                                     << "76057"
                                     << "76056153";
}

void TestCalculateWidget::diskFieldsLinked()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QString, tb);
    QFETCH(QString, gb);
    const QStringList messages = MessagesDuring([&]() { Type(field.constData(), typed); });
    QCOMPARE(messages, QStringList());
    QCOMPARE(Edit("m_pEditTB")->text(), tb);
    QCOMPARE(Edit("m_pEditGB")->text(), gb);
}

void TestCalculateWidget::diskLimitOnTyping()
{
    const QString message = kWarn + "Disk space should less than 76056153GBs.";
    Type("m_pEditGB", "76056153");
    // One more gigabyte: the message, then both disk fields back to 0.
    QStringList messages = MessagesDuring([&]() {
        QTest::keyClick(Edit("m_pEditGB"), Qt::Key_Backspace);
        QTest::keyClicks(Edit("m_pEditGB"), "4");
    });
    QCOMPARE(messages, QStringList{message});
    QCOMPARE(Edit("m_pEditTB")->text(), QString("0"));
    QCOMPARE(Edit("m_pEditGB")->text(), QString("0"));

    messages = MessagesDuring([&]() { Type("m_pEditTB", "76057"); });
    QCOMPARE(messages, QStringList{message});
    QCOMPARE(Edit("m_pEditTB")->text(), QString("0"));
    QCOMPARE(Edit("m_pEditGB")->text(), QString("0"));
}

void TestCalculateWidget::timeFieldsLinked_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("week");
    QTest::addColumn<QString>("day");
    QTest::newRow("month 12") << QByteArray("m_pEditMonth2") << "12"
                              << "12"
                              << "51"
                              << "360";
    QTest::newRow("week 52") << QByteArray("m_pEditWeek2") << "52"
                             << "12"
                             << "52"
                             << "364";
    QTest::newRow("day 365") << QByteArray("m_pEditDay2") << "365"
                             << "12"
                             << "52"
                             << "365";
    QTest::newRow("day 29") << QByteArray("m_pEditDay2") << "29"
                            << "0"
                            << "4"
                            << "29";
}

void TestCalculateWidget::timeFieldsLinked()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QString, month);
    QFETCH(QString, week);
    QFETCH(QString, day);
    const QStringList messages = MessagesDuring([&]() { Type(field.constData(), typed); });
    QCOMPARE(messages, QStringList());
    QCOMPARE(Edit("m_pEditMonth2")->text(), month);
    QCOMPARE(Edit("m_pEditWeek2")->text(), week);
    QCOMPARE(Edit("m_pEditDay2")->text(), day);
}

void TestCalculateWidget::timeLimitOnTyping_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("weekBefore"); // what the linked field showed when the message came
    QTest::newRow("month 13") << QByteArray("m_pEditMonth2") << "13"
                              << "55";
    QTest::newRow("week 53") << QByteArray("m_pEditWeek2") << "53"
                             << "53";
    QTest::newRow("day 366") << QByteArray("m_pEditDay2") << "366"
                             << "52";
}

void TestCalculateWidget::timeLimitOnTyping()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QString, weekBefore);
    QString weekSeen; // the week field as it stands while the message is up
    const QStringList messages =
        MessagesDuring([&]() { Type(field.constData(), typed); }, [&]() { weekSeen = Edit("m_pEditWeek2")->text(); });
    QCOMPARE(messages, QStringList{kWarn + "Record time should less than 365 days."});
    QCOMPARE(weekSeen, weekBefore);
    QCOMPARE(Edit("m_pEditMonth2")->text(), QString("0"));
    QCOMPARE(Edit("m_pEditWeek2")->text(), QString("0"));
    QCOMPARE(Edit("m_pEditDay2")->text(), QString("0"));
}

void TestCalculateWidget::hoursPerDayWarnsAndKeeps()
{
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Type("m_pEditGB", "1000");
    const QString message = kWarn + "Record Time should between 0 and 24hours.";
    QCOMPARE(MessagesDuring([&]() { Type("m_pEditRecordTime", "25"); }), QStringList{message});
    QCOMPARE(Edit("m_pEditRecordTime")->text(), QString("25"));
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList());
    // 943.5 hours at 25 a day.
    QCOMPARE(Edit("m_pEditHour")->text(), QString("37"));

    QCOMPARE(MessagesDuring([&]() { Type("m_pEditRecordTime2", "25"); }), QStringList{message});
    QCOMPARE(Edit("m_pEditRecordTime2")->text(), QString("25"));
    QCOMPARE(MessagesDuring([&]() { Type("m_pEditRecordTime2", "24"); }), QStringList());

    // A long number warns once while it stays out of range, and the field stops taking digits.
    QCOMPARE(MessagesDuring([&]() { Type("m_pEditRecordTime", QString(1000, QLatin1Char('9'))); }),
             QStringList{message});
    QCOMPARE(Edit("m_pEditRecordTime")->text(), QString("9999"));
    QCOMPARE(MessagesDuring([&]() {
                 Type("m_pEditRecordTime", "2");
                 Type("m_pEditRecordTime", "30");
             }),
             QStringList{message});

    // Texts that are no whole number are refused with what is wrong with them.
    const QString notWhole = kWarn + "Record time per day should be a whole number of hours.";
    for (const QString &hours : {QString("24.5"), QString("1E5"), QString("0x10")}) {
        Type("m_pEditRecordTime", hours);
        QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList{notWhole});
        Type("m_pEditRecordTime2", hours);
        Type("m_pEditDay2", "30");
        QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList{notWhole});
    }
}

void TestCalculateWidget::calculateTimeRefusals()
{
    const QString noChannels = kWarn + "Can not find channels.";
    const QString tooSmall = kWarn + "Disk space should more than 2GBs.";
    // The empty list is told first, whatever the disk field holds.
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList{noChannels});
    Type("m_pEditGB", "1000");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList{noChannels});
    QCOMPARE(Edit("m_pEditHour")->text(), QString());

    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    for (const QString &gb : {QString("1"), QString("0"), QString()}) {
        Type("m_pEditGB", gb);
        QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList{tooSmall});
    }
    // The TB field is never read by the calculation.
    Type("m_pEditTB", "5");
    Type("m_pEditGB", "1");
    QCOMPARE(Edit("m_pEditTB")->text(), QString("1"));
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList{tooSmall});
    Type("m_pEditGB", "2");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList());
    QCOMPARE(Edit("m_pEditHour")->text(), QString("0"));
}

void TestCalculateWidget::calculateTimeResults()
{
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Type("m_pEditGB", "1000");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList());
    QCOMPARE(Edit("m_pEditMonth")->text(), QString("1"));
    QCOMPARE(Edit("m_pEditDay")->text(), QString("5"));   // weeks
    QCOMPARE(Edit("m_pEditHour")->text(), QString("39")); // days

    // Results stay until the next successful calculation.
    Type("m_pEditGB", "1");
    MessagesDuring([&]() { Click("m_pBtnCal"); });
    QCOMPARE(Edit("m_pEditHour")->text(), QString("39"));
    // Twice the bitrate, half the time.
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Type("m_pEditGB", "1000");
    Click("m_pBtnCal");
    QCOMPARE(Edit("m_pEditHour")->text(), QString("19"));
    QCOMPARE(Edit("m_pEditDay")->text(), QString("2"));
    QCOMPARE(Edit("m_pEditMonth")->text(), QString("0"));
}

void TestCalculateWidget::calculateTimeUnsoundInputs()
{
    const QString noHours = kWarn + "Record time per day should be more than 0 hours.";
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Type("m_pEditGB", "1000");
    Click("m_pBtnCal");
    // Each refusal says what is wrong with the hours.
    const QString notWhole = kWarn + "Record time per day should be a whole number of hours.";
    const QString range = kWarn + "Record Time should between 0 and 24hours.";
    const QList<QPair<QString, QString>> refusals = {{"0", noHours}, {"", noHours}, {"abc", notWhole}, {"-2", range}};
    for (const auto &[hours, message] : refusals) {
        MessagesDuring([&]() { Type("m_pEditRecordTime", hours); });
        QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList{message});
        QCOMPARE(Edit("m_pEditHour")->text(), QString("39"));
    }

    // Cameras that carry no bitrate never fill a disk.
    m_panel.reset();
    init();
    Add(Camera(0, 2, 0, 25, 0), "Imp", 2);
    Type("m_pEditGB", "1000");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }),
             QStringList{kWarn + "Total bitrate should be more than 0."});
    QCOMPARE(Edit("m_pEditHour")->text(), QString());

    // More days than an int holds are shown whole, not wrapped.
    m_panel.reset();
    init();
    Add(Camera(1, 11, 5, 1, 32), "Low", 1);
    Type("m_pEditGB", "76056153");
    Type("m_pEditRecordTime", "1");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal"); }), QStringList());
    bool ok = false;
    const qint64 days = Edit("m_pEditHour")->text().toLongLong(&ok);
    QVERIFY(ok);
    QVERIFY(days > std::numeric_limits<int>::max());
    QCOMPARE(Edit("m_pEditMonth")->text().toLongLong(), days / 30);
}

void TestCalculateWidget::calculateDiskRefusals()
{
    const QString noTime = kWarn + "Please input time.";
    // No time is told before the empty list.
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList{noTime});
    Type("m_pEditDay2", "0");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList{noTime});
    Type("m_pEditDay2", "30");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList{kWarn + "Can not find channels."});
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Type("m_pEditDay2", "");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList{noTime});
    Type("m_pEditDay2", "30");
    // No hours a day record nothing: 0 GB, no refusal. A text that is no number is refused.
    Type("m_pEditRecordTime2", "0");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList());
    QCOMPARE(Edit("m_pEditGB2")->text(), QString("0"));
    QCOMPARE(Edit("m_pEditTB2")->text(), QString("0"));
    Type("m_pEditRecordTime2", "abc");
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }),
             QStringList{kWarn + "Record time per day should be a whole number of hours."});
}

void TestCalculateWidget::calculateDiskResults()
{
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Child<QTabWidget>("m_pTabCalculate")->setCurrentIndex(1);
    Type("m_pEditMonth2", "1"); // 30 days
    QCOMPARE(MessagesDuring([&]() { Click("m_pBtnCal2"); }), QStringList());
    QCOMPARE(Edit("m_pEditGB2")->text(), QString("764"));
    QCOMPARE(Edit("m_pEditTB2")->text(), QString("1"));

    // A year for the largest plan: a million gigabytes and more in exponent form.
    m_panel.reset();
    init();
    Add(Camera(0, 0, 0, 25, 16384), "Big", 1000);
    Type("m_pEditDay2", "365");
    Click("m_pBtnCal2");
    QCOMPARE(Edit("m_pEditGB2")->text(), QString("7.42736e+07"));
    QCOMPARE(Edit("m_pEditTB2")->text(), QString("74274"));
}

void TestCalculateWidget::namingFillsGaps()
{
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 3);
    QCOMPARE(Names(), (QStringList{"Cam 1", "Cam 2", "Cam 3"}));
    QCOMPARE(m_panel->Cameras().at(2).strName, QByteArray("Cam 3"));
    QCOMPARE(m_panel->Cameras().at(2).iPort, -1);
    ClickRow(1);
    Click("m_pBtnDel");
    QCOMPARE(Names(), (QStringList{"Cam 1", "Cam 3"}));
    Add(Camera(0, 2, 3, 12.5, 4096), "X", 1);
    QCOMPARE(Names(), (QStringList{"Cam 1", "Cam 3", "X 2"}));
    // A freshly added IPC row shows its own level, as the plan and its report do.
    QCOMPARE(Cell(2, 0), QString("IPC"));
    QCOMPARE(Cell(2, 2), QString("Level4"));
    QCOMPARE(Cell(2, 3), QString("1080P(1920*1080)"));
    QCOMPARE(Cell(2, 4), QString("12.5"));
    QCOMPARE(Cell(2, 5), QString("4096"));
    QCOMPARE(Cell(2, 6), QString("5120"));
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 2);
    QCOMPARE(Names().mid(3), (QStringList{"Cam 4", "Cam 5"}));
    QVERIFY(!(Model()->flags(Model()->index(0, 1)) & Qt::ItemIsEditable));
}

void TestCalculateWidget::namingUsesSecondPart()
{
    // The number is the second blank-separated part, whatever the prefix holds.
    Add(Camera(1, 8, 0, 25, 2048), "Q 7", 1);
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 2);
    QCOMPARE(Names(), (QStringList{"Q 7 1", "Cam 1", "Cam 2"}));
    // A prefix without text still makes distinct names.
    Add(Camera(1, 8, 0, 25, 2048), "", 1);
    QCOMPARE(Names().last(), QString(" 3"));
}

void TestCalculateWidget::deleteRowsInAnyOrder()
{
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 10);
    ClickRow(7);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(5, Qt::ControlModifier);
    QCOMPARE(Table()->selectionModel()->selectedRows().size(), 3);
    Click("m_pBtnDel");
    const QStringList left{"Cam 1", "Cam 2", "Cam 4", "Cam 5", "Cam 7", "Cam 9", "Cam 10"};
    QCOMPARE(Names(), left);
    QCOMPARE(m_panel->CameraCount(), 7);
    QStringList listNames;
    for (const STRU_CAMERA &camera : m_panel->Cameras())
        listNames << QString::fromLocal8Bit(camera.strName);
    QCOMPARE(listNames, left);
    QCOMPARE(Table()->currentIndex().row(), 1);
    QCOMPARE(Table()->currentIndex().column(), 0);

    // A shift-selected block and a single row.
    ClickRow(1);
    ClickRow(3, Qt::ShiftModifier);
    ClickRow(6, Qt::ControlModifier);
    Click("m_pBtnDel");
    QCOMPARE(Names(), (QStringList{"Cam 1", "Cam 7", "Cam 9"}));
    QCOMPARE(Table()->currentIndex().row(), 0);
}

void TestCalculateWidget::deleteFirstRowAndAll()
{
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 3);
    ClickRow(0);
    Click("m_pBtnDel");
    QCOMPARE(Names(), (QStringList{"Cam 2", "Cam 3"}));
    QCOMPARE(Table()->currentIndex().row(), 0);
    ClickRow(0);
    ClickRow(1, Qt::ShiftModifier);
    Click("m_pBtnDel");
    QCOMPARE(Model()->rowCount(), 0);
    QVERIFY(m_panel->Cameras().isEmpty());
    QVERIFY(!Table()->currentIndex().isValid());
    QVERIFY(!Child<QPushButton>("m_pBtnDel")->isEnabled());
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    QCOMPARE(Names(), QStringList{"Cam 1"});
}

void TestCalculateWidget::cameraLimit_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("adding");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("message");
    QTest::newRow("1020 + 3") << 1020 << 3 << 1023 << false;
    QTest::newRow("1020 + 4") << 1020 << 4 << 1024 << true;
    QTest::newRow("1020 + 10") << 1020 << 10 << 1024 << true;
    QTest::newRow("1024 + 1") << 1024 << 1 << 1024 << true;
}

void TestCalculateWidget::cameraLimit()
{
    QFETCH(int, before);
    QFETCH(int, adding);
    QFETCH(int, after);
    QFETCH(bool, message);
    const QString limit = kWarn + "Device number can be more than 1024.";
    const QStringList first =
        MessagesDuring([&]() { m_panel->OnAddDeviceImport(Camera(1, 8, 0, 25, 2048), "Cam", before); });
    QCOMPARE(first, before >= 1024 ? QStringList{limit} : QStringList());
    const QStringList messages =
        MessagesDuring([&]() { m_panel->OnAddDeviceImport(Camera(1, 11, 0, 25, 512), "Cam", adding); });
    QCOMPARE(messages, message ? QStringList{limit} : QStringList());
    QCOMPARE(m_panel->CameraCount(), after);
    QCOMPARE(m_panel->Cameras().size(), after);
    QCOMPARE(Model()->rowCount(), after);
    QCOMPARE(Cell(after - 1, 1), QStringLiteral("Cam %1").arg(after));
    QCOMPARE(Cell(after - 1, 3), after > before ? QString("QCIF") : QString("4CIF"));
}

void TestCalculateWidget::standardSwitch()
{
    const QList<STRU_CAMERA> cameras = {
        Camera(1, 8, 0, 25, 2048),   // DVR 4CIF at the full rate
        Camera(0, 2, 0, 25, 4096),   // IPC 1080P at the full rate
        Camera(0, 2, 0, 12.5, 4096), // IPC 1080P at 12.5
        Camera(1, 8, 0, 0.5, 2048),  // DVR at 1/2
        Camera(1, 8, 0, 10, 2048),   // DVR at 10
    };
    for (const STRU_CAMERA &camera : cameras)
        Add(camera, "Cam", 1);
    const QStringList palRates{"25", "25", "12.5", "1/2", "10"};
    const QStringList ntscRates{"30", "30", "12.5", "1/2", "10"};

    auto check = [&](int standard, const QStringList &rates) {
        CBitrateCalculator calculator;
        calculator.SetStandard(standard);
        for (int row = 0; row < cameras.size(); ++row) {
            const STRU_CAMERA &camera = m_panel->Cameras().at(row);
            QCOMPARE(Cell(row, 4), rates.at(row));
            const int expected = static_cast<int>(calculator.RecommendedBitrate(
                cameras.at(row).iType, cameras.at(row).iResolution,
                rates.at(row) == "1/2" ? 0.5 : rates.at(row).toDouble(), cameras.at(row).iLevel));
            QCOMPARE(camera.iRecommendedBitrate, expected);
            QCOMPARE(Cell(row, 6), QString::number(expected));
            QCOMPARE(camera.iBitrate, cameras.at(row).iBitrate); // configured bitrates stay
            QCOMPARE(Cell(row, 5), QString::number(cameras.at(row).iBitrate));
        }
    };
    check(0, palRates);
    QTest::mouseClick(Child<QRadioButton>("m_pRadioNTSC"), Qt::LeftButton);
    QVERIFY(!Child<QRadioButton>("m_pRadioPAL")->isChecked());
    QCOMPARE(m_panel->Standard(), 1);
    check(1, ntscRates);
    QCOMPARE(m_panel->Cameras().at(0).dFramerate, 30.0);
    QCOMPARE(Cell(3, 6), QString("655"));  // 614.4 + 40.96 under NTSC
    QCOMPARE(Cell(4, 6), QString("1433")); // 614.4 + 819.2
    QTest::mouseClick(Child<QRadioButton>("m_pRadioPAL"), Qt::LeftButton);
    check(0, palRates);
    QCOMPARE(Cell(4, 6), QString("1597"));
    QCOMPARE(m_panel->Cameras().at(1).dFramerate, 25.0);
}

void TestCalculateWidget::buttonsFollowSelection()
{
    QPushButton *del = Child<QPushButton>("m_pBtnDel");
    QPushButton *modify = Child<QPushButton>("m_pBtnModify");
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 4);
    ClickRow(1);
    QVERIFY(del->isEnabled());
    QVERIFY(modify->isEnabled());
    ClickRow(3, Qt::ControlModifier);
    QVERIFY(del->isEnabled());
    QVERIFY(!modify->isEnabled());
    ClickRow(3, Qt::ControlModifier); // deselect again
    QVERIFY(modify->isEnabled());
    ClickRow(1, Qt::ControlModifier);
    QVERIFY(!del->isEnabled());
    QVERIFY(!modify->isEnabled());
    // "Modify" with nothing to modify and double-click do nothing until the dialog exists.
    Table()->setCurrentIndex(QModelIndex());
    Click("m_pBtnModify");
    QCOMPARE(m_panel->Cameras().size(), 4);
}

void TestCalculateWidget::keys()
{
    // The manual is looked for in the current directory; an empty one has none.
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QStringList messages = AnsweredDuring([this] { QTest::keyClick(m_panel.get(), Qt::Key_F1); });
    QDir::setCurrent(previous);
    QCOMPARE(messages, QStringList("Info|Can not find Manual."));
    QTest::keyClick(m_panel.get(), Qt::Key_Escape);
    QVERIFY(m_panel->isVisible());
}

void TestCalculateWidget::tabFollowsTheForm_data()
{
    // Fields top to bottom, hours per day, then "Calculate"; the results are passed over.
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("Calculate Time") << 0 << QStringList{"m_pEditTB", "m_pEditGB", "m_pEditRecordTime", "m_pBtnCal"};
    QTest::newRow("Calculate Disk") << 1
                                    << QStringList{"m_pEditMonth2", "m_pEditWeek2", "m_pEditDay2", "m_pEditRecordTime2",
                                                   "m_pBtnCal2"};
}

void TestCalculateWidget::tabFollowsTheForm()
{
    QFETCH(int, tab);
    QFETCH(QStringList, chain);
    m_panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
    Child<QTabWidget>("m_pTabCalculate")->setCurrentIndex(tab);
    Edit(qPrintable(chain.first()))->setFocus();
    QStringList walked(QApplication::focusWidget()->objectName());
    while (walked.size() < chain.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, chain);
}

void TestCalculateWidget::manualNeedsPdfViewer_data()
{
    // The desktop accepts the manual whatever xdg-mime says about programs for PDF files.
    QTest::addColumn<QByteArray>("viewer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("opened");
    QTest::newRow("no PDF viewer") << QByteArray() << QStringList("Info|Can not find Manual.") << false;
    QTest::newRow("PDF viewer") << QByteArray("mupdf.desktop") << QStringList() << true;
}

void TestCalculateWidget::manualNeedsPdfViewer()
{
    QFETCH(QByteArray, viewer);
    QFETCH(QStringList, messages);
    QFETCH(bool, opened);
    QTemporaryDir dir;
    const auto write = [&dir](const char *name, const QByteArray &text) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("xdg-mime", "#!/bin/sh\necho " + viewer + "\n");
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("xdg-mime")), QFile::ReadOwner | QFile::ExeOwner));
    write("Setup.xml", "<Configs><Translator><Value>0</Value></Translator></Configs>");
    write("Vovu Rivoz Ezevivuvov User Manual.pdf", "%PDF-1.4\n");

    AcceptingDesktop desktop;
    const QByteArray path = qgetenv("PATH");
    const QString previous = QDir::currentPath();
    qputenv("PATH", QFile::encodeName(dir.path()));
    QVERIFY(QDir::setCurrent(dir.path()));
    const QStringList shown = AnsweredDuring([this] { QTest::keyClick(m_panel.get(), Qt::Key_F1); });
    QDir::setCurrent(previous);
    qputenv("PATH", path);
    QCOMPARE(shown, messages);
    QCOMPARE(desktop.opened,
             opened ? QStringList(dir.filePath("Vovu Rivoz Ezevivuvov User Manual.pdf")) : QStringList());
}

void TestCalculateWidget::refusedKeySaysWhy_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("TB 1.5") << "m_pEditTB"
                            << "1.5"
                            << "15";
    QTest::newRow("GB with a leading zero") << "m_pEditGB"
                                            << "01"
                                            << "0";
    QTest::newRow("weeks below zero") << "m_pEditWeek2"
                                      << "-2"
                                      << "2";
    QTest::newRow("days with a decimal comma") << "m_pEditDay2"
                                               << "7,5"
                                               << "75";
}

void TestCalculateWidget::refusedKeySaysWhy()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QLineEdit *edit = Edit(qPrintable(field));
    Child<QTabWidget>("m_pTabCalculate")->setCurrentIndex(field.endsWith(QLatin1Char('2')) ? 1 : 0);
    Type(qPrintable(field), typed);
    QCOMPARE(edit->text(), kept);
    QWidget *tip = VisibleTipLabel();
    QVERIFY(tip);
    QCOMPARE(CToolTip::text(), QStringLiteral("Whole numbers only."));
    const QPoint field0 = edit->parentWidget()->mapToGlobal(edit->pos());
    QVERIFY((tip->pos() - field0).manhattanLength() < 2 * edit->height());
}

void TestCalculateWidget::resultsMutedUntilCalculated_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("change"); // a field typed into, or a change of the camera list
    QTest::newRow("time: disk size typed") << 0 << "m_pEditGB";
    QTest::newRow("time: camera deleted") << 0 << "delete";
    QTest::newRow("disk: weeks typed") << 1 << "m_pEditWeek2";
    QTest::newRow("disk: camera added") << 1 << "add";
    QTest::newRow("disk: undo") << 1 << "undo";
}

void TestCalculateWidget::resultsMutedUntilCalculated()
{
    QFETCH(int, tab);
    QFETCH(QString, change);
    QLineEdit *result = Edit(tab == 0 ? "m_pEditHour" : "m_pEditGB2");
    QLineEdit *other = Edit(tab == 0 ? "m_pEditGB2" : "m_pEditHour");
    QLineEdit *input = Edit(tab == 0 ? "m_pEditGB" : "m_pEditDay2");
    const char *calculate = tab == 0 ? "m_pBtnCal" : "m_pBtnCal2";
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Add(Camera(1, 8, 0, 25, 2048), "Cam", 1);
    Type("m_pEditGB", "1000");
    Type("m_pEditDay2", "30");
    Click("m_pBtnCal");
    Click("m_pBtnCal2");
    const QString shown = result->text();
    const QColor current = result->palette().color(QPalette::Text);
    QVERIFY(!result->property("muted").toBool());

    if (change.startsWith(QLatin1String("m_p"))) {
        Type(qPrintable(change), "3");
    } else if (change == QLatin1String("add")) {
        Add(Camera(0, 2, 0, 25, 4096), "Dome", 1);
    } else if (change == QLatin1String("delete")) {
        ClickRow(0);
        Click("m_pBtnDel");
    } else {
        m_panel->UndoStack()->undo();
    }
    // Kept, but drawn lighter; a change of the list concerns both tabs, an input only its own.
    QCOMPARE(result->text(), shown);
    QVERIFY(result->property("muted").toBool());
    QVERIFY(result->palette().color(QPalette::Text).lightness() > current.lightness());
    QCOMPARE(other->property("muted").toBool(), !change.startsWith(QLatin1String("m_p")));

    // A refused calculation changes nothing; the next one that succeeds is current again.
    const QString before = input->text();
    Type(tab == 0 ? "m_pEditGB" : "m_pEditDay2", tab == 0 ? "1" : "0");
    QCOMPARE(MessagesDuring([&] { Click(calculate); }).size(), 1);
    QVERIFY(result->property("muted").toBool());
    Type(tab == 0 ? "m_pEditGB" : "m_pEditDay2", before);
    QCOMPARE(MessagesDuring([&] { Click(calculate); }), QStringList());
    QVERIFY(!result->property("muted").toBool());
    QCOMPARE(result->palette().color(QPalette::Text), current);
}

QTEST_MAIN(TestCalculateWidget)
#include "tst_calculatewidget.moc"

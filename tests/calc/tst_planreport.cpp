// The plan report: CSV cells, quoting and guards, totals equal to the panel's worked examples and
// to the PDF's, the PDF's text (read back with pdftotext) and fonts (pdffonts) for Latin and
// Chinese names, and the layout of its table.
#include "calc/bitratecalculator.h"
#include "calc/planreport.h"
#include "tests/support/camerafixture.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>
#include <QTranslator>

Q_DECLARE_METATYPE(StoragePlan::Refusal)

namespace {

const QDateTime kDate(QDate(2024, 5, 1), QTime(14, 30));

STRU_PLAN PlanOf(const QVector<STRU_CAMERA> &cameras, const QString &hoursPerDay = QStringLiteral("24"))
{
    STRU_PLAN plan;
    plan.vecCamera = cameras;
    plan.strDiskGB = QStringLiteral("1000");
    plan.strDays = QStringLiteral("30");
    plan.strHoursPerDay2 = hoursPerDay;
    return plan;
}

QVector<STRU_CAMERA> OddNames()
{
    return {MakeCamera("Gate, north", 1, 8, 0, 25, 2048), MakeCamera("Say \"hi\"", 0, 2, 2, 12.5, 4096),
            MakeCamera("Line\nbreak", 0, 11, 5, 0.5, 32), MakeCamera("=SUM(A1)", 1, 10, 1, 0.0625, 100)};
}

// Names with the NUL they may hold.
template <size_t N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

// A name as the report shows it: no C0 controls but the tab, no bidirectional overrides or isolates.
QString Shown(const QByteArray &name)
{
    static const QRegularExpression hidden(
        QStringLiteral("[\\x{0}-\\x{8}\\x{a}-\\x{1f}\\x{202a}-\\x{202e}\\x{2066}-\\x{2069}]"));
    return QString::fromUtf8(name).remove(hidden);
}

// Output of a poppler tool on a file, NFKC-normalised: the PDF writer maps some Chinese glyphs
// back to their compatibility forms (U+2F24 for U+5927).
QString Poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

} // namespace

class TestPlanReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void csv_data();
    void csv();
    void totals_data();
    void totals();
    void pdf_data();
    void pdf();
    void saveFails();
    void cjk_data();
    void cjk();
    void layout_data();
    void layout();
};

void TestPlanReport::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext (poppler-utils) is missing: run scripts/setup.sh");
}

void TestPlanReport::csv_data()
{
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("cell"); // the name as the CSV writes it
    QTest::newRow("24 hours, comma") << "24" << Bytes("Gate, north") << "\"Gate, north\"";
    QTest::newRow("12 hours, quotes") << "12" << Bytes("Say \"hi\"") << "\"Say \"\"hi\"\"\"";
    QTest::newRow("0 hours need nothing, line break") << "0" << Bytes("Line\nbreak") << "Linebreak";
    QTest::newRow("hours no number: no storage, =") << "abc" << Bytes("=SUM(A1)") << "'=SUM(A1)";
    QTest::newRow("+") << "24" << Bytes("+1") << "'+1";
    QTest::newRow("-") << "24" << Bytes("-2+3") << "'-2+3";
    QTest::newRow("@") << "24" << Bytes("@SUM(A1)") << "'@SUM(A1)";
    QTest::newRow("tab before a formula") << "24" << Bytes("\t=1+2") << "'\t=1+2";
    QTest::newRow("CR before a formula") << "24" << Bytes("\r=1+2") << "'=1+2";
    QTest::newRow("tab inside") << "24" << Bytes("A\tB") << "A\tB";
    QTest::newRow("NUL and escape") << "24" << Bytes("Cam\0 1\x1b[2J") << "Cam 1[2J";
    QTest::newRow("right-to-left override") << "24" << Bytes("Cam\u202Egpj.exe") << "Camgpj.exe";
    QTest::newRow("embedding and isolates") << "24" << Bytes("\u2067Cam\u2069 \u202A2\u202C") << "Cam 2";
    QTest::newRow("chinese") << "24" << Bytes("大厅 1") << "大厅 1";
}

void TestPlanReport::csv()
{
    QFETCH(QString, hours);
    QFETCH(QByteArray, name);
    QFETCH(QString, cell);
    STRU_CAMERA camera = MakeCamera("", 1, 8, 0, 25, 2048);
    camera.strName = name;
    // A measured camera: after the totals the report says when and for how long.
    const bool measured = QByteArray(QTest::currentDataTag()) == "24 hours, comma";
    if (measured)
        camera.vecMeasured = {STRU_MEASURED{QDateTime(QDate(2026, 12, 7), QTime(22, 30)), 60, 1234.4, 1800, 1500}};
    STRU_PLAN plan = PlanOf({camera}, hours);
    // A plan whose recorders were never set up reports none.
    const bool recorders = hours != QLatin1String("abc");
    if (recorders)
        plan.storage.vecRecorders = {{NordaArrays::FirstRecorderName(), NordaArrays::STRU_DISK_ARRAY()}};
    const CPlanReport report(plan, QStringLiteral("Site"));
    const QByteArray csv = report.Csv();
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QString perDay = hours == QLatin1String("abc")
        ? QString()
        : QString::number(CBitrateCalculator::DiskSize(2048, hours.toInt()), 'f', 2);
    // The Storage page's columns follow; the Default group keeps the 30 days of "Calculate Disk".
    const QString kept = QString::number(CBitrateCalculator::DiskSize(2048, 30 * qMax(hours.toInt(), 0)), 'f', 2);
    const QString table =
        QStringLiteral(
            "Camera Name,Device Type,Resolution,Framerate,Picture Quality,Bitrate (kbit/s),Storage per day (GB),"
            "Codec,Width,Height,Average share (%),Recording group,Storage for retention (GB),"
            "Maker,Model,Firmware,Serial number\r\n"
            "%1,DVR,4CIF,25,Level1(best),2048,%2,H.264,,,100,Default,%3,,,,\r\n\r\n")
            .arg(cell, perDay, kept);
    const QString text = QString::fromUtf8(csv.mid(3));
    QVERIFY2(text.startsWith(table), qPrintable(text));
    if (hours == QLatin1String("24"))
        QVERIFY(csv.contains(",2048,25.44,")); // 2048 kbit/s x 86400 s x 1.15 / 8e6

    // Then the totals of the PDF, one to a row.
    QTemporaryDir dir;
    QVERIFY(report.SavePdf(dir.filePath(QStringLiteral("r.pdf")), nullptr));
    const QString pdf =
        Poppler(QStringLiteral("pdftotext"), {dir.filePath(QStringLiteral("r.pdf")), QStringLiteral("-")});
    const QStringList parts = text.mid(table.size()).split(QStringLiteral("\r\n\r\n"));
    const QStringList totals =
        QString(parts.at(0)).remove(QLatin1Char('"')).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(totals.size(), (perDay.isEmpty() ? 3 : 4) + (measured ? 1 : 0));
    QCOMPARE(totals.last().startsWith(QStringLiteral("Gate, north: measured 2026-12-07 22:30 for 60 s, average 1234")),
             measured);
    // Long lines wrap in the PDF.
    for (const QString &line : totals)
        QVERIFY2(pdf.simplified().contains(line.simplified()), qPrintable(line));

    QCOMPARE(parts.size(), recorders ? 2 : 1);
    if (!recorders)
        return;
    // Then the recorders: hand-added cameras record on Recorder 1, 8 x 8 TB RAID 5 at 5 % reserve,
    // 7 x 8 x 0.95 = 53.20 TB = 48.39 TiB usable; 2048 kbit/s for the hours a day over 7 data disks.
    const double writeTB = 2048 * 3600 * qMax(hours.toInt(), 0) / 8e6 * 365 / 7 / 1000;
    QCOMPARE(parts.at(1).section(QStringLiteral("\r\n"), 1, 1),
             QStringLiteral("Recorder 1,8 x 8 TB RAID 5,53.20,48.39,%1,180,Default,30,30.0,kept")
                 .arg(QString::number(writeTB, 'f', 1)));
    QVERIFY(pdf.contains(QStringLiteral("Verdict: every group keeps its days.")));
}

void TestPlanReport::totals_data()
{
    QTest::addColumn<QVector<STRU_CAMERA>>("cameras");
    QTest::addColumn<QString>("gb");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("hours"); // of both tabs
    QTest::addColumn<double>("perDay");
    QTest::addColumn<StoragePlan::Refusal>("timeRefusal");
    QTest::addColumn<QString>("time"); // days weeks months
    QTest::addColumn<StoragePlan::Refusal>("diskRefusal");
    QTest::addColumn<QString>("disk"); // GB TB
    using R = StoragePlan::Refusal;
    const QVector<STRU_CAMERA> one{MakeCamera("A", 1, 8, 0, 25, 2048)};
    QTest::newRow("worked examples") << one << "1000"
                                     << "30"
                                     << "24" << 25.43616 << R::None << "39 5 1" << R::None << "764 1";
    QTest::newRow("refusals") << one << "1"
                              << ""
                              << "24" << 25.43616 << R::DiskTooSmall << "" << R::NoTime << "";
    QTest::newRow("limits") << one << "76056154"
                            << "366"
                            << "24" << 25.43616 << R::DiskTooLarge << "" << R::TimeTooLong << "";
    QTest::newRow("no cameras") << QVector<STRU_CAMERA>() << "1000"
                                << "30"
                                << "24" << 0.0 << R::NoCameras << "" << R::NoCameras << "";
    QTest::newRow("hours no number") << one << "1000"
                                     << "30"
                                     << "x" << -1.0 << R::NoHoursPerDay << "" << R::NoHoursPerDay << "";
    QTest::newRow("no bitrate") << QVector<STRU_CAMERA>{MakeCamera("A", 1, 8, 0, 25, 0)} << "1000"
                                << "30"
                                << "24" << 0.0 << R::NoBitrate << "" << R::None << "0 0";
}

void TestPlanReport::totals()
{
    QFETCH(QVector<STRU_CAMERA>, cameras);
    QFETCH(QString, gb);
    QFETCH(QString, days);
    QFETCH(QString, hours);
    QFETCH(double, perDay);
    QFETCH(StoragePlan::Refusal, timeRefusal);
    QFETCH(QString, time);
    QFETCH(StoragePlan::Refusal, diskRefusal);
    QFETCH(QString, disk);
    STRU_PLAN plan = PlanOf(cameras, hours);
    plan.strDiskGB = gb;
    plan.strDays = days;
    plan.strHoursPerDay = hours;
    const CPlanReport::Totals totals = CPlanReport(plan, QString()).ComputeTotals();
    QCOMPARE(totals.dStoragePerDayGB, perDay);
    QCOMPARE(totals.recordTimeRefusal, timeRefusal);
    QCOMPARE(totals.diskSpaceRefusal, diskRefusal);
    if (timeRefusal == StoragePlan::Refusal::None)
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(totals.recordTime.days)
                     .arg(totals.recordTime.weeks)
                     .arg(totals.recordTime.months),
                 time);
    if (diskRefusal == StoragePlan::Refusal::None)
        QCOMPARE(totals.diskSpace.gb + QLatin1Char(' ') + totals.diskSpace.tb, disk);
}

void TestPlanReport::pdf_data()
{
    QTest::addColumn<QVector<STRU_CAMERA>>("cameras");
    QTest::addColumn<bool>("chinese");
    const QVector<STRU_CAMERA> latin = OddNames();
    QTest::newRow("latin") << latin << false;
    QVector<STRU_CAMERA> hidden{MakeCamera("Cam\u202Egpj.exe", 0, 2, 0, 25, 4096),
                                MakeCamera("Hall 2", 1, 8, 0, 25, 2048),
                                MakeCamera("\u2067Gate\u2069 \u202A3\u202C", 1, 8, 0, 25, 1024)};
    hidden[1].strName = Bytes("Hall\0 2\x1b");
    QTest::newRow("controls and bidirectional overrides") << hidden << false;
    QTest::newRow("chinese name") << (QVector<STRU_CAMERA>(latin) << MakeCamera("大厅 1", 0, 2, 0, 25, 4096)) << true;
    QVector<STRU_CAMERA> many;
    for (int i = 1; i <= 1024; ++i)
        many << MakeCamera(QByteArray("Cam " + QByteArray::number(i)).constData(), i % 2, 8 + i % 4, i % 6, 25, 32 * i);
    QTest::newRow("1024 cameras on many pages") << many << false;
}

void TestPlanReport::pdf()
{
    QFETCH(QVector<STRU_CAMERA>, cameras);
    QFETCH(bool, chinese);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    const STRU_PLAN plan = PlanOf(cameras);
    const CPlanReport report(plan, QStringLiteral("Harbour site"), kDate);
    QString error;
    QVERIFY2(report.SavePdf(path, &error), qPrintable(error));
    const QString text = Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    for (const char *line : {"Harbour site", "Date: 2024-05-01 14:30", "Video standard: PAL",
                             "Record time per day: 24 hours (Calculate Time), 24 hours (Calculate Disk)"})
        QVERIFY2(text.contains(QLatin1String(line)), line);
    // Every camera on one line, cells in order, storage as the calculator gives it.
    qint64 kbps = 0;
    double perDay = 0;
    for (const STRU_CAMERA &camera : std::as_const(cameras)) {
        const double gb = CBitrateCalculator::DiskSize(camera.iBitrate, 24);
        const QStringList cells{Shown(camera.strName),
                                NordaVocab::DeviceTypeText(camera.iType),
                                NordaVocab::ResolutionText(camera.iResolution),
                                NordaVocab::FramerateText(camera.dFramerate),
                                NordaVocab::LevelText(camera.iLevel),
                                QString::number(camera.iBitrate),
                                QString::number(gb, 'f', 2)};
        QStringList quoted;
        for (const QString &cell : cells)
            quoted << QRegularExpression::escape(cell);
        const QRegularExpression row(QStringLiteral("^ *") + quoted.join(QStringLiteral(" +")) + QStringLiteral(" *$"),
                                     QRegularExpression::MultilineOption);
        QVERIFY2(text.contains(row), qPrintable(cells.join(QLatin1Char('|'))));
        kbps += camera.iBitrate;
        perDay += gb;
    }
    QVERIFY(text.contains(QStringLiteral("Total bitrate: %1 kbit/s").arg(kbps)));
    QVERIFY(text.contains(QStringLiteral("Storage per day: %1 GB").arg(perDay, 0, 'f', 2)));
    StoragePlan::RecordTime time;
    QCOMPARE(StoragePlan::CalculateRecordTime(cameras, plan.strDiskGB, plan.strHoursPerDay, &time),
             StoragePlan::Refusal::None);
    QVERIFY(text.contains(QStringLiteral("1000 GB at 24 hours a day last %1 days = %2 weeks = %3 months")
                              .arg(time.days)
                              .arg(time.weeks)
                              .arg(time.months)));
    StoragePlan::DiskSpace disk;
    QCOMPARE(StoragePlan::CalculateDiskSpace(cameras, plan.strDays, plan.strHoursPerDay2, &disk),
             StoragePlan::Refusal::None);
    QVERIFY(text.contains(QStringLiteral("30 days at 24 hours a day need %1 GB = %2 TB").arg(disk.gb, disk.tb)));
    // The Storage page's section: the Default group records as "Calculate Disk" does.
    QVERIFY(text.contains(QLatin1String("Recording group: Default")));
    QVERIFY(text.contains(QLatin1String("Records as Calculate Disk: 24 hours a day, kept 30 days")));

    // Every font embedded; the Chinese one exactly when a text needs it.
    const QString fonts = Poppler(QStringLiteral("pdffonts"), {path});
    const QStringList rows = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!rows.isEmpty());
    for (const QString &row : rows)
        QVERIFY2(row.contains(QRegularExpression(QStringLiteral(" yes +(yes|no) +yes "))), qPrintable(row));
    QCOMPARE(fonts.contains(QLatin1String("NotoSansCJKsc")), chinese);
    QCOMPARE(fonts.contains(QLatin1String("CJKjp")), false);
}

void TestPlanReport::saveFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/report"));
    const CPlanReport report(PlanOf(OddNames()), QString());
    QString error;
    QVERIFY(!report.SavePdf(path + QStringLiteral(".pdf"), &error));
    QVERIFY2(error.contains(QStringLiteral("could not be saved")), qPrintable(error));
    error.clear();
    QVERIFY(!report.SaveCsv(path + QStringLiteral(".csv"), &error));
    QVERIFY2(error.contains(QStringLiteral("could not be saved")), qPrintable(error));
}

void TestPlanReport::cjk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("needed");
    QTest::newRow("latin") << "Lobby 2, Café" << false;
    QTest::newRow("emoji") << "Cam \U0001F600" << false;
    QTest::newRow("chinese") << "Cam 大厅" << true;
    QTest::newRow("japanese kana") << "ロビー" << true;
    QTest::newRow("korean") << "로비" << true;
    QTest::newRow("full-width digit") << "Cam １" << true;
    QTest::newRow("supplementary ideograph") << "Cam \U00020000" << true;
}

void TestPlanReport::cjk()
{
    QFETCH(QString, text);
    QFETCH(bool, needed);
    QCOMPARE(CPlanReport::NeedsCjkFont(text), needed);
}

void TestPlanReport::layout_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::newRow("english") << QStringLiteral("norda_en");
    QTest::newRow("chinese") << QStringLiteral("norda_zh");
}

// As printed on A4: header cells wrap at blanks only; the cells of a row share the first line's
// baseline, Chinese or not.
void TestPlanReport::layout()
{
    QFETCH(QString, catalogue);
    QTranslator translator;
    QVERIFY(translator.load(catalogue, QStringLiteral(NORDA_OUTPUT_DIR "/translations")));
    QCoreApplication::installTranslator(&translator);
    QTextDocument document;
    CPlanReport(PlanOf({MakeCamera("大厅 1", 0, 2, 0, 25, 4096), MakeCamera("Gate 2", 1, 8, 0, 25, 2048),
                        MakeCamera("停车场东门入口 192.168.1.64_IPCamera12", 0, 6, 3, 12.5, 1024)}),
                QStringLiteral("Site"), kDate)
        .BuildDocument(&document);
    QCoreApplication::removeTranslator(&translator);
    // The report's margins of 5 mm and the 2 cm that printing adds leave 160 mm of text.
    document.setDocumentMargin(0);
    document.setTextWidth(160 / 25.4 * QGuiApplication::primaryScreen()->logicalDotsPerInchX());
    const auto *table = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    int wraps = 0;
    for (int row = 0; row < table->rows(); ++row) {
        QList<qreal> baselines;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextBlock block = table->cellAt(row, column).firstCursorPosition().block();
            const QTextLayout *lines = block.layout();
            for (int i = 1; row == 0 && i < lines->lineCount(); ++i, ++wraps)
                QVERIFY2(block.text().at(lines->lineAt(i).textStart() - 1).isSpace(), qPrintable(block.text()));
            baselines << document.documentLayout()->blockBoundingRect(block).top() + lines->lineAt(0).y()
                    + lines->lineAt(0).ascent();
        }
        for (const qreal baseline : std::as_const(baselines))
            QVERIFY2(qAbs(baseline - baselines.first()) < 0.5, qPrintable(QStringLiteral("row %1").arg(row)));
    }
    QVERIFY(wraps > 0);
}

QTEST_MAIN(TestPlanReport)
#include "tst_planreport.moc"

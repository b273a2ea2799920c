#include "calc/planreport.h"

#include "calc/bitratecalculator.h"

#include <QColor>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSet>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

constexpr int kColumns = 7;
// Shares of the page width: name, type, resolution, frame rate, quality, bitrate, storage. Each
// word of the headers, English or Chinese, fits its column on A4.
const int kColumnPercent[kColumns] = {18, 10, 20, 11, 14, 12, 15};
const char *const kCjkFamily = "Noto Sans CJK SC";
const char *const kLatinFamily = "Arial";
constexpr qreal kPointSize = 9;

QString StandardName(int standard)
{
    return standard == NordaVocab::PAL ? QStringLiteral("PAL") : QStringLiteral("NTSC");
}

QString Gigabytes(double gb)
{
    return gb < 0 ? QString() : QString::number(gb, 'f', 2);
}

// A report shows names as text only: C0 controls other than the tab and the bidirectional
// overrides and isolates are dropped, so that a device-supplied name can neither hide characters
// nor reorder the text around it, in the PDF or in a spreadsheet.
QString ReportText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t') || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            continue;
        out += c;
    }
    return out;
}

// A header wraps at its blanks only: any other break (inside "设备类型", after the slash of
// "kbit/s") is closed with a word joiner.
QString BreakAtBlanksOnly(const QString &text)
{
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    QString out;
    qsizetype from = 0;
    for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < text.size(); at = breaks.toNextBoundary()) {
        out += QStringView(text).mid(from, at - from);
        if (!text.at(at - 1).isSpace())
            out += QChar(0x2060);
        from = at;
    }
    return out += QStringView(text).mid(from);
}

// One CSV field after RFC 4180. A spreadsheet would run a field starting with one of "=+-@" as
// a formula, also behind a leading tab or CR: such a field starts with an apostrophe.
void AppendCsvField(QByteArray &out, const QString &text)
{
    const bool formula = !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
    const QByteArray utf8 = (formula ? QLatin1Char('\'') + text : text).toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\r') && !utf8.contains('\n')) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendCsvRow(QByteArray &out, const QStringList &fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendCsvField(out, fields.at(i));
    }
    out += "\r\n";
}

// Writes through a temporary file; 'write' fills it.
bool SaveAtomically(const QString &path, const std::function<bool(QIODevice *)> &write, QString *reason)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly) && write(&file) && file.commit())
        return true;
    *reason = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace

QString CPlanReport::ReportName(const QString &name)
{
    return ReportText(name);
}

CPlanReport::CPlanReport(const STRU_PLAN &plan, const QString &planName, const QDateTime &date)
    : m_plan(plan), m_strName(planName), m_date(date)
{
}

double CPlanReport::StoragePerDayGB(const STRU_CAMERA &camera, const QString &hoursPerDay)
{
    // Read as "Calculate Disk" reads its hours: nothing recorded needs nothing.
    const StoragePlan::HoursProblem problem = StoragePlan::HoursPerDayProblem(hoursPerDay);
    if (problem == StoragePlan::HoursProblem::Zero || problem == StoragePlan::HoursProblem::Empty)
        return 0;
    if (problem != StoragePlan::HoursProblem::None && problem != StoragePlan::HoursProblem::AboveDay)
        return -1;
    bool ok = false;
    const qint64 hours = hoursPerDay.trimmed().toLongLong(&ok);
    if (!ok || hours > std::numeric_limits<int>::max())
        return -1;
    return CBitrateCalculator::DiskSize(std::max(camera.iBitrate, 0), hours);
}

CPlanReport::Totals CPlanReport::ComputeTotals() const
{
    Totals totals;
    double perDay = 0;
    for (const STRU_CAMERA &camera : m_plan.vecCamera) {
        totals.iTotalKbps += std::max(camera.iBitrate, 0);
        const double gb = StoragePerDayGB(camera, m_plan.strHoursPerDay2);
        perDay = gb < 0 || perDay < 0 ? -1 : perDay + gb;
    }
    totals.dStoragePerDayGB = perDay;
    totals.recordTimeRefusal =
        StoragePlan::CalculateRecordTime(m_plan.vecCamera, m_plan.strDiskGB, m_plan.strHoursPerDay, &totals.recordTime);
    totals.diskSpaceRefusal =
        StoragePlan::CalculateDiskSpace(m_plan.vecCamera, m_plan.strDays, m_plan.strHoursPerDay2, &totals.diskSpace);
    return totals;
}

bool CPlanReport::NeedsCjkFont(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        char32_t code = text.at(i).unicode();
        if (code < 0x1100)
            continue;
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        switch (QChar::script(code)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
        case QChar::Script_Bopomofo:
            return true;
        default:
            // CJK punctuation and full-width forms belong to no script of their own.
            if ((code >= 0x3000 && code <= 0x303F) || (code >= 0xFF00 && code <= 0xFFEF))
                return true;
        }
    }
    return false;
}

QString CPlanReport::Title() const
{
    return m_strName.trimmed().isEmpty() ? tr("Untitled plan") : ReportText(m_strName);
}

QString CPlanReport::RefusalText(StoragePlan::Refusal refusal) const
{
    switch (refusal) {
    case StoragePlan::Refusal::None:
        break;
    case StoragePlan::Refusal::NoCameras:
        return tr("the plan has no cameras");
    case StoragePlan::Refusal::DiskTooLarge:
        return tr("the disk size is above 76056153 GB");
    case StoragePlan::Refusal::DiskTooSmall:
        return tr("the disk size is below 2 GB");
    case StoragePlan::Refusal::NoTime:
        return tr("no record time is given");
    case StoragePlan::Refusal::TimeTooLong:
        return tr("the record time is above 365 days");
    case StoragePlan::Refusal::NoHoursPerDay:
        return tr("the hours per day are not a usable number");
    case StoragePlan::Refusal::NoBitrate:
        return tr("the bitrates of the cameras add up to 0");
    }
    return QString();
}

QStringList CPlanReport::HeaderTexts() const
{
    return {tr("Camera Name"),     tr("Device Type"),      tr("Resolution"),          tr("Framerate"),
            tr("Picture Quality"), tr("Bitrate (kbit/s)"), tr("Storage per day (GB)")};
}

QStringList CPlanReport::RowTexts(const STRU_CAMERA &camera) const
{
    return {ReportText(QString::fromLocal8Bit(camera.strName)),
            NordaVocab::DeviceTypeText(camera.iType),
            NordaVocab::ResolutionText(camera.iResolution),
            NordaVocab::FramerateText(camera.dFramerate),
            NordaVocab::LevelText(camera.iLevel),
            QString::number(camera.iBitrate),
            Gigabytes(StoragePerDayGB(camera, m_plan.strHoursPerDay2))};
}

QStringList CPlanReport::ResultLines(const Totals &totals) const
{
    QStringList results;
    results << tr("Total bitrate: %1 kbit/s").arg(totals.iTotalKbps);
    if (totals.dStoragePerDayGB >= 0)
        results << tr("Storage per day: %1 GB").arg(Gigabytes(totals.dStoragePerDayGB));
    if (totals.recordTimeRefusal == StoragePlan::Refusal::None) {
        results << tr("Calculate Time: %1 GB at %2 hours a day last %3 days = %4 weeks = %5 months.")
                       .arg(m_plan.strDiskGB, m_plan.strHoursPerDay)
                       .arg(totals.recordTime.days)
                       .arg(totals.recordTime.weeks)
                       .arg(totals.recordTime.months);
    } else {
        results << tr("Calculate Time: not calculated, %1.").arg(RefusalText(totals.recordTimeRefusal));
    }
    if (totals.diskSpaceRefusal == StoragePlan::Refusal::None) {
        results << tr("Calculate Disk: %1 days at %2 hours a day need %3 GB = %4 TB.")
                       .arg(m_plan.strDays, m_plan.strHoursPerDay2, totals.diskSpace.gb, totals.diskSpace.tb);
    } else {
        results << tr("Calculate Disk: not calculated, %1.").arg(RefusalText(totals.diskSpaceRefusal));
    }
    return results;
}

QByteArray CPlanReport::Csv() const
{
    // The byte order mark makes spreadsheets read the file as UTF-8 (Chinese names).
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(512 + m_plan.vecCamera.size() * 80);
    // The Storage page's columns after the calculation page's.
    AppendCsvRow(out, HeaderTexts() + StorageHeaderTexts() + IdentityHeaderTexts());
    NordaStorage::STRU_STORAGE_SETTINGS storage = m_plan.storage;
    NordaStorage::EnsureGroups(storage, m_plan.vecCamera);
    NordaStorage::CStorageCalculator calculator;
    calculator.SetCameras(m_plan.vecCamera, storage);
    calculator.Compute(storage, NordaStorage::STRU_PAGE_TIME::FromTexts(m_plan.strDays, m_plan.strHoursPerDay2));
    for (int i = 0; i < m_plan.vecCamera.size(); ++i) {
        const STRU_CAMERA &camera = m_plan.vecCamera.at(i);
        AppendCsvRow(
            out, RowTexts(camera) + StorageRowTexts(camera, calculator.CameraStorageGB(i)) + IdentityRowTexts(camera));
    }
    // The totals of the PDF, one to a row, after an empty row.
    out += "\r\n";
    for (const QString &line : ResultLines(ComputeTotals()))
        AppendCsvRow(out, {line});
    for (const QString &line : MeasuredLines())
        AppendCsvRow(out, {line});
    // The recorders' table, after another empty row.
    const QVector<QStringList> recorders = RecorderRows();
    if (!recorders.isEmpty()) {
        out += "\r\n";
        AppendCsvRow(out, RecorderHeaderTexts());
        for (const QStringList &row : recorders)
            AppendCsvRow(out, row);
    }
    return out;
}

void CPlanReport::BuildDocument(QTextDocument *document) const
{
    const Totals totals = ComputeTotals();
    QStringList lines; // under the title
    lines << tr("Date: %1").arg(m_date.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
          << tr("Video standard: %1").arg(StandardName(m_plan.iStandard))
          << tr("Record time per day: %1 hours (Calculate Time), %2 hours (Calculate Disk)")
                 .arg(ReportText(m_plan.strHoursPerDay), ReportText(m_plan.strHoursPerDay2))
          << tr("Cameras: %1").arg(m_plan.vecCamera.size());

    const QStringList results = ResultLines(totals);

    QVector<QStringList> rows;
    rows.reserve(m_plan.vecCamera.size());
    QStringList groupTitles;
    const QStringList groupSections = GroupSectionLines(&groupTitles);
    bool cjk = NeedsCjkFont(groupTitles.join(QString()) + groupSections.join(QString()));
    const QVector<RecorderSection> recorders = RecorderSections();
    for (const RecorderSection &section : recorders)
        cjk = cjk || NeedsCjkFont(section.strTitle + section.lines.join(QString()) + section.strVerdict);
    const QStringList devices = DeviceLines();
    cjk = cjk || NeedsCjkFont(devices.join(QString()));
    cjk = cjk || NeedsCjkFont(Title()) || NeedsCjkFont(lines.join(QString())) || NeedsCjkFont(results.join(QString()))
        || NeedsCjkFont(HeaderTexts().join(QString()));
    for (const STRU_CAMERA &camera : m_plan.vecCamera) {
        rows << RowTexts(camera);
        cjk = cjk || NeedsCjkFont(rows.constLast().join(QString()));
    }

    document->clear();
    QFont font;
    // Latin texts keep their own font: the CJK font's digits inside words lose their text in
    // the PDF. Without the CJK family Qt would fall back per glyph, and may pick Japanese forms
    // for Chinese names.
    // A family list takes no substitutes: Arial is named by the family that stands in for it.
    QStringList families{QFontInfo(QFont(QLatin1String(kLatinFamily))).family()};
    if (cjk && QFontDatabase::hasFamily(QLatin1String(kCjkFamily)))
        families << QLatin1String(kCjkFamily);
    font.setFamilies(families);
    font.setPointSizeF(kPointSize);
    document->setDefaultFont(font);
    document->setMetaInformation(QTextDocument::DocumentTitle, Title());

    QTextCursor cursor(document);
    QTextCharFormat titleFormat;
    titleFormat.setFontPointSize(kPointSize * 1.8);
    titleFormat.setFontWeight(QFont::Bold);
    cursor.insertText(Title(), titleFormat);
    QTextBlockFormat spaced;
    spaced.setTopMargin(kPointSize);
    cursor.insertBlock(spaced, QTextCharFormat());
    cursor.insertText(lines.join(QChar(QChar::LineSeparator)));

    QTextTableFormat tableFormat;
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setHeaderRowCount(1);
    tableFormat.setCellPadding(2);
    tableFormat.setCellSpacing(0);
    // Shaded rows instead of a grid: collapsed cell borders triple the time the PDF takes.
    tableFormat.setBorder(0);
    tableFormat.setTopMargin(kPointSize);
    QVector<QTextLength> widths;
    for (const int percent : kColumnPercent)
        widths << QTextLength(QTextLength::PercentageLength, percent);
    tableFormat.setColumnWidthConstraints(widths);
    QTextTable *table = cursor.insertTable(rows.size() + 1, kColumns, tableFormat);

    QTextCharFormat headerFormat;
    headerFormat.setFontWeight(QFont::Bold);
    QTextCharFormat headerCell;
    headerCell.setBackground(QColor(230, 230, 230));
    QTextCharFormat shadedCell;
    shadedCell.setBackground(QColor(243, 243, 243));
    // A line with Chinese is taller than a Latin one and, cells being top-aligned, would sit lower
    // than the Latin cells beside it. Lines of one fixed height share their baseline: Qt sets it
    // at four fifths of the height, whatever the font.
    QTextBlockFormat cellBlock;
    if (families.size() > 1)
        cellBlock.setLineHeight(QFontMetricsF(font).height() * 1.15, QTextBlockFormat::FixedHeight);
    const QStringList headers = HeaderTexts();
    for (int column = 0; column < kColumns; ++column) {
        table->cellAt(0, column).setFormat(headerCell);
        cursor.setBlockFormat(cellBlock);
        cursor.insertText(BreakAtBlanksOnly(headers.at(column)), headerFormat);
        cursor.movePosition(QTextCursor::NextCell);
    }
    const QTextCharFormat plain;
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < kColumns; ++column) {
            if (row % 2 == 1)
                table->cellAt(row + 1, column).setFormat(shadedCell);
            cursor.setBlockFormat(cellBlock);
            cursor.insertText(rows.at(row).at(column), plain);
            cursor.movePosition(QTextCursor::NextCell);
        }
    }

    cursor = QTextCursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(spaced, QTextCharFormat());
    cursor.insertText(results.join(QChar(QChar::LineSeparator)));

    // One section per recording group of the Storage page.
    QTextCharFormat sectionTitle;
    sectionTitle.setFontWeight(QFont::Bold);
    sectionTitle.setFontPointSize(kPointSize * 1.2);
    for (int i = 0; i < groupSections.size(); ++i) {
        cursor.insertBlock(spaced, QTextCharFormat());
        cursor.insertText(groupTitles.at(i), sectionTitle);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(groupSections.at(i), plain);
    }
    // One section per recorder; a verdict that falls short in the skin's warning red.
    QTextCharFormat warning;
    warning.setForeground(QColor(0xD2, 0x4A, 0x43));
    warning.setFontWeight(QFont::Bold);
    for (const RecorderSection &section : recorders) {
        cursor.insertBlock(spaced, QTextCharFormat());
        cursor.insertText(section.strTitle, sectionTitle);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(section.lines.join(QChar(QChar::LineSeparator)) + QChar(QChar::LineSeparator), plain);
        cursor.insertText(section.strVerdict, section.bMeets ? plain : warning);
    }
    const QStringList measured = MeasuredLines();
    if (!measured.isEmpty()) {
        cursor.insertBlock(spaced, QTextCharFormat());
        cursor.insertText(tr("Measured cameras"), sectionTitle);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(measured.join(QChar(QChar::LineSeparator)), plain);
    }
    if (!devices.isEmpty()) {
        cursor.insertBlock(spaced, QTextCharFormat());
        cursor.insertText(tr("Devices"), sectionTitle);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(devices.join(QChar(QChar::LineSeparator)), plain);
    }
}

QStringList CPlanReport::MeasuredLines() const
{
    QStringList lines;
    for (const STRU_CAMERA &camera : m_plan.vecCamera) {
        for (const STRU_MEASURED &measured : camera.vecMeasured) {
            lines << tr("%1: measured %2 for %3 s, average %4 kbit/s, peak %5 kbit/s, 95th percentile %6 kbit/s")
                         .arg(ReportText(QString::fromLocal8Bit(camera.strName)),
                              measured.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                         .arg(qRound(measured.dSeconds))
                         .arg(qRound(measured.dAverageKbps))
                         .arg(qRound(measured.dPeakKbps))
                         .arg(qRound(measured.dP95Kbps));
        }
    }
    return lines;
}

QStringList CPlanReport::IdentityHeaderTexts()
{
    return {tr("Maker"), tr("Model"), tr("Firmware"), tr("Serial number")};
}

QStringList CPlanReport::IdentityRowTexts(const STRU_CAMERA &camera)
{
    // Device-supplied texts: shown as text only, as names are.
    return {ReportText(QString::fromUtf8(camera.strMaker)), ReportText(QString::fromUtf8(camera.strModel)),
            ReportText(QString::fromUtf8(camera.strFirmware)), ReportText(QString::fromUtf8(camera.strSerial))};
}

QStringList CPlanReport::DeviceLines() const
{
    QStringList lines;
    QSet<QString> seen;
    for (const STRU_CAMERA &camera : m_plan.vecCamera) {
        const QStringList identity = IdentityRowTexts(camera);
        if (identity.join(QString()).isEmpty())
            continue;
        const QString device =
            QString::fromLocal8Bit(camera.strDeviceIP) + QLatin1Char(':') + QString::number(camera.iPort);
        if (seen.contains(device))
            continue;
        seen.insert(device);
        lines << tr("%1: %2 %3, firmware %4, serial number %5")
                     .arg(device, identity.at(0), identity.at(1), identity.at(2), identity.at(3));
    }
    return lines;
}

QStringList CPlanReport::StorageHeaderTexts() const
{
    return {tr("Codec"),           tr("Width"),
            tr("Height"),          tr("Average share (%)"),
            tr("Recording group"), tr("Storage for retention (GB)")};
}

QStringList CPlanReport::StorageRowTexts(const STRU_CAMERA &camera, double storageGB) const
{
    return {NordaStorage::CodecText(camera.iCodec),
            camera.iWidth > 0 ? QString::number(camera.iWidth) : QString(),
            camera.iHeight > 0 ? QString::number(camera.iHeight) : QString(),
            QString::number(camera.iAverageShare),
            ReportText(NordaStorage::GroupOf(camera)),
            Gigabytes(storageGB)};
}

QStringList CPlanReport::GroupSectionLines(QStringList *titles) const
{
    NordaStorage::STRU_STORAGE_SETTINGS storage = m_plan.storage;
    NordaStorage::EnsureGroups(storage, m_plan.vecCamera);
    NordaStorage::CStorageCalculator calculator;
    calculator.SetCameras(m_plan.vecCamera, storage);
    calculator.Compute(storage, NordaStorage::STRU_PAGE_TIME::FromTexts(m_plan.strDays, m_plan.strHoursPerDay2));
    const auto figures = [](const NordaStorage::STRU_GROUP_RESULT &result) {
        return tr("%1 Mbit/s, %2 GB per day, %3 TB = %4 TiB")
            .arg(QString::number(result.Mbps(), 'f', 2), QString::number(result.dGBPerDay, 'f', 2),
                 QString::number(result.TB(), 'f', 3), QString::number(result.TiB(), 'f', 3));
    };
    QStringList sections;
    for (int g = 0; g < storage.vecGroups.size(); ++g) {
        const NordaStorage::STRU_RECORDING_GROUP &group = storage.vecGroups.at(g);
        const NordaStorage::STRU_GROUP_RESULT &result = calculator.Groups().at(g);
        *titles << tr("Recording group: %1").arg(ReportText(group.strName));
        QStringList lines;
        lines << tr("Cameras: %1").arg(result.iCameras);
        if (group.bFollowPage) {
            lines << tr("Records as Calculate Disk: %1 hours a day, kept %2 days")
                         .arg(result.dEffectiveHours)
                         .arg(result.iDays);
        } else {
            lines << tr("Recording: %1").arg(NordaStorage::DescribeProfile(group))
                  << tr("Kept %1 days, %2 hours of full bitrate a day")
                         .arg(result.iDays)
                         .arg(QString::number(result.dEffectiveHours, 'f', 2));
        }
        lines << figures(result);
        sections << lines.join(QChar(QChar::LineSeparator));
    }
    if (!storage.vecGroups.isEmpty()) {
        *titles << tr("All recording groups");
        sections << tr("Overhead %1 %").arg(storage.iOverheadPercent) + QChar(QChar::LineSeparator)
                + figures(calculator.Total());
    }
    return sections;
}

bool CPlanReport::WritePdf(QIODevice *device) const
{
    if (!device->isOpen() || !device->isWritable())
        return false;
    const qint64 before = device->pos();
    QPdfWriter writer(device);
    // print() adds 2 cm of its own inside these margins, and numbers the pages.
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    writer.setTitle(Title());
    writer.setCreator(QStringLiteral("NORDA"));
    QTextDocument document;
    BuildDocument(&document);
    document.print(&writer);
    return device->isSequential() || device->pos() > before;
}

bool CPlanReport::SaveCsv(const QString &path, QString *error) const
{
    QString reason;
    const bool saved = SaveAtomically(
        path,
        [this](QIODevice *device) {
            const QByteArray csv = Csv();
            return device->write(csv) == csv.size();
        },
        &reason);
    if (!saved && error)
        *error = tr("The report could not be saved to \"%1\" (%2).").arg(QDir::toNativeSeparators(path), reason);
    return saved;
}

bool CPlanReport::SavePdf(const QString &path, QString *error) const
{
    QString reason;
    const bool saved = SaveAtomically(
        path, [this](QIODevice *device) { return WritePdf(device); }, &reason);
    if (!saved && error)
        *error = tr("The report could not be saved to \"%1\" (%2).").arg(QDir::toNativeSeparators(path), reason);
    return saved;
}

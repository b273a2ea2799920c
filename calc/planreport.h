// The report of a plan, for people who never open NORDA: a CSV table (one row per camera) and a
// PDF document (A4) with the plan's name, date, standard and hours per day, one table row per
// camera and the totals; then the Storage page's recording groups and recorders, a section each.
//
// Every figure comes from the arithmetic the panel uses (CBitrateCalculator::DiskSize and the
// two StoragePlan calculations on the plan's field texts), so a report always says what the
// panel shows for the same plan.
//
// - Storage per day of a camera: its bitrate for the hours per day of the "Calculate Disk" tab,
//   the tab that turns time into disk. Empty or 0 hours need 0 GB; a text that is no usable
//   number of hours ("abc", "-3") leaves the cell empty.
// - CSV: UTF-8 with a byte order mark, quoted after RFC 4180 (fields holding a comma, quote, CR
//   or LF are quoted, quotes doubled), lines ending in CRLF, numbers with a decimal point; after
//   the camera rows an empty row and the totals of the PDF, one to a row. A field starting with
//   "=", "+", "-", "@", tab or CR gets a leading apostrophe, so that a spreadsheet never runs a
//   device-supplied name as a formula.
// - Names lose C0 controls other than the tab and the bidirectional overrides and isolates in
//   both forms; the plan itself keeps them.
// - PDF: Qt's own PDF writer. When any text needs Chinese, Japanese or Korean glyphs, the whole
//   document is set in "Noto Sans CJK SC" (fonts-noto-cjk), embedded; otherwise in Arial (on
//   Linux its metric twin Liberation Sans).
#pragma once

#include "calc/planfile.h"
#include "calc/storageplan.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class QIODevice;
class QTextDocument;

class CPlanReport
{
    Q_DECLARE_TR_FUNCTIONS(CPlanReport)

public:
    // planName: shown as the title (for example the file's base name); "Untitled plan" when empty.
    CPlanReport(const STRU_PLAN &plan, const QString &planName, const QDateTime &date = QDateTime::currentDateTime());

    struct Totals
    {
        qint64 iTotalKbps = 0;        // sum of the bitrates (below 0 counts as 0)
        double dStoragePerDayGB = -1; // -1 when the hours per day are not usable
        StoragePlan::Refusal recordTimeRefusal = StoragePlan::Refusal::None; // "Calculate Time"
        StoragePlan::RecordTime recordTime;
        StoragePlan::Refusal diskSpaceRefusal = StoragePlan::Refusal::None; // "Calculate Disk"
        StoragePlan::DiskSpace diskSpace;
    };
    Totals ComputeTotals() const;

    // GB a camera records in one day of hoursPerDay (a field text); -1 when the text is no usable
    // number of hours.
    static double StoragePerDayGB(const STRU_CAMERA &camera, const QString &hoursPerDay);
    // True when the text holds a character of a Chinese, Japanese or Korean script.
    static bool NeedsCjkFont(const QString &text);

    QByteArray Csv() const;
    // Fills 'document' with the report: what the PDF prints (a preview can show it).
    void BuildDocument(QTextDocument *document) const;
    // Writes the PDF to an open device; false when the PDF writer could not paint on it.
    bool WritePdf(QIODevice *device) const;

    // Both write through a temporary file that replaces 'path' only when complete.
    bool SaveCsv(const QString &path, QString *error) const;
    bool SavePdf(const QString &path, QString *error) const;

private:
    QString Title() const;
    QString RefusalText(StoragePlan::Refusal refusal) const;
    QStringList HeaderTexts() const;
    QStringList RowTexts(const STRU_CAMERA &camera) const;
    // The totals under the table, one sentence each.
    QStringList ResultLines(const Totals &totals) const;

    // The Storage page's part: extra CSV columns and the sections per group.
    QStringList StorageHeaderTexts() const;
    QStringList StorageRowTexts(const STRU_CAMERA &camera, double storageGB) const;
    QStringList GroupSectionLines(QStringList *titles) const;
    // One line per measurement of a camera's stream: which camera, when, for how long, what.
    QStringList MeasuredLines() const;

    // The recorders' part (planreportrecorders.cpp): a section per recorder, and its CSV rows.
    struct RecorderSection
    {
        QString strTitle;
        QStringList lines;
        QString strVerdict;
        bool bMeets = true; // every group keeps its days within the disks' rating
    };
    QVector<RecorderSection> RecorderSections() const;
    QStringList RecorderHeaderTexts() const;
    QVector<QStringList> RecorderRows() const;
    // A name as a report shows it (see ReportText in planreport.cpp).
    static QString ReportName(const QString &name);
    // What the source devices said they are: extra CSV columns, and one line per device.
    static QStringList IdentityHeaderTexts();
    static QStringList IdentityRowTexts(const STRU_CAMERA &camera);
    QStringList DeviceLines() const;

    STRU_PLAN m_plan;
    QString m_strName;
    QDateTime m_date;
};

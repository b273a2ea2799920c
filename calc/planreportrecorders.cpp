// The report's recorders: one section per recorder of the Storage page (its array, usable
// capacity, the days each group requires and achieves, the write load and the verdict), and the
// same figures as CSV rows, one per group of each recorder.
#include "calc/planreport.h"
#include "storage/recorderplan.h"

using namespace NordaArrays;
using namespace NordaStorage;

namespace {

struct STRU_REPORTED_STORAGE
{
    STRU_STORAGE_SETTINGS settings;
    QVector<STRU_GROUP_RESULT> groups;
    QVector<STRU_RECORDER_LOAD> recorders;
};

// The Storage page's figures for a plan, as the page computes them when it opens. A plan whose
// recorders were never set up on the page reports none: a default array says nothing of the site.
STRU_REPORTED_STORAGE ComputeStorage(const STRU_PLAN &plan)
{
    STRU_REPORTED_STORAGE storage;
    if (plan.storage.vecRecorders.isEmpty())
        return storage;
    storage.settings = plan.storage;
    EnsureGroups(storage.settings, plan.vecCamera);
    EnsureRecorders(storage.settings, plan.vecCamera);
    CStorageCalculator calculator;
    calculator.SetCameras(plan.vecCamera, storage.settings);
    calculator.Compute(storage.settings, STRU_PAGE_TIME::FromTexts(plan.strDays, plan.strHoursPerDay2));
    storage.groups = calculator.Groups();
    storage.recorders = ComputeRecorders(storage.settings, storage.groups);
    return storage;
}

QString Fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

QVector<CPlanReport::RecorderSection> CPlanReport::RecorderSections() const
{
    const STRU_REPORTED_STORAGE storage = ComputeStorage(m_plan);
    QVector<RecorderSection> sections;
    for (int r = 0; r < storage.recorders.size(); ++r) {
        const STRU_RECORDER &recorder = storage.settings.vecRecorders.at(r);
        const STRU_DISK_ARRAY &array = recorder.array;
        const STRU_RECORDER_LOAD &load = storage.recorders.at(r);
        const STRU_ARRAY_RESULT &result = load.result;
        RecorderSection section;
        section.strTitle = tr("Recorder: %1").arg(ReportName(RecorderTitle(recorder.strName)));
        section.lines << tr("Array: %1 in %2 bays").arg(DescribeArray(array)).arg(array.iBays);
        const bool refused = result.eProblem != ArrayProblem::None;
        if (refused) {
            section.lines << tr("The array is refused: %1").arg(ProblemText(result.eProblem, array));
        } else {
            section.lines << tr("Usable: %1 TB = %2 TiB of %3 TB raw; recorded up to %4 TB (%5 % kept free)")
                                 .arg(Fixed(ToTB(result.capacity.dUsableBytes), 2),
                                      Fixed(ToTiB(result.capacity.dUsableBytes), 2),
                                      Fixed(ToTB(result.capacity.dRawBytes), 2),
                                      Fixed(ToTB(result.capacity.dRecordingBytes), 2))
                                 .arg(array.dFillLimitPercent);
            section.lines << tr("Needed: %1 TB for the groups' days with %2 % overhead")
                                 .arg(Fixed(ToTB(result.dNeededBytes), 2))
                                 .arg(storage.settings.iOverheadPercent);
        }
        QStringList missed;
        for (int i = 0; i < load.vecGroups.size(); ++i) {
            const QString group = ReportName(storage.settings.vecGroups.at(load.vecGroups.at(i)).strName);
            const int required = DemandOf(storage.groups.at(load.vecGroups.at(i))).iDaysToKeep;
            if (refused) {
                section.lines << tr("Group %1: requires %2 days").arg(group).arg(required);
                continue;
            }
            const STRU_GROUP_OUTCOME &outcome = result.groups.at(i);
            section.lines << (outcome.bMeets ? tr("Group %1: requires %2 days, achieves %3 days, kept")
                                             : tr("Group %1: requires %2 days, achieves %3 days, missed"))
                                 .arg(group)
                                 .arg(required)
                                 .arg(Fixed(outcome.dDaysKept, 1));
            if (!outcome.bMeets)
                missed << group;
        }
        if (!refused) {
            section.lines << tr("Write load: %1 TB a year per disk, rated %2 TB a year")
                                 .arg(Fixed(result.dWriteTBPerDiskYear, 1))
                                 .arg(array.dWorkloadTBPerYear);
            section.lines << tr("Ingress: %1 Mbit/s").arg(Fixed(result.dIngressMbps, 1));
        }
        section.bMeets = !refused && missed.isEmpty() && result.bWithinWorkload;
        if (refused)
            section.strVerdict = tr("Verdict: not calculated, the array is refused.");
        else if (!missed.isEmpty())
            section.strVerdict = tr("Verdict: %1 miss their days. Recorders overwrite the oldest video first when "
                                    "the array is full.")
                                     .arg(missed.join(QStringLiteral(", ")));
        else if (!result.bWithinWorkload)
            section.strVerdict = tr("Verdict: every group keeps its days, but the disks write more than their rating.");
        else
            section.strVerdict = tr("Verdict: every group keeps its days.");
        sections << section;
    }
    return sections;
}

QStringList CPlanReport::RecorderHeaderTexts() const
{
    return {tr("Recorder"),
            tr("Array"),
            tr("Usable (TB)"),
            tr("Usable (TiB)"),
            tr("Write load (TB/year per disk)"),
            tr("Workload rating (TB/year)"),
            tr("Recording group"),
            tr("Required (days)"),
            tr("Achieved (days)"),
            tr("Verdict")};
}

QVector<QStringList> CPlanReport::RecorderRows() const
{
    const STRU_REPORTED_STORAGE storage = ComputeStorage(m_plan);
    QVector<QStringList> rows;
    for (int r = 0; r < storage.recorders.size(); ++r) {
        const STRU_RECORDER &recorder = storage.settings.vecRecorders.at(r);
        const STRU_RECORDER_LOAD &load = storage.recorders.at(r);
        const STRU_ARRAY_RESULT &result = load.result;
        const bool refused = result.eProblem != ArrayProblem::None;
        const QStringList common{
            ReportName(RecorderTitle(recorder.strName)),
            DescribeArray(recorder.array),
            refused ? QString() : Fixed(ToTB(result.capacity.dUsableBytes), 2),
            refused ? QString() : Fixed(ToTiB(result.capacity.dUsableBytes), 2),
            refused ? QString() : Fixed(result.dWriteTBPerDiskYear, 1),
            QString::number(recorder.array.dWorkloadTBPerYear),
        };
        const QString refusal = tr("refused: %1").arg(ProblemText(result.eProblem, recorder.array));
        if (load.vecGroups.isEmpty())
            rows << common + QStringList{QString(), QString(), QString(), refused ? refusal : QString()};
        for (int i = 0; i < load.vecGroups.size(); ++i) {
            const int g = load.vecGroups.at(i);
            const QString required = QString::number(DemandOf(storage.groups.at(g)).iDaysToKeep);
            const QString name = ReportName(storage.settings.vecGroups.at(g).strName);
            if (refused) {
                rows << common + QStringList{name, required, QString(), refusal};
                continue;
            }
            const STRU_GROUP_OUTCOME &outcome = result.groups.at(i);
            rows << common
                    + QStringList{name, required, Fixed(outcome.dDaysKept, 1),
                                  outcome.bMeets ? tr("kept") : tr("missed")};
        }
    }
    return rows;
}

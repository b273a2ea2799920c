#include "calc/planrecorders.h"

#include "calc/planfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cmath>

using namespace NordaArrays;

namespace {

// The whole-number keys of a recorder, with their ranges and fields.
struct WholeKey
{
    const char *key;
    int min;
    int max;
    int STRU_DISK_ARRAY::*field;
};
const WholeKey kWholeKeys[] = {
    {"bays", 1, kMaxBays, &STRU_DISK_ARRAY::iBays},
    {"disks", 0, kMaxBays, &STRU_DISK_ARRAY::iDisks},
    {"groupSize", 2, kMaxBays, &STRU_DISK_ARRAY::iGroupSize},
    {"hotSpares", 0, kMaxBays, &STRU_DISK_ARRAY::iSpares},
};
// Whole numbers kept in doubles by the model.
struct PercentKey
{
    const char *key;
    int min;
    int max;
    double STRU_DISK_ARRAY::*field;
};
const PercentKey kRoundKeys[] = {
    {"reservePercent", 0, int(kMaxReservePercent), &STRU_DISK_ARRAY::dReservePercent},
    {"fillLimitPercent", 0, int(kMaxFillLimitPercent), &STRU_DISK_ARRAY::dFillLimitPercent},
    {"workloadTBPerYear", 1, kMaxWorkloadTBPerYear, &STRU_DISK_ARRAY::dWorkloadTBPerYear},
    {"rebuildMBps", 1, kMaxRebuildMBps, &STRU_DISK_ARRAY::dRebuildMBps},
};

// A value as JSON text: for the file, and (shortened) for a message.
QString JsonText(const QJsonValue &value)
{
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString Quoted(const QJsonValue &value)
{
    const QString text = JsonText(value);
    return text.size() > 40 ? text.left(40) + QStringLiteral("...") : text;
}

bool ReadRecorder(const QJsonValue &value, int index, STRU_RECORDER *recorder, QString *error)
{
    const QString where = CPlanFile::tr("Recorder %1").arg(index + 1);
    if (!value.isObject()) {
        *error = CPlanFile::tr("%1 must be an object, not %2.").arg(where, Quoted(value));
        return false;
    }
    const QJsonObject object = value.toObject();
    const QJsonValue name = object.value(QLatin1String("name"));
    if (!name.isString() || name.toString().trimmed().isEmpty() || name.toString().size() > kMaxRecorderNameLength) {
        *error = CPlanFile::tr("%1 needs a name of 1 to %2 characters, not %3.")
                     .arg(where)
                     .arg(kMaxRecorderNameLength)
                     .arg(Quoted(name));
        return false;
    }
    recorder->strName = name.toString();
    STRU_DISK_ARRAY &array = recorder->array;
    const auto number = [&](const char *key, double min, double max, bool whole, double *out) {
        const QJsonValue field = object.value(QLatin1String(key));
        if (field.isUndefined())
            return true;
        const double d = field.toDouble(std::nan(""));
        if (field.isDouble() && d >= min && d <= max && (!whole || d == std::floor(d))) {
            *out = d;
            return true;
        }
        const QString range =
            whole ? CPlanFile::tr("a whole number from %1 to %2") : CPlanFile::tr("a number from %1 to %2");
        *error = CPlanFile::tr("%1, %2 must be %3, not %4.")
                     .arg(where, QLatin1String(key), range.arg(min).arg(max), Quoted(field));
        return false;
    };
    for (const WholeKey &key : kWholeKeys) {
        double read = array.*key.field;
        if (!number(key.key, key.min, key.max, true, &read))
            return false;
        array.*key.field = int(read);
    }
    for (const PercentKey &key : kRoundKeys) {
        if (!number(key.key, key.min, key.max, true, &(array.*key.field)))
            return false;
    }
    if (!number("diskTB", kMinDiskTB, kMaxDiskTB, false, &array.dDiskTB))
        return false;
    const QJsonValue raid = object.value(QLatin1String("raid"));
    if (!raid.isUndefined() && !(raid.isString() && RaidLevelFromName(raid.toString(), &array.eRaid))) {
        QStringList levels;
        for (int level = 0; level < kRaidLevels; ++level)
            levels << RaidLevelName(RaidLevelAt(level));
        *error = CPlanFile::tr("%1, raid is %2, which is not one of: %3.")
                     .arg(where, Quoted(raid), levels.join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

} // namespace

namespace PlanRecorders {

QByteArray Write(const QVector<STRU_RECORDER> &recorders)
{
    QByteArray out = "[";
    for (int i = 0; i < recorders.size(); ++i) {
        const STRU_RECORDER &recorder = recorders.at(i);
        const STRU_DISK_ARRAY &array = recorder.array;
        // Keys in the order people read an array: what it is, then how it is run.
        QList<QPair<QString, QJsonValue>> fields{{QStringLiteral("name"), recorder.strName}};
        for (const WholeKey &key : kWholeKeys)
            fields.append({QLatin1String(key.key), array.*key.field});
        fields.append({QStringLiteral("diskTB"), array.dDiskTB});
        fields.append({QStringLiteral("raid"), RaidLevelName(array.eRaid)});
        for (const PercentKey &key : kRoundKeys)
            fields.append({QLatin1String(key.key), std::round(array.*key.field)});
        QStringList pairs;
        for (const auto &field : std::as_const(fields))
            pairs << JsonText(field.first) + QStringLiteral(": ") + JsonText(field.second);
        out += i == 0 ? "\n            {" : ",\n            {";
        out += pairs.join(QStringLiteral(", ")).toUtf8() + '}';
    }
    out += recorders.isEmpty() ? "]" : "\n        ]";
    return out;
}

bool Read(const QJsonObject &storage, QVector<STRU_RECORDER> *recorders, QString *error)
{
    const QJsonValue value = storage.value(QLatin1String("recorders"));
    if (value.isUndefined())
        return true;
    if (!value.isArray()) {
        *error =
            CPlanFile::tr("%1 must be a list of recorders, not %2.").arg(QLatin1String("recorders"), Quoted(value));
        return false;
    }
    const QJsonArray list = value.toArray();
    if (list.size() > kMaxRecorders) {
        *error =
            CPlanFile::tr("The plan holds %1 recorders; at most %2 are possible.").arg(list.size()).arg(kMaxRecorders);
        return false;
    }
    QSet<QString> names;
    QVector<STRU_RECORDER> read;
    for (int i = 0; i < list.size(); ++i) {
        STRU_RECORDER recorder;
        if (!ReadRecorder(list.at(i), i, &recorder, error))
            return false;
        if (names.contains(recorder.strName)) {
            *error = CPlanFile::tr("Recorder %1: the name \"%2\" is used twice.").arg(i + 1).arg(recorder.strName);
            return false;
        }
        names.insert(recorder.strName);
        read << recorder;
    }
    *recorders = read;
    return true;
}

} // namespace PlanRecorders

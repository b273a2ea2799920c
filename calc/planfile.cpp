#include "calc/planfile.h"

#include "calc/bitratecalculator.h"
#include "calc/cameralist.h"
#include "calc/cameranumbers.h"
#include "calc/planrecorders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <iterator>

namespace {

const char *const kStandardNames[] = {"PAL", "NTSC"};
const char *const kTypeNames[] = {"IPC", "DVR"}; // by code
const char *const kQualityNames[NordaVocab::kLevelCount] = {
    "Level 1(best)", "Level 2", "Level 3", "Level 4", "Level 5", "Level 6",
};

constexpr int kMaxPort = 65535;
// Resolution whose frame-rate lists hold every rate of the others.
constexpr int kFirstChoiceResolution = 2;
constexpr int kMaxHoursLength = 4; // as the hours-per-day fields take

// The input fields of a calculation tab as the file names them.
struct FieldRule
{
    const char *key;
    QString STRU_PLAN::*member;
    int maxDigits;   // the field's length
    qint64 maxValue; // the panel resets the field above it; -1: any text (hours per day)
};

const FieldRule kTimeTabFields[] = {
    {"diskTB", &STRU_PLAN::strDiskTB, 9, static_cast<qint64>(CBitrateCalculator::kMaxDiskGB / 1000)},
    {"diskGB", &STRU_PLAN::strDiskGB, 12, static_cast<qint64>(CBitrateCalculator::kMaxDiskGB)},
    {"hoursPerDay", &STRU_PLAN::strHoursPerDay, kMaxHoursLength, -1},
};
const FieldRule kDiskTabFields[] = {
    {"months", &STRU_PLAN::strMonths, 9, CBitrateCalculator::kMaxRecordDays / 30},
    {"weeks", &STRU_PLAN::strWeeks, 9, CBitrateCalculator::kMaxRecordDays / 7},
    {"days", &STRU_PLAN::strDays, 12, CBitrateCalculator::kMaxRecordDays},
    {"hoursPerDay", &STRU_PLAN::strHoursPerDay2, kMaxHoursLength, -1},
};

// ---- writing ------------------------------------------------------------------------------

void AppendJsonString(QByteArray &out, const QString &text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += '\\';
        if (byte < 0x20)
            out += "\\u00" + QByteArray::number(byte, 16).rightJustified(2, '0');
        else
            out += c;
    }
    out += '"';
}

// ", "key": value" (without the comma for the first key of an object)
void AppendField(QByteArray &out, const char *key, const QString &text, bool first = false)
{
    out += first ? "\"" : ", \"";
    out += key;
    out += "\": ";
    AppendJsonString(out, text);
}

void AppendField(QByteArray &out, const char *key, int number)
{
    out += ", \"";
    out += key;
    out += "\": " + QByteArray::number(number);
}

double FramerateOfText(const QString &text, bool *ok)
{
    // The rates the program offers by their texts ("1/2" too); reading a number is slower.
    static const QHash<QString, double> known = [] {
        QHash<QString, double> rates;
        for (const int type : {NordaVocab::TypeIPC, NordaVocab::TypeDVR}) {
            for (const int standard : {NordaVocab::PAL, NordaVocab::NTSC}) {
                for (const double rate : NordaVocab::FramerateChoices(type, kFirstChoiceResolution, standard))
                    rates.insert(NordaVocab::FramerateText(rate), rate);
            }
        }
        return rates;
    }();
    const auto found = known.constFind(text);
    if (found != known.constEnd()) {
        *ok = true;
        return found.value();
    }
    return text.toDouble(ok);
}

// The table's text where it reads back as the same rate, else every digit the rate needs.
QString FramerateForFile(double rate)
{
    QString text = NordaVocab::FramerateText(rate);
    bool ok = false;
    if (FramerateOfText(text, &ok) == rate && ok)
        return text;
    return QString::number(rate, 'g', 17);
}

void AppendTab(QByteArray &out, const char *name, const STRU_PLAN &plan, const FieldRule *rules, int count)
{
    out += "    \"";
    out += name;
    out += "\": {";
    for (int i = 0; i < count; ++i)
        AppendField(out, rules[i].key, plan.*rules[i].member, i == 0);
    out += "},\n";
}

// ", "measured": [{"started": "2026-12-07T14:02:05", "seconds": 60, "averageKbps": 1234.5, ...}]", only
// for a camera that has measurements.
void AppendMeasured(QByteArray &out, const QVector<STRU_MEASURED> &measurements)
{
    if (measurements.isEmpty())
        return;
    out += ", \"measured\": [";
    for (int i = 0; i < measurements.size(); ++i) {
        const STRU_MEASURED &measured = measurements.at(i);
        out += i == 0 ? "{" : ", {";
        AppendField(out, "started", measured.started.toString(Qt::ISODateWithMs), true);
        for (const auto &[key, value] : {std::pair<const char *, double>{"seconds", measured.dSeconds},
                                         {"averageKbps", measured.dAverageKbps},
                                         {"peakKbps", measured.dPeakKbps},
                                         {"p95Kbps", measured.dP95Kbps}}) {
            out += ", \"";
            out += key;
            out += "\": " + QByteArray::number(value, 'g', 17);
        }
        out += '}';
    }
    out += ']';
}

// What the source device said it is: only the keys it said, so that hand-made cameras read as before.
const std::pair<const char *, QByteArray STRU_CAMERA::*> kIdentityKeys[] = {{"maker", &STRU_CAMERA::strMaker},
                                                                            {"model", &STRU_CAMERA::strModel},
                                                                            {"firmware", &STRU_CAMERA::strFirmware},
                                                                            {"serial", &STRU_CAMERA::strSerial}};

void AppendIdentity(QByteArray &out, const STRU_CAMERA &camera)
{
    for (const auto &key : kIdentityKeys)
        if (!(camera.*key.second).isEmpty())
            AppendField(out, key.first, QString::fromUtf8(camera.*key.second));
}

void AppendCamera(QByteArray &out, STRU_CAMERA camera)
{
    NordaVocab::SanitizeCamera(camera);
    out += "        {";
    AppendField(out, "name", QString::fromLocal8Bit(camera.strName), true);
    AppendField(out, "deviceType", QLatin1String(kTypeNames[camera.iType == NordaVocab::TypeDVR ? 1 : 0]));
    AppendField(out, "resolution", NordaVocab::ResolutionText(camera.iResolution));
    AppendField(out, "quality", QLatin1String(kQualityNames[camera.iLevel]));
    AppendField(out, "framerate", FramerateForFile(camera.dFramerate));
    AppendField(out, "bitrate", camera.iBitrate);
    AppendField(out, "recommendedBitrate", camera.iRecommendedBitrate);
    AppendField(out, "deviceIP", QString::fromLocal8Bit(camera.strDeviceIP));
    AppendField(out, "port", camera.iPort);
    AppendField(out, "channel", camera.iChannel);
    AppendField(out, "width", camera.iWidth);
    AppendField(out, "height", camera.iHeight);
    AppendField(out, "codec", NordaStorage::CodecText(camera.iCodec));
    AppendField(out, "averageShare", camera.iAverageShare);
    AppendField(out, "group", QString::fromUtf8(camera.strGroup));
    AppendMeasured(out, camera.vecMeasured);
    AppendIdentity(out, camera);
    out += '}';
}

const char kHourLetters[] = {'-', 'C', 'E'}; // by NordaStorage::HourMode

void AppendStorage(QByteArray &out, NordaStorage::STRU_STORAGE_SETTINGS storage)
{
    NordaStorage::SanitizeSettings(storage);
    out += "    \"storage\": {\"overheadPercent\": " + QByteArray::number(storage.iOverheadPercent);
    out += ", \"codecPercent\": {";
    for (int codec = 0; codec < NordaStorage::kCodecCount; ++codec) {
        if (codec > 0)
            out += ", ";
        AppendJsonString(out, NordaStorage::CodecText(codec));
        out += ": " + QByteArray::number(storage.codecFactors.iPercent[codec]);
    }
    out += "},\n        \"groups\": [";
    for (int i = 0; i < storage.vecGroups.size(); ++i) {
        const NordaStorage::STRU_RECORDING_GROUP &group = storage.vecGroups.at(i);
        out += i == 0 ? "\n            {" : ",\n            {";
        AppendField(out, "name", group.strName, true);
        out += group.bFollowPage ? ", \"followsCalculateDisk\": true" : ", \"followsCalculateDisk\": false";
        QString hours;
        for (const NordaStorage::HourMode mode : group.hours)
            hours += QLatin1Char(kHourLetters[static_cast<int>(mode)]);
        AppendField(out, "hours", hours);
        AppendField(out, "activityPercent", group.iActivityPercent);
        AppendField(out, "nightStart", group.iNightStart);
        AppendField(out, "nightEnd", group.iNightEnd);
        AppendField(out, "nightFactorPercent", group.iNightFactorPercent);
        AppendField(out, "daysToKeep", group.iDaysToKeep);
        AppendField(out, "recorder", group.strRecorder);
        out += '}';
    }
    out += storage.vecGroups.isEmpty() ? "]" : "\n        ]";
    out += ",\n        \"recorders\": " + PlanRecorders::Write(storage.vecRecorders) + "},\n";
}

// ---- reading ------------------------------------------------------------------------------

// Texts of the file compare without case and blanks.
QString Folded(const QString &text)
{
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            folded += c.toLower();
    }
    return folded;
}

// A JSON value as a message quotes it.
QString Describe(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String: {
        const QString text = value.toString();
        return QLatin1Char('"') + (text.size() > 40 ? text.left(40) + QStringLiteral("...") : text) + QLatin1Char('"');
    }
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 12);
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array:
        return QStringLiteral("[...]");
    case QJsonValue::Object:
        return QStringLiteral("{...}");
    default:
        return QStringLiteral("null");
    }
}

// The texts a setting may take in a file, by code: as written, folded, and folded up to the
// brackets ("1080p" of "1080P(1920*1080)", "level1" of "Level 1(best)").
struct Choices
{
    QStringList shown;
    QStringList folded;
    QStringList shortened;

    explicit Choices(const QStringList &texts) : shown(texts)
    {
        for (const QString &text : texts) {
            folded << Folded(text);
            shortened << folded.constLast().section(QLatin1Char('('), 0, 0);
        }
    }
    int IndexOf(const QString &text) const
    {
        const int written = shown.indexOf(text); // as this program writes it: no folding needed
        if (written >= 0)
            return written;
        const QString key = Folded(text);
        const int index = folded.indexOf(key);
        return index >= 0 ? index : shortened.indexOf(key);
    }
};

QStringList Texts(const char *const *texts, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QLatin1String(texts[i]);
    return list;
}

// Reads one plan; the first problem ends it with 'error' set.
// The measurements of a camera. They only inform, so an entry that cannot be used is left out
// rather than refusing the plan; the newest kMaxMeasurements are kept.
QVector<STRU_MEASURED> ReadMeasured(const QJsonValue &value)
{
    QVector<STRU_MEASURED> measurements;
    const QJsonArray entries = value.toArray();
    for (const auto &entry : entries) {
        const QJsonObject object = entry.toObject();
        STRU_MEASURED measured;
        measured.started = QDateTime::fromString(object.value(QLatin1String("started")).toString(), Qt::ISODateWithMs);
        measured.dSeconds = object.value(QLatin1String("seconds")).toDouble();
        measured.dAverageKbps = object.value(QLatin1String("averageKbps")).toDouble();
        measured.dPeakKbps = object.value(QLatin1String("peakKbps")).toDouble();
        measured.dP95Kbps = object.value(QLatin1String("p95Kbps")).toDouble();
        const auto usable = [](double number) { return std::isfinite(number) && number > 0 && number < 1e9; };
        if (measured.started.isValid() && usable(measured.dSeconds) && usable(measured.dAverageKbps)
            && usable(measured.dPeakKbps) && usable(measured.dP95Kbps))
            measurements.append(measured);
    }
    if (measurements.size() > NordaVocab::kMaxMeasurements)
        measurements.remove(0, measurements.size() - NordaVocab::kMaxMeasurements);
    return measurements;
}

class CPlanReader
{
public:
    bool ReadPlan(const QJsonObject &root, STRU_PLAN *plan, QStringList *warnings);
    QString error;

private:
    bool Fail(const QString &message)
    {
        error = message;
        return false;
    }
    bool ReadTab(const QJsonObject &root, const char *name, const FieldRule *rules, int count, STRU_PLAN *plan);
    bool ReadCamera(const QJsonValue &value, int index, STRU_CAMERA *camera);
    bool ReadCameraStorage(const QJsonObject &object, STRU_CAMERA *camera);
    bool ReadStorage(const QJsonObject &root, NordaStorage::STRU_STORAGE_SETTINGS *storage);
    bool ReadGroup(const QJsonValue &value, int index, NordaStorage::STRU_RECORDING_GROUP *group);
    bool ReadChoice(const QJsonObject &object, const char *key, const Choices &choices, int *index);
    bool ReadWhole(const QJsonObject &object, const char *key, int min, int max, int *number, bool required);
    bool ReadText(const QJsonObject &object, const char *key, QString *text, bool required);

    // Where a key is, for a message; built only when one is needed.
    QString Where(const char *key) const
    {
        if (m_iCamera < 0)
            return QLatin1String(key);
        const QString camera = m_pName ? CPlanFile::tr("Camera %1 (%2)").arg(m_iCamera + 1).arg(Describe(*m_pName))
                                       : CPlanFile::tr("Camera %1").arg(m_iCamera + 1);
        return key ? camera + QStringLiteral(", ") + QLatin1String(key) : camera;
    }

    int m_iVersion = 1;                  // the file's format version
    int m_iCamera = -1;                  // the camera being read, -1 outside the list
    const QJsonValue *m_pName = nullptr; // its name, once read
};

bool CPlanReader::ReadText(const QJsonObject &object, const char *key, QString *text, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) {
        if (required)
            return Fail(CPlanFile::tr("%1 is missing.").arg(Where(key)));
        return true;
    }
    if (!value.isString())
        return Fail(CPlanFile::tr("%1 must be a text, not %2.").arg(Where(key), Describe(value)));
    *text = value.toString();
    if (text->size() > CPlanFile::kMaxTextLength) {
        return Fail(CPlanFile::tr("%1 is longer than %2 characters.").arg(Where(key)).arg(CPlanFile::kMaxTextLength));
    }
    return true;
}

bool CPlanReader::ReadWhole(const QJsonObject &object, const char *key, int min, int max, int *number, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) {
        if (required)
            return Fail(CPlanFile::tr("%1 is missing.").arg(Where(key)));
        return true;
    }
    const double d = value.toDouble(std::nan(""));
    // Also refuses fractions and what JSON cannot hold in a double exactly (beyond the range).
    if (!value.isDouble() || !(d >= min && d <= max) || d != std::floor(d)) {
        return Fail(CPlanFile::tr("%1 must be a whole number from %2 to %3, not %4.")
                        .arg(Where(key))
                        .arg(min)
                        .arg(max)
                        .arg(Describe(value)));
    }
    *number = static_cast<int>(d);
    return true;
}

bool CPlanReader::ReadChoice(const QJsonObject &object, const char *key, const Choices &choices, int *index)
{
    QString text;
    if (!ReadText(object, key, &text, true))
        return false;
    *index = choices.IndexOf(text);
    if (*index < 0) {
        return Fail(CPlanFile::tr("%1 is %2, which is not one of: %3.")
                        .arg(Where(key), Describe(QJsonValue(text)), choices.shown.join(QStringLiteral(", "))));
    }
    return true;
}

bool CPlanReader::ReadTab(const QJsonObject &root, const char *name, const FieldRule *rules, int count, STRU_PLAN *plan)
{
    const QJsonValue tab = root.value(QLatin1String(name));
    if (tab.isUndefined())
        return true; // the fields keep the panel's start texts
    if (!tab.isObject())
        return Fail(CPlanFile::tr("%1 must be an object, not %2.").arg(QLatin1String(name), Describe(tab)));
    const QJsonObject fields = tab.toObject();
    for (int i = 0; i < count; ++i) {
        const FieldRule &rule = rules[i];
        const QString where = QLatin1String(name) + QLatin1Char('.') + QLatin1String(rule.key);
        const QJsonValue value = fields.value(QLatin1String(rule.key));
        if (value.isUndefined())
            continue;
        QString text;
        if (value.isString()) {
            text = value.toString();
        } else if (value.isDouble() && value.toDouble() >= 0 && value.toDouble() < 1e15
                   && value.toDouble() == std::floor(value.toDouble())) {
            text = QString::number(static_cast<qint64>(value.toDouble()));
        } else {
            return Fail(CPlanFile::tr("%1 must be a text, not %2.").arg(where, Describe(value)));
        }

        if (rule.maxValue < 0) {
            if (text.size() > rule.maxDigits)
                return Fail(CPlanFile::tr("%1 is longer than %2 characters.").arg(where).arg(rule.maxDigits));
        } else {
            // What the field's validator lets through: empty, "0", or digits without a leading zero.
            bool digits =
                text == QLatin1String("0") || (text.size() <= rule.maxDigits && !text.startsWith(QLatin1Char('0')));
            for (const QChar c : text)
                digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            if (!digits) {
                return Fail(CPlanFile::tr("%1 must be empty, 0 or a whole number of at most %2 digits without "
                                          "leading zeros, not %3.")
                                .arg(where)
                                .arg(rule.maxDigits)
                                .arg(Describe(QJsonValue(text))));
            }
            if (!text.isEmpty() && text.toLongLong() > rule.maxValue)
                return Fail(CPlanFile::tr("%1 is %2, above the largest value %3.").arg(where, text).arg(rule.maxValue));
        }
        plan->*rule.member = text;
    }
    return true;
}

bool CPlanReader::ReadCamera(const QJsonValue &value, int index, STRU_CAMERA *camera)
{
    m_iCamera = index;
    m_pName = nullptr;
    if (!value.isObject())
        return Fail(CPlanFile::tr("%1 must be an object, not %2.").arg(Where(nullptr), Describe(value)));
    const QJsonObject object = value.toObject();
    QString name;
    if (!ReadText(object, "name", &name, true))
        return false;
    const QJsonValue nameValue(name);
    m_pName = &nameValue;

    static const Choices types(Texts(kTypeNames, 2));
    static const Choices resolutions = [] {
        QStringList texts;
        for (int i = 0; i < NordaVocab::kResolutionCount; ++i)
            texts << NordaVocab::ResolutionText(i);
        return Choices(texts);
    }();
    static const Choices qualities(Texts(kQualityNames, NordaVocab::kLevelCount));
    int type = 0;
    int resolution = 0;
    int level = 0;
    if (!ReadChoice(object, "deviceType", types, &type) || !ReadChoice(object, "resolution", resolutions, &resolution)
        || !ReadChoice(object, "quality", qualities, &level))
        return false;

    const QJsonValue rateValue = object.value(QLatin1String("framerate"));
    if (rateValue.isUndefined())
        return Fail(CPlanFile::tr("%1 is missing.").arg(Where("framerate")));
    bool ok = rateValue.isDouble();
    double rate = rateValue.toDouble();
    if (rateValue.isString())
        rate = FramerateOfText(rateValue.toString().trimmed(), &ok);
    if (!ok || !(rate >= 0 && rate <= NordaVocab::kMaxFramerate)) { // NaN and infinities too
        return Fail(CPlanFile::tr("%1 must be a frame rate from 0 to %2 (such as \"1/2\" or \"25\"), not %3.")
                        .arg(Where("framerate"))
                        .arg(NordaVocab::kMaxFramerate)
                        .arg(Describe(rateValue)));
    }

    STRU_CAMERA read;
    read.strName = name.toLocal8Bit();
    read.iType = type == 1 ? NordaVocab::TypeDVR : NordaVocab::TypeIPC;
    read.iResolution = resolution;
    read.iLevel = level;
    read.dFramerate = rate;
    if (!ReadWhole(object, "bitrate", 0, CPlanFile::kMaxBitrate, &read.iBitrate, true))
        return false;
    QString address;
    if (!ReadText(object, "deviceIP", &address, false))
        return false;
    read.strDeviceIP = address.toLocal8Bit();
    if (!ReadWhole(object, "port", -1, kMaxPort, &read.iPort, false)
        || !ReadWhole(object, "channel", -1, kMaxPort, &read.iChannel, false))
        return false;
    // A version-1 plan reads as it always did: later keys are not its own.
    if (m_iVersion >= 2 && !ReadCameraStorage(object, &read))
        return false;
    for (const auto &key : kIdentityKeys) {
        QString text;
        if (!ReadText(object, key.first, &text, false))
            return false;
        read.*key.second = text.toUtf8();
    }
    *camera = read;
    return true;
}

bool CPlanReader::ReadCameraStorage(const QJsonObject &object, STRU_CAMERA *camera)
{
    if (!ReadWhole(object, "width", 0, NordaVocab::kMaxPictureSide, &camera->iWidth, false)
        || !ReadWhole(object, "height", 0, NordaVocab::kMaxPictureSide, &camera->iHeight, false)
        || !ReadWhole(object, "averageShare", 0, NordaVocab::kMaxAverageShare, &camera->iAverageShare, false))
        return false;
    if ((camera->iWidth == 0) != (camera->iHeight == 0))
        return Fail(CPlanFile::tr("%1 must give both width and height, or neither.").arg(Where(nullptr)));
    QString codec;
    if (!ReadText(object, "codec", &codec, false))
        return false;
    if (!codec.isEmpty()) {
        camera->iCodec = NordaStorage::CodecOfText(codec);
        if (camera->iCodec < 0) {
            QStringList codecs;
            for (int i = 0; i < NordaStorage::kCodecCount; ++i)
                codecs << NordaStorage::CodecText(i);
            return Fail(CPlanFile::tr("%1 is %2, which is not one of: %3.")
                            .arg(Where("codec"), Describe(QJsonValue(codec)), codecs.join(QStringLiteral(", "))));
        }
    }
    QString group;
    if (!ReadText(object, "group", &group, false))
        return false;
    if (group.size() > NordaStorage::kMaxNameLength)
        return Fail(
            CPlanFile::tr("%1 is longer than %2 characters.").arg(Where("group")).arg(NordaStorage::kMaxNameLength));
    camera->strGroup = group.toUtf8();
    camera->vecMeasured = ReadMeasured(object.value(QLatin1String("measured")));
    return true;
}

bool CPlanReader::ReadStorage(const QJsonObject &root, NordaStorage::STRU_STORAGE_SETTINGS *storage)
{
    const QJsonValue value = root.value(QLatin1String("storage"));
    if (value.isUndefined())
        return true;
    if (!value.isObject())
        return Fail(CPlanFile::tr("%1 must be an object, not %2.").arg(QLatin1String("storage"), Describe(value)));
    const QJsonObject object = value.toObject();
    if (!ReadWhole(object, "overheadPercent", 0, NordaStorage::kMaxOverheadPercent, &storage->iOverheadPercent, false))
        return false;
    const QJsonValue codecs = object.value(QLatin1String("codecPercent"));
    if (!codecs.isUndefined()) {
        if (!codecs.isObject())
            return Fail(
                CPlanFile::tr("%1 must be an object, not %2.").arg(QLatin1String("codecPercent"), Describe(codecs)));
        const QJsonObject factors = codecs.toObject();
        for (auto it = factors.begin(); it != factors.end(); ++it) {
            const int codec = NordaStorage::CodecOfText(it.key());
            if (codec < 0)
                continue; // a codec of a later version
            const QByteArray key = it.key().toUtf8();
            if (!ReadWhole(factors, key.constData(), 1, NordaStorage::kMaxCodecPercent,
                           &storage->codecFactors.iPercent[codec], true))
                return false;
        }
    }
    const QJsonValue groups = object.value(QLatin1String("groups"));
    if (groups.isUndefined())
        return PlanRecorders::Read(object, &storage->vecRecorders, &error);
    if (!groups.isArray())
        return Fail(
            CPlanFile::tr("%1 must be a list of groups, not %2.").arg(QLatin1String("groups"), Describe(groups)));
    const QJsonArray list = groups.toArray();
    if (list.size() > NordaStorage::kMaxGroups)
        return Fail(CPlanFile::tr("The plan holds %1 recording groups; at most %2 are possible.")
                        .arg(list.size())
                        .arg(NordaStorage::kMaxGroups));
    QSet<QString> names;
    for (int i = 0; i < list.size(); ++i) {
        NordaStorage::STRU_RECORDING_GROUP group;
        if (!ReadGroup(list.at(i), i, &group))
            return false;
        if (names.contains(group.strName))
            return Fail(
                CPlanFile::tr("Recording group %1: the name \"%2\" is used twice.").arg(i + 1).arg(group.strName));
        names.insert(group.strName);
        storage->vecGroups << group;
    }
    return PlanRecorders::Read(object, &storage->vecRecorders, &error);
}

bool CPlanReader::ReadGroup(const QJsonValue &value, int index, NordaStorage::STRU_RECORDING_GROUP *group)
{
    const QString where = CPlanFile::tr("Recording group %1").arg(index + 1);
    if (!value.isObject())
        return Fail(CPlanFile::tr("%1 must be an object, not %2.").arg(where, Describe(value)));
    const QJsonObject object = value.toObject();
    const QJsonValue name = object.value(QLatin1String("name"));
    if (!name.isString() || name.toString().trimmed().isEmpty()
        || name.toString().size() > NordaStorage::kMaxNameLength)
        return Fail(CPlanFile::tr("%1 needs a name of 1 to %2 characters, not %3.")
                        .arg(where)
                        .arg(NordaStorage::kMaxNameLength)
                        .arg(Describe(name)));
    group->strName = name.toString();
    const QJsonValue follows = object.value(QLatin1String("followsCalculateDisk"));
    if (!follows.isUndefined() && !follows.isBool())
        return Fail(
            CPlanFile::tr("%1, followsCalculateDisk must be true or false, not %2.").arg(where, Describe(follows)));
    group->bFollowPage = follows.toBool(false);
    const QJsonValue hours = object.value(QLatin1String("hours"));
    if (!hours.isUndefined()) {
        const QString letters = hours.toString().toUpper();
        bool valid = hours.isString() && letters.size() == NordaStorage::kHoursPerDay;
        for (int h = 0; valid && h < NordaStorage::kHoursPerDay; ++h) {
            const int mode = QByteArray(kHourLetters, sizeof(kHourLetters)).indexOf(letters.at(h).toLatin1());
            valid = mode >= 0;
            if (valid)
                group->hours[h] = static_cast<NordaStorage::HourMode>(mode);
        }
        if (!valid)
            return Fail(CPlanFile::tr("%1, hours must be 24 letters C, E or -, not %2.").arg(where, Describe(hours)));
    }
    const struct
    {
        const char *key;
        int max;
        int *value;
    } numbers[] = {
        {"activityPercent", 100, &group->iActivityPercent},
        {"nightStart", NordaStorage::kHoursPerDay - 1, &group->iNightStart},
        {"nightEnd", NordaStorage::kHoursPerDay - 1, &group->iNightEnd},
        {"nightFactorPercent", NordaStorage::kMaxFactorPercent, &group->iNightFactorPercent},
        {"daysToKeep", NordaStorage::kMaxDaysToKeep, &group->iDaysToKeep},
    };
    for (const auto &number : numbers) {
        if (!ReadWhole(object, number.key, 0, number.max, number.value, false)) {
            error = where + QStringLiteral(", ") + error;
            return false;
        }
    }
    const QJsonValue recorder = object.value(QLatin1String("recorder"));
    if (!recorder.isUndefined()
        && (!recorder.isString() || recorder.toString().size() > NordaArrays::kMaxRecorderNameLength))
        return Fail(CPlanFile::tr("%1, recorder must be the name of a recorder, up to %2 characters, not %3.")
                        .arg(where)
                        .arg(NordaArrays::kMaxRecorderNameLength)
                        .arg(Describe(recorder)));
    group->strRecorder = recorder.toString();
    return true;
}

// Later cameras whose name was used before take "<prefix> <n>" with the panel's numbering.
QStringList RenameDuplicates(QVector<STRU_CAMERA> &cameras)
{
    QSet<QString> used;
    CCameraNumbers numbers;
    QVector<int> duplicates;
    for (int i = 0; i < cameras.size(); ++i) {
        const QString name = QString::fromLocal8Bit(cameras.at(i).strName);
        if (used.contains(name)) {
            duplicates << i;
            continue;
        }
        used.insert(name);
        numbers.Add(name);
    }
    QStringList renamed;
    for (const int i : std::as_const(duplicates)) {
        const QString old = QString::fromLocal8Bit(cameras.at(i).strName);
        QString prefix = old.section(QLatin1Char(' '), 0, 0);
        if (prefix.isEmpty())
            prefix = QStringLiteral("Camera");
        // The number is carried by no name, so the new name is free too; a long prefix is cut
        // so that the name still opens when saved again.
        const QString number = QLatin1Char(' ') + QString::number(numbers.Next());
        const QString name = prefix.left(CPlanFile::kMaxTextLength - number.size()) + number;
        numbers.Add(name);
        used.insert(name);
        cameras[i].strName = name.toLocal8Bit();
        renamed << CPlanFile::tr("\"%1\" to \"%2\"").arg(old, name);
    }
    return renamed;
}

bool CPlanReader::ReadPlan(const QJsonObject &root, STRU_PLAN *plan, QStringList *warnings)
{
    if (root.value(QLatin1String("format")).toString() != QLatin1String(CPlanFile::kFormatName))
        return Fail(CPlanFile::tr("The file is not a NORDA plan."));
    const QJsonValue version = root.value(QLatin1String("version"));
    const double number = version.toDouble(0);
    if (!version.isDouble() || !(number >= 1) || number != std::floor(number))
        return Fail(CPlanFile::tr("The plan's format version %1 is not valid.").arg(Describe(version)));
    if (number > CPlanFile::kVersion) {
        return Fail(CPlanFile::tr("The plan was saved by a newer NORDA (plan format %1); this version opens plan "
                                  "format %2.")
                        .arg(Describe(version))
                        .arg(CPlanFile::kVersion));
    }

    m_iVersion = static_cast<int>(number);
    STRU_PLAN read;
    static const Choices standards(Texts(kStandardNames, 2));
    if (!ReadChoice(root, "standard", standards, &read.iStandard))
        return false;
    if (!ReadTab(root, "calculateTime", kTimeTabFields, std::size(kTimeTabFields), &read)
        || !ReadTab(root, "calculateDisk", kDiskTabFields, std::size(kDiskTabFields), &read))
        return false;

    if (m_iVersion >= 2 && !ReadStorage(root, &read.storage))
        return false;

    const QJsonValue list = root.value(QLatin1String("cameras"));
    if (list.isUndefined())
        return Fail(CPlanFile::tr("%1 is missing.").arg(QLatin1String("cameras")));
    if (!list.isArray())
        return Fail(
            CPlanFile::tr("%1 must be a list of cameras, not %2.").arg(QLatin1String("cameras"), Describe(list)));
    const QJsonArray cameras = list.toArray();
    const int kept = std::min<qsizetype>(cameras.size(), CCameraList::kMaxCameras);
    read.vecCamera.resize(kept);
    for (int i = 0; i < kept; ++i) {
        if (!ReadCamera(cameras.at(i), i, &read.vecCamera[i]))
            return false;
    }

    CBitrateCalculator calculator;
    calculator.SetStandard(read.iStandard);
    for (STRU_CAMERA &camera : read.vecCamera) {
        NordaVocab::SanitizeCamera(camera);
        camera.iRecommendedBitrate = static_cast<int>(
            calculator.RecommendedBitrate(camera.iType, camera.iResolution, camera.dFramerate, camera.iLevel));
    }

    if (cameras.size() > kept) {
        *warnings << CPlanFile::tr("The plan holds %1 cameras; the first %2 were opened, the others left out.")
                         .arg(cameras.size())
                         .arg(kept);
    }
    const QStringList renamed = RenameDuplicates(read.vecCamera);
    if (!renamed.isEmpty()) {
        const int shown = 5;
        QString list = renamed.mid(0, shown).join(QStringLiteral(", "));
        if (renamed.size() > shown)
            list += QStringLiteral(", ...");
        *warnings << CPlanFile::tr("Camera names must differ; %1 cameras with a name used before were renamed: %2.")
                         .arg(renamed.size())
                         .arg(list);
    }
    *plan = read;
    return true;
}

QString Megabytes(qint64 bytes)
{
    return QString::number(static_cast<double>(bytes) / (1024 * 1024), 'f', 1);
}

} // namespace

QByteArray CPlanFile::Write(const STRU_PLAN &plan)
{
    QByteArray out;
    out.reserve(512 + plan.vecCamera.size() * 240);
    out += "{\n    \"format\": ";
    AppendJsonString(out, QLatin1String(kFormatName));
    out += ",\n    \"version\": " + QByteArray::number(kVersion) + ",\n    \"standard\": ";
    AppendJsonString(out, QLatin1String(kStandardNames[plan.iStandard == NordaVocab::PAL ? 0 : 1]));
    out += ",\n";
    AppendTab(out, "calculateTime", plan, kTimeTabFields, std::size(kTimeTabFields));
    AppendTab(out, "calculateDisk", plan, kDiskTabFields, std::size(kDiskTabFields));
    AppendStorage(out, plan.storage);
    out += "    \"cameras\": [";
    for (int i = 0; i < plan.vecCamera.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        AppendCamera(out, plan.vecCamera.at(i));
    }
    out += plan.vecCamera.isEmpty() ? "]\n}\n" : "\n    ]\n}\n";
    return out;
}

CPlanFile::Result CPlanFile::Read(const QByteArray &bytes, STRU_PLAN *plan, QStringList *messages)
{
    QStringList own;
    QStringList &out = messages ? *messages : own;
    out.clear();
    if (bytes.size() > kMaxFileBytes) {
        out << tr("The file is %1 MB large; a NORDA plan is never larger than %2 MB.")
                   .arg(Megabytes(bytes.size()), Megabytes(kMaxFileBytes));
        return Result::Refused;
    }
    const QByteArray text = bytes.trimmed();
    if (text.isEmpty()) {
        out << tr("The file is empty.");
        return Result::Refused;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        // An error at the very end: the text stops before the plan does.
        if (error.offset >= text.size())
            out << tr("The file is cut short: it ends before the plan does.");
        else
            out << tr("The file is not a NORDA plan: it is not JSON text (%1 at byte %2).")
                       .arg(error.errorString())
                       .arg(error.offset);
        return Result::Refused;
    }
    if (!document.isObject()) {
        out << tr("The file is not a NORDA plan.");
        return Result::Refused;
    }
    CPlanReader reader;
    if (!reader.ReadPlan(document.object(), plan, &out)) {
        out = QStringList{reader.error};
        return Result::Refused;
    }
    return out.isEmpty() ? Result::Opened : Result::OpenedWithWarnings;
}

bool CPlanFile::Save(const QString &path, const STRU_PLAN &plan, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    // Never write the target in place: a failed write must leave the old plan whole.
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = Write(plan);
        if (file.write(bytes) == bytes.size() && file.commit())
            return true;
    }
    const QString reason = file.errorString();
    file.cancelWriting();
    if (error) {
        *error = tr("The plan could not be saved to \"%1\" (%2). A file of that name that existed before is "
                    "unchanged.")
                     .arg(shown, reason);
    }
    return false;
}

CPlanFile::Result CPlanFile::Open(const QString &path, STRU_PLAN *plan, QStringList *messages)
{
    QStringList own;
    QStringList &out = messages ? *messages : own;
    out.clear();
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        out << tr("\"%1\" does not exist.").arg(shown);
        return Result::Refused;
    }
    if (info.isDir()) {
        out << tr("\"%1\" is a folder, not a plan file.").arg(shown);
        return Result::Refused;
    }
    // Devices and pipes could block or never end.
    if (!info.isFile()) {
        out << tr("\"%1\" is not a plan file.").arg(shown);
        return Result::Refused;
    }
    if (info.size() > kMaxFileBytes) {
        out << tr("\"%1\" is %2 MB large; a NORDA plan is never larger than %3 MB.")
                   .arg(shown, Megabytes(info.size()), Megabytes(kMaxFileBytes));
        return Result::Refused;
    }
    QFile file(path);
    // The file may have grown since it was measured: never read more than the cap and one byte.
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(kMaxFileBytes + 1) : QByteArray();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        out << tr("\"%1\" could not be read (%2).").arg(shown, file.errorString());
        return Result::Refused;
    }
    return Read(bytes, plan, &out);
}

#include "camdlg/encodingdialog.h"

#include "toolkit/tooltip.h"

#include <QComboBox>
#include <QLineEdit>

using namespace NordaVocab;

const char *const CEncodingDialog::kNumberPattern = "[1-9][0-9]+||[0]";

namespace {
// The IPC frame-rate list of the uncapped resolutions (2 to 11).
constexpr int kFullListResolution = 2;
// The resolution an IPC camera starts at: "1080P(1920*1080)".
constexpr int kDefaultIpcResolution = 2;
} // namespace

CEncodingDialog::CEncodingDialog(QWidget *parent) : CBaseDialog(parent, false, false, false)
{
    m_calculator.SetStandard(0);
}

void CEncodingDialog::AttachEncodingFields(QComboBox *deviceType, QComboBox *level, QComboBox *resolution,
                                           QComboBox *framerate, QLineEdit *bitrate, QLineEdit *recommand)
{
    m_pType = deviceType;
    m_pLevel = level;
    m_pResolution = resolution;
    m_pFramerate = framerate;
    m_pBitrate = bitrate;
    m_pRecommand = recommand;
    ConnectCombos();
}

void CEncodingDialog::ConnectCombos()
{
    connect(m_pType, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnTypeChange, Qt::UniqueConnection);
    connect(m_pLevel, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnLevelChange, Qt::UniqueConnection);
    connect(m_pResolution, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnResolutionChange,
            Qt::UniqueConnection);
    connect(m_pFramerate, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnFramerateChange,
            Qt::UniqueConnection);
}

void CEncodingDialog::DisconnectCombos()
{
    disconnect(m_pType, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnTypeChange);
    disconnect(m_pLevel, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnLevelChange);
    disconnect(m_pResolution, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnResolutionChange);
    disconnect(m_pFramerate, &QComboBox::currentIndexChanged, this, &CEncodingDialog::OnFramerateChange);
}

void CEncodingDialog::FillDeviceTypes()
{
    m_pType->clear();
    m_pType->addItem(QStringLiteral("DVR"), int(TypeDVR));
    m_pType->addItem(QStringLiteral("IPC"), int(TypeIPC));
}

void CEncodingDialog::FillLevels(const QStringList &texts)
{
    m_pLevel->clear();
    for (int level = 0; level < texts.size(); ++level)
        m_pLevel->addItem(texts.at(level), level);
}

void CEncodingDialog::FillFramerates(const QVector<double> &rates)
{
    m_pFramerate->clear();
    for (double rate : rates)
        m_pFramerate->addItem(FramerateText(rate), rate);
}

void CEncodingDialog::RebuildIpcLists()
{
    DisconnectCombos();
    m_pLevel->setEnabled(false);
    m_pResolution->clear();
    for (int resolution = 0; resolution < kResolutionCount; ++resolution)
        m_pResolution->addItem(ResolutionText(resolution), resolution);
    FillFramerates(FramerateChoices(TypeIPC, kFullListResolution, m_iStandard));
    m_pResolution->setCurrentIndex(0);
    m_pFramerate->setCurrentIndex(0);
    ConnectCombos();
}

void CEncodingDialog::RebuildDvrLists()
{
    DisconnectCombos();
    m_pLevel->setEnabled(true);
    m_pResolution->clear();
    for (int resolution = kFirstDvrResolution; resolution < kResolutionCount; ++resolution)
        m_pResolution->addItem(ResolutionText(resolution), resolution);
    FillFramerates(FramerateChoices(TypeDVR, kFirstDvrResolution, m_iStandard));
    m_pResolution->setCurrentIndex(0);
    m_pFramerate->setCurrentIndex(0);
    ConnectCombos();
}

int CEncodingDialog::RecommendedForForm()
{
    m_calculator.SetStandard(m_iStandard);
    const double value = m_calculator.RecommendedBitrate(CurrentInt(m_pType), CurrentInt(m_pResolution),
                                                         CurrentDouble(m_pFramerate), CurrentInt(m_pLevel));
    return static_cast<int>(value);
}

void CEncodingDialog::Recompute()
{
    const QString text = QString::number(RecommendedForForm());
    m_pRecommand->setText(text);
    m_pBitrate->setText(text);
}

void CEncodingDialog::SetStandard(int iStandard)
{
    m_iStandard = iStandard;
    if (IsIpcItem(m_pType, m_pType->currentIndex())) {
        RebuildIpcLists();
        // Leaving the first resolution runs OnResolutionChange, which recomputes.
        m_pResolution->setCurrentIndex(m_pResolution->findData(kDefaultIpcResolution));
    } else {
        RebuildDvrLists();
        Recompute();
    }
}

void CEncodingDialog::OnTypeChange(int iType)
{
    if (IsIpcItem(m_pType, iType)) {
        RebuildIpcLists();
        m_pResolution->setCurrentIndex(m_pResolution->findData(kDefaultIpcResolution));
    } else {
        RebuildDvrLists();
    }
    Recompute();
}

void CEncodingDialog::OnLevelChange(int)
{
    Recompute();
}

void CEncodingDialog::OnResolutionChange(int iResolution)
{
    if (!IsIpcItem(m_pType, m_pType->currentIndex())) {
        Recompute();
        return;
    }

    // The two largest IPC resolutions cap the frame rate (8 and 20); their lists start with
    // the cap, so a rate above it, or none, falls back to the first entry.
    double rate = CurrentDouble(m_pFramerate);
    const int resolution = iResolution >= 0 ? ItemInt(m_pResolution, iResolution) : kFullListResolution;
    const QVector<double> rates = FramerateChoices(TypeIPC, resolution, m_iStandard);
    if (resolution == 0 || resolution == 1) {
        const double cap = rates.first();
        if (rate > cap || rate == 0)
            rate = cap;
    }
    FillFramerates(rates);
    // The previous rate stays chosen when the new list offers it; otherwise the list keeps its
    // first entry rather than being left without a choice.
    const int index = rates.indexOf(rate);
    m_pFramerate->setCurrentIndex(index >= 0 ? index : 0);
    Recompute();
}

void CEncodingDialog::OnFramerateChange(int)
{
    Recompute();
}

void CEncodingDialog::SelectOrOffer(QComboBox *combo, int value, const QString &text)
{
    int index = -1;
    for (int i = 0; i < combo->count() && index < 0; ++i) {
        if (ItemInt(combo, i) == value)
            index = i;
    }
    if (index < 0) {
        combo->addItem(text.isEmpty() ? QString::number(value) : text, value);
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
}

void CEncodingDialog::SelectOrOffer(QComboBox *combo, double value, const QString &text)
{
    int index = -1;
    for (int i = 0; i < combo->count() && index < 0; ++i) {
        if (ItemDouble(combo, i) == value)
            index = i;
    }
    if (index < 0) {
        combo->addItem(text, value);
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
}

bool CEncodingDialog::IsIpcItem(const QComboBox *combo, int index)
{
    return index >= 0 && index < combo->count() && ItemInt(combo, index) == TypeIPC;
}

int CEncodingDialog::ItemInt(const QComboBox *combo, int index)
{
    return index >= 0 ? combo->itemData(index, Qt::UserRole).toInt() : 0;
}

double CEncodingDialog::ItemDouble(const QComboBox *combo, int index)
{
    return index >= 0 ? combo->itemData(index, Qt::UserRole).toDouble() : 0.0;
}

int CEncodingDialog::CurrentInt(const QComboBox *combo)
{
    return ItemInt(combo, combo->currentIndex());
}

double CEncodingDialog::CurrentDouble(const QComboBox *combo)
{
    return ItemDouble(combo, combo->currentIndex());
}

void CEncodingDialog::ReadEncoding(STRU_CAMERA &camera) const
{
    camera.iType = CurrentInt(m_pType);
    camera.iResolution = CurrentInt(m_pResolution);
    camera.iLevel = CurrentInt(m_pLevel);
    camera.dFramerate = CurrentDouble(m_pFramerate);
    camera.iBitrate = m_pBitrate->text().toInt();
    camera.iRecommendedBitrate = m_pRecommand->text().toInt();
}

bool CEncodingDialog::BitrateInRange() const
{
    const int bitrate = m_pBitrate->text().toInt();
    return bitrate >= kMinBitrate && bitrate <= kMaxBitrate;
}

void CEncodingDialog::ShowFieldTip(QWidget *field, const QString &message)
{
    field->setFocus();
    const QWidget *container = field->parentWidget();
    const QPoint global = container ? container->mapToGlobal(field->pos()) : field->mapToGlobal(QPoint());
    CToolTip::showText(global, message, field);
}

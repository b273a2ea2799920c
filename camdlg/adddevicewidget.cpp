#include "camdlg/adddevicewidget.h"
#include "ui_adddevicewidget.h"

#include <QRegularExpressionValidator>

namespace {
constexpr int kMaxCameras = 1024;
constexpr int kCountDigits = 4;
constexpr int kPrefixLength = 15;
// Names are split at the blank again later, so the prefix must not hold one ("^" and "_" are
// refused too); every other character may be typed.
const char *const kPrefixPattern = "/*[^ ^_]*$/";
} // namespace

CAddDeviceWidget::CAddDeviceWidget(QWidget *parent) : CEncodingDialog(parent), ui(new Ui::CAddDeviceWidget)
{
    ui->setupUi(GetContentFrame());

    const QRegularExpression number(QString::fromLatin1(kNumberPattern));
    ui->m_pEditCameraNum->setValidator(new QRegularExpressionValidator(number, this));
    ui->m_pEditCameraNum->setMaxLength(kCountDigits);
    ui->m_pEditBitRate->setValidator(new QRegularExpressionValidator(number, this));
    ui->m_pEditBitRate->setMaxLength(kBitrateDigits);
    ui->m_pEditPrefix->setText(tr("Channel"));
    ui->m_pEditPrefix->setEnabled(false);
    ui->m_pEditPrefix->setMaxLength(kPrefixLength);

    AttachEncodingFields(ui->m_pComboDeviceType, ui->m_pComboLevel, ui->m_pComboResolution, ui->m_pComboFrameRate,
                         ui->m_pEditBitRate, ui->m_pEditRecommand);
    // The lists are built before the combo boxes report changes, so the form starts at DVR,
    // the best level, "4CIF" and the full rate.
    FillDeviceTypes();
    FillLevels(LevelTexts());
    RebuildDvrLists();
    Recompute();

    SetMainAction([this] { OnBtnAdd(); });
    connect(ui->m_pBtnAdd, &QPushButton::clicked, this, &CAddDeviceWidget::OnBtnAdd);
    connect(ui->m_pBtnCancel, &QPushButton::clicked, this, &CAddDeviceWidget::OnBtnCancel);
    connect(ui->m_pCheckPrefix, &QCheckBox::toggled, this, &CAddDeviceWidget::OnPrefixCheck);

    ui->m_pEditPrefix->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(kPrefixPattern)), this));
    SetTitle(tr("Add Device"));
    ShowCloseBtn(true);
}

CAddDeviceWidget::~CAddDeviceWidget()
{
    delete ui;
}

QStringList CAddDeviceWidget::LevelTexts()
{
    return {tr("Level 1(best)"), tr("Level 2"), tr("Level 3"), tr("Level 4"), tr("Level 5"), tr("Level 6")};
}

void CAddDeviceWidget::OnBtnAdd()
{
    const QString countText = ui->m_pEditCameraNum->text();
    const int count = countText.toInt();
    if (countText.isEmpty() || count == 0) {
        ShowFieldTip(ui->m_pEditCameraNum, tr("Camera number cannot be empty."));
        return;
    }
    if (count > kMaxCameras) {
        ShowFieldTip(ui->m_pEditCameraNum, tr("Camera number should be less than 1024."));
        return;
    }
    if (!BitrateInRange()) {
        ShowFieldTip(ui->m_pEditBitRate, tr("Bitrate should be between 32 and 16384."));
        return;
    }

    STRU_CAMERA camera;
    camera.strName.clear();
    camera.strDeviceIP.clear();
    camera.iPort = -1;
    camera.iChannel = -1;
    ReadEncoding(camera);
    emit SignalAddCamera(camera, ui->m_pEditPrefix->text(), count);
}

void CAddDeviceWidget::OnPrefixCheck(bool)
{
    ui->m_pEditPrefix->setEnabled(ui->m_pCheckPrefix->isChecked());
}

void CAddDeviceWidget::OnBtnCancel()
{
    close();
}

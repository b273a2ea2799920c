#include "camdlg/moddevice.h"
#include "ui_moddevice.h"

#include "camdlg/copyinfo.h"

#include <QRegularExpressionValidator>

using namespace NordaVocab;

namespace {
constexpr int kWidth = 450;
constexpr int kHeight = 350;
} // namespace

CModDevice::CModDevice(QWidget *parent) : CEncodingDialog(parent), ui(new Ui::CModDevice)
{
    ui->setupUi(GetContentFrame());
    setFixedSize(kWidth, kHeight);

    SetMainAction([this] { OnBtnAdd(); });
    connect(ui->m_pBtnAdd, &QPushButton::clicked, this, &CModDevice::OnBtnAdd);
    connect(ui->m_pBtnCancel, &QPushButton::clicked, this, &CModDevice::OnBtnCancel);
    connect(ui->m_pBtnCopy, &QPushButton::clicked, this, &CModDevice::OnBtnCopy);
    AttachEncodingFields(ui->m_pComboDeviceType, ui->m_pComboLevel, ui->m_pComboResolution, ui->m_pComboFrameRate,
                         ui->m_pEditBitRate, ui->m_pEditRecommand);

    SetTitle(tr("Mod Device"));
    ShowCloseBtn(true);
}

CModDevice::~CModDevice()
{
    delete ui;
}

QStringList CModDevice::LevelTexts()
{
    return {tr("Level 1(best)"), tr("Level 2"), tr("Level 3"), tr("Level 4"), tr("Level 5"), tr("Level 6")};
}

void CModDevice::SetCameraList(const QVector<STRU_CAMERA> &cameras)
{
    m_vecCamera = cameras;
}

void CModDevice::SetCamera(const STRU_CAMERA &camera)
{
    // The combo boxes stay connected while the camera is shown, so the list rebuilds follow the
    // device type and resolution exactly as if the user had chosen them.
    m_camera = camera;

    const QRegularExpression number(QString::fromLatin1(kNumberPattern));
    ui->m_pEditRecommand->setValidator(new QRegularExpressionValidator(number, this));
    ui->m_pEditRecommand->setMaxLength(kBitrateDigits);
    ui->m_pEditBitRate->setValidator(new QRegularExpressionValidator(number, this));
    ui->m_pEditBitRate->setMaxLength(kBitrateDigits);

    // Every code other than DVR is an IP camera to the rest of the system.
    const bool ipc = camera.iType != TypeDVR;
    FillDeviceTypes();
    ui->m_pComboDeviceType->setCurrentIndex(ui->m_pComboDeviceType->findData(ipc ? TypeIPC : TypeDVR));

    FillLevels(LevelTexts());
    if (!ipc) {
        ui->m_pComboLevel->setCurrentIndex(ui->m_pComboLevel->findData(camera.iLevel));
        RebuildDvrLists();
    } else {
        // The level does not apply to IP cameras.
        ui->m_pComboLevel->setCurrentIndex(0);
        RebuildIpcLists();
    }

    // An IPC resolution decides the frame-rate list. The rebuild leaves the first resolution
    // current, so when the camera sits there no change is reported and the list is built here.
    const int before = ui->m_pComboResolution->currentIndex();
    SelectOrOffer(ui->m_pComboResolution, camera.iResolution, ResolutionText(camera.iResolution));
    if (ipc && ui->m_pComboResolution->currentIndex() == before)
        OnResolutionChange(before);

    SelectOrOffer(ui->m_pComboFrameRate, camera.dFramerate, FramerateText(camera.dFramerate));
    ui->m_pEditBitRate->setText(QString::number(camera.iBitrate));
    ui->m_pEditRecommand->setText(QString::number(RecommendedForForm()));
}

int CModDevice::OwnEntry() const
{
    for (int i = m_vecCamera.size() - 1; i >= 0; --i) {
        if (m_vecCamera.at(i).strName == m_camera.strName)
            return i;
    }
    return -1;
}

void CModDevice::StoreForm()
{
    ReadEncoding(m_camera);
    m_camera.strDeviceIP.clear();
    m_camera.iPort = -1;
    m_camera.iChannel = -1;
    // The list carries the edits too, so a copy plan copies what the form shows and a list
    // taken back after a copy does not lose them.
    const int own = OwnEntry();
    if (own >= 0)
        m_vecCamera[own] = m_camera;
}

void CModDevice::OnBtnAdd()
{
    if (!BitrateInRange()) {
        ShowFieldTip(ui->m_pEditBitRate, tr("Bitrate should be between 32 and 16384."));
        return;
    }
    StoreForm();
    accept();
}

void CModDevice::OnBtnCancel()
{
    reject();
}

void CModDevice::OnBtnCopy()
{
    // A bitrate the plan refuses must not be handed on to other cameras either.
    if (!BitrateInRange()) {
        ShowFieldTip(ui->m_pEditBitRate, tr("Bitrate should be between 32 and 16384."));
        return;
    }
    m_bCopied = true;
    const int own = OwnEntry();
    const int source = own >= 0 ? own : 0;
    StoreForm();

    CCopyInfo copyInfo(this);
    copyInfo.SetCameras(m_vecCamera, source);
    copyInfo.exec();
    m_vecCamera = copyInfo.GetCameras();
}

// Camera editing dialogs.
//
// CAddDeviceWidget adds cameras by hand in batches, CModDevice changes one camera of the plan and
// can open CCopyInfo to give that camera's plan to others. The add and modify dialogs show the
// same encoding fields - device type, quality level, resolution, frame rate, bitrate and the
// recommended bitrate - and behave identically while the user picks values; that shared part
// lives in CEncodingDialog below. Each dialog keeps its own user texts (translation context).
#pragma once

#include "calc/bitratecalculator.h"
#include "calc/camera.h"
#include "toolkit/basedialog.h"

#include <QStringList>

class QComboBox;
class QLineEdit;

class CEncodingDialog : public CBaseDialog
{
    Q_OBJECT

public:
    // Video standard the lists and the recommendation follow (0 = PAL, 1 = NTSC). Rebuilds the
    // lists of the current device type; for IPC the resolution returns to "1080P(1920*1080)".
    void SetStandard(int iStandard);

public slots:
    // The arguments are combo-box indexes (currentIndexChanged), not item data.
    void OnTypeChange(int iType);
    void OnLevelChange(int iLevel);
    void OnResolutionChange(int iResolution);
    void OnFramerateChange(int iFramerate);

protected:
    explicit CEncodingDialog(QWidget *parent);

    // Called once by the concrete dialog after its form is built.
    void AttachEncodingFields(QComboBox *deviceType, QComboBox *level, QComboBox *resolution, QComboBox *framerate,
                              QLineEdit *bitrate, QLineEdit *recommand);

    void FillDeviceTypes();
    void FillLevels(const QStringList &texts);
    void RebuildIpcLists();
    void RebuildDvrLists();
    // Writes the recommended bitrate of the current items into both bitrate fields.
    void Recompute();
    // The recommended bitrate of the current items, truncated.
    int RecommendedForForm();

    // Makes the item with this value current. A value that the list does not offer is appended
    // as an extra entry first, so the camera keeps it instead of reading back as 0.
    static void SelectOrOffer(QComboBox *combo, int value, const QString &text);
    static void SelectOrOffer(QComboBox *combo, double value, const QString &text);

    static bool IsIpcItem(const QComboBox *combo, int index);
    static int ItemInt(const QComboBox *combo, int index);
    static double ItemDouble(const QComboBox *combo, int index);
    static int CurrentInt(const QComboBox *combo);
    static double CurrentDouble(const QComboBox *combo);

    // Copies the encoding fields of the form into the camera; the name and the source device
    // fields are left to the caller.
    void ReadEncoding(STRU_CAMERA &camera) const;
    // The configured bitrate lies in the range the plan accepts.
    bool BitrateInRange() const;

    // Focuses the field and shows the message as a field tooltip at its position.
    static void ShowFieldTip(QWidget *field, const QString &message);

    static constexpr int kMinBitrate = 32;
    static constexpr int kMaxBitrate = 16384;
    static constexpr int kBitrateDigits = 5;
    static const char *const kNumberPattern;

    CBitrateCalculator m_calculator;
    int m_iStandard = 0;

private:
    void ConnectCombos();
    void DisconnectCombos();
    void FillFramerates(const QVector<double> &rates);

    QComboBox *m_pType = nullptr;
    QComboBox *m_pLevel = nullptr;
    QComboBox *m_pResolution = nullptr;
    QComboBox *m_pFramerate = nullptr;
    QLineEdit *m_pBitrate = nullptr;
    QLineEdit *m_pRecommand = nullptr;
};

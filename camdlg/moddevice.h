// The dialog that changes the encoding plan of one camera of the list. It works on copies: the
// caller hands in the standard, the whole list and the camera, runs it modally and, when it is
// accepted, takes back the camera - or the whole list once the plan was copied to others.
#pragma once

#include "camdlg/encodingdialog.h"

#include <QVector>

namespace Ui {
class CModDevice;
}

class CModDevice : public CEncodingDialog
{
    Q_OBJECT

public:
    explicit CModDevice(QWidget *parent);
    ~CModDevice() override;

    void SetCameraList(const QVector<STRU_CAMERA> &cameras);
    // Shows the camera in the form; the bitrate field keeps the camera's own bitrate.
    void SetCamera(const STRU_CAMERA &camera);

    STRU_CAMERA GetCamera() const { return m_camera; }
    QVector<STRU_CAMERA> GetCameraList() const { return m_vecCamera; }
    bool IsCopied() const { return m_bCopied; }

public slots:
    void OnBtnAdd();
    void OnBtnCancel();
    void OnBtnCopy();

private:
    static QStringList LevelTexts();
    // Position of the edited camera in the list (the last one of its name), -1 when absent.
    int OwnEntry() const;
    // Puts the form into the edited camera and into its own entry of the list.
    void StoreForm();

    Ui::CModDevice *ui;
    STRU_CAMERA m_camera;
    QVector<STRU_CAMERA> m_vecCamera;
    bool m_bCopied = false;
};

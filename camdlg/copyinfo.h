// The copy plan: the user ticks the cameras that are to receive the source camera's settings.
// It works on its own copy of the list; OK overwrites every ticked camera with the source,
// keeping the camera's own name, and the caller takes the list back with GetCameras().
#pragma once

#include "calc/camera.h"
#include "toolkit/basedialog.h"

#include <QVector>

class QStandardItemModel;

namespace Ui {
class CCopyInfo;
}

class CCopyInfo : public CBaseDialog
{
    Q_OBJECT

public:
    explicit CCopyInfo(QWidget *parent);
    ~CCopyInfo() override;

    // One row per camera except the source, in list order, all unticked.
    void SetCameras(const QVector<STRU_CAMERA> &cameras, int source);
    QVector<STRU_CAMERA> GetCameras() const { return m_vecCamera; }

public slots:
    void OnBtnOK();
    void OnBtnCancel();
    void OnBtnAll();

private:
    Ui::CCopyInfo *ui;
    QStandardItemModel *m_pModel;
    QVector<STRU_CAMERA> m_vecCamera;
    bool m_bCheckAll = true;
    int m_iSource = 0;
};

// The client database dialog: the user picks the video-management client's SQLite file, sees the
// devices of its table TInfo_Device with their stored credentials, selects some and presses
// "Add>>". The dialog only tells the panel (SignalAddClient); the panel's import thread then
// runs this dialog's survey and the import of the selected devices.
#pragma once

#include "import/device.h"
#include "import/devicesource.h"
#include "import/devicesurvey.h"
#include "toolkit/basedialog.h"

#include <QPair>
#include <QSet>
#include <QVector>

class QStandardItemModel;

namespace Ui {
class CImportClientWidget;
}

class CImportClientWidget : public CBaseDialog, public CDeviceSource
{
    Q_OBJECT

public:
    explicit CImportClientWidget(QWidget *parent);
    ~CImportClientWidget() override;

    const QVector<STRU_DEVICE> &Devices() const { return m_vecDevice; }

    // The survey of the selected rows' devices (key: the address in column 1, status in column
    // 3); any thread, after PrepareSurvey on the GUI thread.
    QVector<STRU_DEVICE> CheckSelectedDevices();
    void PrepareSurvey() override;
    CDeviceSurvey &Survey() override { return m_survey; }

signals:
    void SignalAddClient();

public slots:
    void OnBtnBrowse();
    // Reads the database named in the path field; devices already listed are not added again.
    // False on an empty path or a file that is not a client database.
    bool GetDeviceFromDatabase();
    void OnBtnAdd();
    void OnBtnCancel();

private:
    enum Column { ColName, ColAddress, ColPort, ColState, ColumnCount };

    void SetupTable();
    void AppendDevice(const STRU_DEVICE &device, const QString &state);

    Ui::CImportClientWidget *ui;
    QVector<STRU_DEVICE> m_vecDevice;
    QSet<QPair<QByteArray, int>> m_listed; // address and port of every listed device
    QStandardItemModel *m_pModel;
    CDeviceSurvey m_survey;
};

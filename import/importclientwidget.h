// The client database dialog: the user picks the video-management client's SQLite file, sees the
// devices of its table TInfo_Device with their stored credentials, selects some and presses
// "Add>>". The dialog only tells the panel (SignalAddClient); the panel's import thread then
// runs this dialog's survey and the import of the selected devices.
//
// "Import" starts a CClientDatabaseReader and the table fills as its rows arrive; while it reads,
// the button stops it, and closing the dialog stops it too. A read that fails takes back the rows
// it had listed.
#pragma once

#include "import/clientdatabasereader.h"
#include "import/device.h"
#include "import/devicesource.h"
#include "import/devicesurvey.h"
#include "toolkit/basedialog.h"

#include <QPair>
#include <QSet>
#include <QTimer>
#include <QVector>

#include <memory>

class QStandardItem;
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
    // The list holds at most this many devices.
    static constexpr int kMaxDevices = 100000;
    bool IsReading() const { return m_pReader != nullptr; }
    // Budget and device limit of later reads (tests use small ones).
    void SetReadLimits(const CClientDatabaseReader::LIMITS &limits) { m_readLimits = limits; }

    // The survey of the selected rows' devices (key: the address in column 1, status in column
    // 3); any thread, after PrepareSurvey on the GUI thread.
    QVector<STRU_DEVICE> CheckSelectedDevices();
    void PrepareSurvey() override;
    CDeviceSurvey &Survey() override { return m_survey; }

signals:
    void SignalAddClient();

public slots:
    void OnBtnBrowse();
    // Starts reading the database named in the path field (devices already listed are not added
    // again), or stops the read under way. False on an empty path or when it stopped a read.
    bool GetDeviceFromDatabase();
    void OnBtnAdd();
    void OnBtnCancel();
    void done(int result) override;

private slots:
    void OnReadProgress();

private:
    enum Column { ColName, ColAddress, ColPort, ColState, ColumnCount };

    void SetupTable();
    void AppendDevice(const STRU_DEVICE &device, const QString &state);
    void FinishRead(CClientDatabaseReader::Outcome outcome);
    void ShowReading(bool reading);

    Ui::CImportClientWidget *ui;
    QVector<STRU_DEVICE> m_vecDevice;
    QSet<QPair<QByteArray, int>> m_listed; // address and port of every listed device
    QStandardItemModel *m_pModel;
    CDeviceSurvey m_survey;

    CClientDatabaseReader::LIMITS m_readLimits;
    std::unique_ptr<CClientDatabaseReader> m_pReader;
    QTimer m_readTimer; // takes the reader's rows while it runs
    int m_iDevicesBeforeRead = 0;
    QList<QStandardItem *> m_readRows; // first cells of the rows listed by the read under way
};

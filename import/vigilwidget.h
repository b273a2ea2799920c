// The online device dialog ("Vigil"): the devices that discovery finds on the network, their
// login state, a manual login with typed credentials, and "Add>>", which asks the panel to
// import the selected devices (the panel's import thread then runs this dialog's survey).
//
// Threads meet here:
//   discovery thread  Update(): changes the device list under the dialog's mutex and queues the
//                     announcement; the GUI thread applies queued announcements to the table in
//                     arrival order, many at once (DrainAnnouncements).
//   CInitThread       every timer tick hands it a copy of the list while it is idle; it tries
//                     each device not yet tried with the credentials discovery gave it.
//   CLoginThread      the manual login of the selected devices.
// Login results are tied to their device by serial number, the key that column 2 shows too.
//
// The dialog is created once and lives to the end of the program; discovery, the timer and the
// initial login keep running while it is hidden. Shutdown() (also run by the destructor) ends
// discovery and both threads: afterwards no callback or thread reaches the dialog. A login in
// progress gives up within a moment (the device layer's call limit), so this takes well under a
// second however slow the devices are.
//
// A device that discovery sees at another address keeps the credentials the user typed, but they
// go to the new address only once the user confirms it with a manual login (the row says
// "Address changed"; the login dialog comes prefilled). Default credentials follow at once.
#pragma once

#include "import/device.h"
#include "import/devicesource.h"
#include "import/devicesurvey.h"
#include "import/observer.h"
#include "platform/tuvo.h"
#include "platform/vigil.h"
#include "toolkit/basedialog.h"

#include <QHash>
#include <QSet>
#include <QVector>

#include <map>

class CAddByAddress;
class CAddressSearchDialog;
class CInitThread;
class CLogin;
class CLoginThread;
class QStandardItem;
class QStandardItemModel;
class QTimer;

namespace NORDA {
class VigilSearch;
}

namespace Ui {
class CVigilWidget;
}

class CVigilWidget : public CBaseDialog, public NORDA::CObserver, public CDeviceSource
{
    Q_OBJECT

public:
    enum Column { ColIP, ColPort, ColSerialNo, ColVersion, ColLogState, ColumnCount };
    // State values of the "LogState" cell (under Qt::UserRole).
    enum State { StateOffline = 0, StateOnline = 1, StateAdded = 2, StateSurveyed = 3 };

    explicit CVigilWidget(QWidget *parent);
    ~CVigilWidget() override;

    // Ends discovery, the timer and both login threads and waits for them. Idempotent.
    void Shutdown();

    // A copy of the device list, in order of discovery.
    QVector<STRU_DEVICE> Devices() const;

    // Discovery thread (any thread): applies one announcement to the device list.
    void Update(STRU_DEVICE device, int event) override;

    // The survey of the selected rows' devices (key: serial number in column 2, status in
    // column 4); any thread, after PrepareSurvey on the GUI thread.
    QVector<STRU_DEVICE> CheckSelectedDevices();
    void PrepareSurvey() override;
    CDeviceSurvey &Survey() override { return m_survey; }

signals:
    void OnAddClicked();

public slots:
    void LoginDevice();
    void ImportDevice();
    // Results by index into the dialog's own list, resolved to that entry's serial number.
    // The threads' results arrive through the serial-number slots below.
    void OnLoginSignal(int index, bool succeeded);
    void OnInitSignal(int index, bool succeeded);
    void OnLoginover();
    void RefreshInitLoginDevice();
    // Devices beyond the multicast segment: a search of address ranges, or one device typed in.
    void SearchAddresses();
    void AddByAddress();

private slots:
    void OnInitResult(const QByteArray &serial, bool succeeded, int failure);
    void OnLoginResult(const QByteArray &serial, bool succeeded, int failure);
    void OnIdentity(const QByteArray &serial, const DEVICE_IDENTITY &identity);
    void DrainAnnouncements();
    void OnSelectionChanged();
    void OnAddressAnswered(const VIGIL_DEVICE_INFO &info);

private:
    struct ANNOUNCEMENT
    {
        STRU_DEVICE device;
        int iEvent = 0;
    };

    void SetupTable();
    QByteArray SerialOfEntry(int index) const;
    void ApplyLoginResult(const QByteArray &serial, bool succeeded, bool initial,
                          DeviceFailure failure = DeviceFailure::None);
    // The state text, the state value (-1: unchanged) and the reason behind it as the tooltip.
    void SetState(int row, const QString &text, int state, const QString &reason = QString());
    // Puts a new row where the sort indicator says, as a header click would.
    int SortedRow(const QList<QStandardItem *> &cells) const;
    // Sorts again after cells of the indicated column changed.
    void Resort(const QVector<int> &changedColumns);
    // Discovery thread: whether a device must stay listed when room is made for a new one.
    bool Keeps(const QByteArray &serial) const;
    // The device line of the login dialog: the selected rows' address and port.
    QString SelectedDevicesText(const QVector<int> &rows) const;
    void SetButtonsEnabled(bool enabled);
    // Writes "Waiting..." into the rows and logs in to their devices with the credentials (forgetting
    // their pinned certificates first when the user accepts new ones).
    void StartLogin(const QVector<int> &rows, const QString &userName, const QString &password,
                    bool acceptNewCertificate);
    // The serial number of a listed device at this address and port; null when none is.
    QByteArray SerialAt(const QByteArray &address, int port) const;
    QVector<int> RowsOfSerial(const QString &serial) const;
    QVector<int> SelectedRows() const;
    QVector<STRU_DEVICE> CopyOfList() const; // under m_hMutex

    // GUI thread: the table side of announcements.
    void AppendRow(const STRU_DEVICE &device, const QString &waiting);
    // Sets the cell texts without telling the views; widens [first, last] to the rows changed.
    void ChangeRows(const STRU_DEVICE &device, int *first, int *last, bool *addressChanged);
    void RemoveRows(const QVector<QString> &serials);

    Ui::CVigilWidget *ui;
    mutable TUVO_MUTEX m_hMutex = nullptr; // guards the seven below
    // The device list, in order of discovery (each new entry gets a larger key), and the
    // entries of each serial number, so that an announcement finds its device without a scan.
    std::map<quint64, STRU_DEVICE> m_devices;
    QHash<QByteArray, QVector<quint64>> m_entriesOfSerial;
    quint64 m_iNextEntry = 0;
    QVector<ANNOUNCEMENT> m_pendingAnnouncements;
    bool m_bDrainPosted = false;
    // Devices that discovery must not forget to make room: logged in, or selected (and so
    // perhaps being imported).
    QSet<QByteArray> m_loggedIn;
    QSet<QByteArray> m_selected;

    NORDA::VigilSearch *m_pSearch;
    CLogin *m_pLogin = nullptr;
    CAddressSearchDialog *m_pAddressSearch = nullptr;
    CAddByAddress *m_pAddByAddress = nullptr;
    CLoginThread *m_pLoginThread;
    CInitThread *m_pInitThread;
    QTimer *m_pTimer;
    QStandardItemModel *m_pModel;
    CDeviceSurvey m_survey;
    // GUI thread: the serial-number cells of each serial, to find rows without a scan.
    QHash<QString, QVector<QStandardItem *>> m_serialCells;
    int m_iLoginRuns = 0;
    bool m_bShutDown = false;
};

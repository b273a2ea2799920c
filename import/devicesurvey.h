// The channel survey that both import dialogs run over the devices of their selected rows.
//
// The dialog's table belongs to the GUI thread and its device list changes under the dialog's
// mutex, while the survey runs on the import thread. So the work is split:
//   1. GUI thread, before the import starts: Prepare() takes the selected rows' key texts (in
//      selection order), a persistent index of each row's status cell and a copy of the device
//      list (the dialog takes it under its mutex).
//   2. Import thread: CheckSelectedDevices() logs in to every device whose key matches a selected
//      row, reads every channel's compression settings and returns the surveyed copies.
//   3. Each outcome travels back by a queued signal; on the GUI thread the survey object writes
//      the status text (and the dialog's state value) into the row's status cell.
// A device that matches several selected rows is surveyed once per row, one after the other, as
// the dialogs always did. Different devices are surveyed at the same time.
#pragma once

#include "import/device.h"
#include "import/parallelrun.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <mutex>

class QAbstractItemModel;

class CDeviceSurvey : public QObject
{
    Q_OBJECT
public:
    enum KeyField { KeySerialNumber, KeyIPAddress };

    enum Outcome {
        LoginFailed,
        SomeUnsupported, // supported and unsupported resolutions
        SomeUnreadable,  // supported channels and unreadable ones
        Unsupported,
        Unreadable,
        Succeeded, // every channel supported, or no channel at all
    };

    // What a dialog supplies.
    struct SETTINGS
    {
        int iKeyColumn = 2;
        KeyField eKeyField = KeySerialNumber;
        int iStatusColumn = 4;
        QString strLoginFailedText; // already translated by the dialog
        int iSurveyedState = -1;    // state value written after a successful login; -1: none
        int iStateRole = Qt::UserRole;
    };

    explicit CDeviceSurvey(const SETTINGS &settings, QObject *parent = nullptr);

    const SETTINGS &Settings() const { return m_settings; }

    // GUI thread. selectedRows: one index per selected row, in selection order.
    void Prepare(QAbstractItemModel *model, const QModelIndexList &selectedRows, const QVector<STRU_DEVICE> &devices);

    // Any thread. The surveyed devices, login failures included, in device-list order and,
    // per device, in selection order. Each device's login and survey together get budgetMs. Once
    // *cancel is set, devices in flight give up within a moment and the run ends: what was not
    // surveyed to its end is left out and its row keeps its text.
    QVector<STRU_DEVICE> CheckSelectedDevices(int maxParallel = kDeviceParallelism, int budgetMs = kDeviceBudgetMs,
                                              const std::atomic<bool> *cancel = nullptr);

    // Surveys one device: login, every channel, logout. Sets the import status.
    static Outcome SurveyDevice(STRU_DEVICE *device);
    // The status cell text of an outcome.
    QString OutcomeText(Outcome outcome) const;

signals:
    // GUI thread, after the status cell of a row was written; state is -1 when left unchanged.
    void SignalRowStatus(int row, const QString &text, int state);
    // Emitted by the worker; delivered queued to the survey object on the GUI thread. failure is
    // a DeviceFailure, the reason of a failed login, shown as the status cell's tooltip.
    void SignalSurveyed(int generation, int selection, int outcome, int failure);

private slots:
    void OnSurveyed(int generation, int selection, int outcome, int failure);

private:
    struct SNAPSHOT
    {
        int iGeneration = 0;
        QStringList keys; // per selected row
        QVector<STRU_DEVICE> devices;
    };

    QString DeviceKey(const STRU_DEVICE &device) const;

    const SETTINGS m_settings;
    std::mutex m_mutex; // guards m_snapshot between the GUI thread and the worker
    SNAPSHOT m_snapshot;
    // GUI thread only.
    QPointer<QAbstractItemModel> m_pModel;
    QVector<QPersistentModelIndex> m_statusCells;
};

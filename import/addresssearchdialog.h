// "Search addresses...": the user names address ranges and ports, and every address there is
// asked whether it is a device (platform/addresssearch.h). Devices that answer are handed on one by
// one as announcements; the online device dialog lists them as newly found devices. The search
// runs on this thread's event loop without blocking it, shows its progress, and stops on "Stop"
// or when the dialog closes. What was typed stays for the next use.
#pragma once

#include "platform/vigil.h"
#include "toolkit/basedialog.h"

class CAddressSearch;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class CAddressSearchDialog : public CBaseDialog
{
    Q_OBJECT

public:
    explicit CAddressSearchDialog(QWidget *parent);
    ~CAddressSearchDialog() override;

    bool IsSearching() const;

signals:
    void SignalFound(const VIGIL_DEVICE_INFO &info);

public slots:
    // Starts a search of what the fields say, or stops the running one.
    void OnBtnSearchClicked();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void OnProgress(int done, int total);
    void OnFinished(bool cancelled);
    void ShowFieldTip(QWidget *field, const QString &message);

    CAddressSearch *m_pSearch;
    QLineEdit *m_pEditAddresses;
    QLineEdit *m_pEditPorts;
    QProgressBar *m_pProgress;
    QLabel *m_pLabelStatus;
    QPushButton *m_pBtnSearch;
    int m_iFound = 0;
};

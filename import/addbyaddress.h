// "Add by address...": a device that no search finds (or that the user simply knows), typed in
// with its address, port, user name and password. OK accepts only a usable address and port and
// both credentials; a wrong field is shown as a field tooltip. The online device dialog then lists
// the device like a found one and logs in to it with the typed credentials.
#pragma once

#include "toolkit/basedialog.h"

class QLineEdit;

class CAddByAddress : public CBaseDialog
{
    Q_OBJECT

public:
    explicit CAddByAddress(QWidget *parent);

    QString Address() const;
    int Port() const;
    QString UserName() const;
    QString Password() const;

public slots:
    void OnBtnOkClicked();

private:
    void ShowFieldTip(QWidget *field, const QString &message);

    QLineEdit *m_pEditAddress;
    QLineEdit *m_pEditPort;
    QLineEdit *m_pEditUser;
    QLineEdit *m_pEditPwd;
};

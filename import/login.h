// The login dialog of the online device dialog: user name and password for a manual login of
// the selected devices. OK (or Return/Enter) accepts only with both fields filled; an empty one
// is shown as a field tooltip. The dialog is kept between uses, and so is what was typed (a wrong
// password can be corrected without typing everything again). A line under the caption names the
// device the login is for. For a device whose HTTPS certificate changed, a check box (unticked
// each time) lets the user accept the new certificate.
#pragma once

#include "toolkit/basedialog.h"

namespace Ui {
class CLogin;
}

class CLogin : public CBaseDialog
{
    Q_OBJECT

public:
    explicit CLogin(QWidget *parent);
    ~CLogin() override;

    QString GetUserName() const;
    QString GetPassword() const;
    // The line under the caption that says which device the login is for.
    void SetDeviceText(const QString &text);
    // Fills both fields, as for a device that keeps the credentials it had.
    void SetCredentials(const QString &userName, const QString &password);
    // Shows the unticked "accept the new certificate" box, or hides it.
    void OfferNewCertificate(bool offer);
    bool AcceptsNewCertificate() const;

    static constexpr int kMaxUserLength = 32;
    static constexpr int kMaxPasswordLength = 16;

public slots:
    void OnBtnOkClicked();

private:
    void ShowFieldTip(QWidget *field, const QString &message);

    Ui::CLogin *ui;
};

// The login dialog of the online device dialog: user name and password for a manual login of
// the selected devices. OK (or Return/Enter) accepts only with both fields filled; an empty one
// is shown as a field tooltip. The dialog is kept between uses, and so is what was typed.
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

    static constexpr int kMaxUserLength = 32;
    static constexpr int kMaxPasswordLength = 16;

public slots:
    void OnBtnOkClicked();

private:
    void ShowFieldTip(QWidget *field, const QString &message);

    Ui::CLogin *ui;
};

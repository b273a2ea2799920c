#include "import/login.h"
#include "ui_login.h"

#include "toolkit/tooltip.h"

#include <QRegularExpressionValidator>

namespace {
// The apostrophe is the one character the fields refuse; everything else may be typed.
const char *const kNoApostrophePattern = "/*[^']*$/";
} // namespace

CLogin::CLogin(QWidget *parent) : CBaseDialog(parent, true, true, true), ui(new Ui::CLogin)
{
    ui->setupUi(GetContentFrame());
    // OK checks the fields first; only a complete form accepts.
    SetOkBtnAutoAccept(false);
    connect(this, &CBaseDialog::ClickedOKBtnSig, this, &CLogin::OnBtnOkClicked);
    SetMainAction([this] { OnBtnOkClicked(); });

    const QRegularExpression noApostrophe(QString::fromLatin1(kNoApostrophePattern));
    ui->m_pEditUser->setValidator(new QRegularExpressionValidator(noApostrophe, this));
    ui->m_pEditUser->setMaxLength(kMaxUserLength);
    ui->m_pEditPwd->setValidator(new QRegularExpressionValidator(noApostrophe, this));
    ui->m_pEditPwd->setMaxLength(kMaxPasswordLength);
    ui->m_pEditPwd->setEchoMode(QLineEdit::Password);
    ui->m_pEditUser->setFocus();
    // An address may be long (an IPv4 address and port fit); it must not widen the dialog.
    ui->m_pLabelDevice->setTextFormat(Qt::PlainText);
    ui->m_pLabelDevice->setMinimumWidth(1);
    ui->m_pLabelDevice->setStyleSheet(QStringLiteral("color: rgb(64, 131, 197);"));
    ui->m_pLabelDevice->hide();
    ui->m_pCheckCertificate->hide();
}

CLogin::~CLogin()
{
    delete ui;
}

QString CLogin::GetUserName() const
{
    return ui->m_pEditUser->text();
}

QString CLogin::GetPassword() const
{
    return ui->m_pEditPwd->text();
}

void CLogin::SetDeviceText(const QString &text)
{
    ui->m_pLabelDevice->setText(text);
    ui->m_pLabelDevice->setVisible(!text.isEmpty());
}

void CLogin::SetCredentials(const QString &userName, const QString &password)
{
    ui->m_pEditUser->setText(userName.left(kMaxUserLength));
    ui->m_pEditPwd->setText(password.left(kMaxPasswordLength));
}

void CLogin::OfferNewCertificate(bool offer)
{
    ui->m_pCheckCertificate->setChecked(false);
    ui->m_pCheckCertificate->setVisible(offer);
}

bool CLogin::AcceptsNewCertificate() const
{
    return !ui->m_pCheckCertificate->isHidden() && ui->m_pCheckCertificate->isChecked();
}

void CLogin::ShowFieldTip(QWidget *field, const QString &message)
{
    field->setFocus();
    CToolTip::showText(field->parentWidget()->mapToGlobal(field->pos()), message, field);
}

void CLogin::OnBtnOkClicked()
{
    if (ui->m_pEditUser->text().isEmpty()) {
        ShowFieldTip(ui->m_pEditUser, tr("User name cannot be empty."));
        return;
    }
    if (ui->m_pEditPwd->text().isEmpty()) {
        ShowFieldTip(ui->m_pEditPwd, tr("Password cannot be empty."));
        return;
    }
    accept();
}

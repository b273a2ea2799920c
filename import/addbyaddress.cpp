#include "import/addbyaddress.h"

#include "import/addressrange.h"
#include "import/login.h"
#include "toolkit/tooltip.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

CAddByAddress::CAddByAddress(QWidget *parent)
    : CBaseDialog(parent, true, true, true)
    , m_pEditAddress(new QLineEdit)
    , m_pEditPort(new QLineEdit(QStringLiteral("80")))
    , m_pEditUser(new QLineEdit(QStringLiteral("admin")))
    , m_pEditPwd(new QLineEdit)
{
    SetTitle(tr("Add by Address"));
    SetOkBtnAutoAccept(false);
    connect(this, &CBaseDialog::ClickedOKBtnSig, this, &CAddByAddress::OnBtnOkClicked);
    SetMainAction([this] { OnBtnOkClicked(); });

    auto *layout = new QGridLayout(GetContentFrame());
    layout->setContentsMargins(30, 12, 30, 6);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(10);
    const QList<QPair<QString, QLineEdit *>> rows{{tr("Address:"), m_pEditAddress},
                                                  {tr("Port:"), m_pEditPort},
                                                  {tr("Username:"), m_pEditUser},
                                                  {tr("Password:"), m_pEditPwd}};
    for (int row = 0; row < rows.size(); ++row) {
        layout->addWidget(new QLabel(rows.at(row).first), row, 0);
        layout->addWidget(rows.at(row).second, row, 1);
    }
    layout->setRowStretch(rows.size(), 1);
    m_pEditAddress->setObjectName(QStringLiteral("m_pEditAddress"));
    m_pEditAddress->setPlaceholderText(QStringLiteral("192.168.1.64"));
    m_pEditAddress->setMaxLength(15);
    m_pEditPort->setObjectName(QStringLiteral("m_pEditPort"));
    m_pEditPort->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), this));
    // The same limits and the one refused character as the login dialog's fields.
    const QRegularExpression noApostrophe(QStringLiteral("/*[^']*$/"));
    m_pEditUser->setObjectName(QStringLiteral("m_pEditUser"));
    m_pEditUser->setValidator(new QRegularExpressionValidator(noApostrophe, this));
    m_pEditUser->setMaxLength(CLogin::kMaxUserLength);
    m_pEditPwd->setObjectName(QStringLiteral("m_pEditPwd"));
    m_pEditPwd->setValidator(new QRegularExpressionValidator(noApostrophe, this));
    m_pEditPwd->setMaxLength(CLogin::kMaxPasswordLength);
    m_pEditPwd->setEchoMode(QLineEdit::Password);
    m_pEditAddress->setFocus();
}

QString CAddByAddress::Address() const
{
    return m_pEditAddress->text().trimmed();
}

int CAddByAddress::Port() const
{
    return m_pEditPort->text().toInt();
}

QString CAddByAddress::UserName() const
{
    return m_pEditUser->text();
}

QString CAddByAddress::Password() const
{
    return m_pEditPwd->text();
}

void CAddByAddress::ShowFieldTip(QWidget *field, const QString &message)
{
    field->setFocus();
    CToolTip::showText(field->parentWidget()->mapToGlobal(field->pos()), message, field);
}

void CAddByAddress::OnBtnOkClicked()
{
    QVector<quint32> addresses;
    QString error;
    if (!AddressRange::Parse(Address(), &addresses, &error) || addresses.size() != 1
        || AddressRange::Text(addresses.first()) != Address()) {
        ShowFieldTip(m_pEditAddress, tr("Enter the device's IPv4 address, such as 192.168.1.64."));
        return;
    }
    if (Port() < 1 || Port() > 65535) {
        ShowFieldTip(m_pEditPort, tr("The port must be a number from 1 to 65535."));
        return;
    }
    if (UserName().isEmpty()) {
        ShowFieldTip(m_pEditUser, tr("User name cannot be empty."));
        return;
    }
    if (Password().isEmpty()) {
        ShowFieldTip(m_pEditPwd, tr("Password cannot be empty."));
        return;
    }
    accept();
}

#include "import/addresssearchdialog.h"

#include "import/addressrange.h"
#include "platform/addresssearch.h"
#include "toolkit/tooltip.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

CAddressSearchDialog::CAddressSearchDialog(QWidget *parent)
    : CBaseDialog(parent, false, false, false)
    , m_pSearch(new CAddressSearch(ADDRESS_SEARCH_OPTIONS(), this))
    , m_pEditAddresses(new QLineEdit)
    , m_pEditPorts(new QLineEdit(QStringLiteral("80, 8000, 8080")))
    , m_pProgress(new QProgressBar)
    , m_pLabelStatus(new QLabel)
    , m_pBtnSearch(new QPushButton(tr("Search")))
{
    SetTitle(tr("Search Addresses"));
    ShowCloseBtn(true);
    auto *layout = new QGridLayout(GetContentFrame());
    layout->setContentsMargins(24, 12, 24, 12);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(10);
    auto *hint = new QLabel(tr("Addresses beyond the local network: ranges, networks or lists, at most %1.")
                                .arg(AddressRange::kMaxAddresses));
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: rgb(64, 131, 197);"));
    layout->addWidget(hint, 0, 0, 1, 3);
    layout->addWidget(new QLabel(tr("Addresses:")), 1, 0);
    m_pEditAddresses->setObjectName(QStringLiteral("m_pEditAddresses"));
    m_pEditAddresses->setPlaceholderText(QStringLiteral("192.168.1.10-200, 10.0.5.0/24"));
    layout->addWidget(m_pEditAddresses, 1, 1, 1, 2);
    layout->addWidget(new QLabel(tr("Ports:")), 2, 0);
    m_pEditPorts->setObjectName(QStringLiteral("m_pEditPorts"));
    layout->addWidget(m_pEditPorts, 2, 1, 1, 2);
    m_pProgress->setObjectName(QStringLiteral("m_pProgressSearch"));
    m_pProgress->setTextVisible(false);
    m_pProgress->setMaximumHeight(14);
    layout->addWidget(m_pProgress, 3, 0, 1, 3);
    m_pLabelStatus->setObjectName(QStringLiteral("m_pLabelStatus"));
    layout->addWidget(m_pLabelStatus, 4, 0, 1, 2);
    m_pBtnSearch->setObjectName(QStringLiteral("m_pBtnSearch"));
    m_pBtnSearch->setMinimumWidth(100);
    layout->addWidget(m_pBtnSearch, 4, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(5, 1);

    SetMainAction([this] { OnBtnSearchClicked(); });
    connect(m_pBtnSearch, &QPushButton::clicked, this, &CAddressSearchDialog::OnBtnSearchClicked);
    connect(m_pSearch, &CAddressSearch::SignalProgress, this, &CAddressSearchDialog::OnProgress);
    connect(m_pSearch, &CAddressSearch::SignalFinished, this, &CAddressSearchDialog::OnFinished);
    connect(m_pSearch, &CAddressSearch::SignalFound, this, [this](const VIGIL_DEVICE_INFO &info) {
        ++m_iFound;
        emit SignalFound(info);
    });
    m_pEditAddresses->setFocus();
}

CAddressSearchDialog::~CAddressSearchDialog() = default;

bool CAddressSearchDialog::IsSearching() const
{
    return m_pSearch->IsRunning();
}

void CAddressSearchDialog::OnBtnSearchClicked()
{
    if (m_pSearch->IsRunning()) {
        m_pSearch->Cancel();
        return;
    }
    QVector<quint32> addresses;
    QVector<quint16> ports;
    QString error;
    if (!AddressRange::Parse(m_pEditAddresses->text(), &addresses, &error)) {
        ShowFieldTip(m_pEditAddresses, error);
        return;
    }
    if (!AddressRange::ParsePorts(m_pEditPorts->text(), &ports, &error)) {
        ShowFieldTip(m_pEditPorts, error);
        return;
    }
    CToolTip::hideText();
    m_iFound = 0;
    m_pBtnSearch->setText(tr("Stop"));
    m_pEditAddresses->setEnabled(false);
    m_pEditPorts->setEnabled(false);
    m_pSearch->Start(addresses, ports);
}

void CAddressSearchDialog::OnProgress(int done, int total)
{
    m_pProgress->setMaximum(qMax(1, total));
    m_pProgress->setValue(done);
    m_pLabelStatus->setText(tr("%1 of %2 addresses, %3 found").arg(done).arg(total).arg(m_iFound));
}

void CAddressSearchDialog::OnFinished(bool cancelled)
{
    m_pBtnSearch->setText(tr("Search"));
    m_pEditAddresses->setEnabled(true);
    m_pEditPorts->setEnabled(true);
    const QString found = tr("%n device(s) found", nullptr, m_iFound);
    m_pLabelStatus->setText(cancelled ? tr("Stopped: %1").arg(found) : found);
}

void CAddressSearchDialog::ShowFieldTip(QWidget *field, const QString &message)
{
    field->setFocus();
    CToolTip::showText(field->parentWidget()->mapToGlobal(field->pos()), message, field);
}

void CAddressSearchDialog::hideEvent(QHideEvent *event)
{
    // Nothing goes on behind a closed dialog.
    m_pSearch->Cancel();
    CBaseDialog::hideEvent(event);
}

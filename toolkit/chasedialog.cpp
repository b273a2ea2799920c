#include "chasedialog.h"

#include <QByteArray>
#include <QGridLayout>
#include <QLabel>
#include <QMovie>
#include <QTimer>

ChaseDialog::ChaseDialog(QWidget *parent, const QString &movieFile, const QString &caption, bool cancellable)
    : CBaseDialog(parent, cancellable, false, cancellable)
{
    SetTitle(caption);

    auto layout = new QGridLayout(GetContentFrame());
    m_pMovieLabel = new QLabel(GetContentFrame());
    m_pMovieLabel->setObjectName(QStringLiteral("m_pMovieLabel"));
    // An empty format lets QMovie detect it from the data; a missing file leaves the label empty.
    m_pMovie = new QMovie(movieFile, QByteArray(), this);
    m_pMovieLabel->setMovie(m_pMovie);
    m_pMovie->start();
    layout->addWidget(m_pMovieLabel, 0, 0, Qt::AlignHCenter | Qt::AlignVCenter);

    connect(this, &QDialog::rejected, this, &ChaseDialog::SignalCancel);

    setFixedSize(280, 190);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    m_pTimer = new QTimer(this);
    connect(m_pTimer, &QTimer::timeout, this, &ChaseDialog::UpdateInfo);
    m_pTimer->start(PollIntervalMs);
}

ChaseDialog::~ChaseDialog()
{
    m_pTimer->stop();
}

void ChaseDialog::UpdateInfo()
{
    const int pending = m_iPendingEnd;
    m_iPendingEnd = -1;
    if (pending == 1)
        accept();
    else if (pending == 0)
        reject();
}

void ChaseDialog::SetStopChase()
{
    m_iPendingEnd = 1;
}

void ChaseDialog::OnSlotRejectChase()
{
    m_iPendingEnd = 0;
}

void ChaseDialog::OnImmediatelyStopChase()
{
    m_iPendingEnd = 1;
    accept();
}

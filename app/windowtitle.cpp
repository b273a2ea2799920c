#include "app/windowtitle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {
const char kFullScreenLook[] =
    "QPushButton{border:none;margin:0;border-image:url(:/images/title/full-screen.png);}"
    "QPushButton:hover{border:none;margin:0;border-image:url(:/images/title/full-screen_hover.png);}";
const char kBackLook[] = "QPushButton{border:none;margin:0;border-image:url(:/images/title/back.png);}"
                         "QPushButton:hover{border:none;margin:0;border-image:url(:/images/title/back_hover.png);}";

QPushButton *makeTitleButton(QWidget *parent, const char *name, const char *style)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(20, 20);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setStyleSheet(QString::fromLatin1(style));
    return button;
}
} // namespace

CWindowTitle::CWindowTitle(QWidget *mainWindow) : QWidget(mainWindow), m_pMainWindow(mainWindow)
{
    setObjectName(QStringLiteral("CWindowTitle"));
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(1);
    layout->setContentsMargins(4, 1, 4, 1);

    auto *left = new QHBoxLayout;
    left->setSpacing(1);
    m_pBtnLogo = new QPushButton(this);
    m_pBtnLogo->setObjectName(QStringLiteral("pBtnLogo"));
    m_pBtnLogo->setFixedSize(32, 32);
    m_pBtnLogo->setFocusPolicy(Qt::NoFocus);
    m_pBtnLogo->setStyleSheet(QStringLiteral("QPushButton{border-image:url(:/images/title/Eye.png);}"));
    left->addWidget(m_pBtnLogo);
    left->addStretch();

    m_pLabelTitle = new QLabel(tr("Calculate Disk"), this);
    m_pLabelTitle->setObjectName(QStringLiteral("pLabelTitle"));
    m_pLabelTitle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_pLabelTitle->setAlignment(Qt::AlignCenter);
    m_pLabelTitle->setStyleSheet(QStringLiteral("color:rgb(255, 255, 255);"));

    auto *right = new QHBoxLayout;
    right->setSpacing(1);
    right->addStretch();
    m_pBtnMin =
        makeTitleButton(this, "pBtnMin",
                        "QPushButton{border:none;margin:0;border-image:url(:/images/title/mini.png);}"
                        "QPushButton:hover{border:none;margin:0;border-image:url(:/images/title/mini_hover.png);}");
    m_pBtnMax = makeTitleButton(this, "pBtnMax", kFullScreenLook);
    m_pBtnClose =
        makeTitleButton(this, "pBtnClose",
                        "QPushButton{border:none;margin:0;border-image:url(:/images/title/close.png);}"
                        "QPushButton:hover{border:none;margin:0;border-image:url(:/images/title/close_hover.png);}");
    right->addWidget(m_pBtnMin);
    right->addWidget(m_pBtnMax);
    right->addWidget(m_pBtnClose);

    layout->addLayout(left, 1);
    layout->addWidget(m_pLabelTitle, 1);
    layout->addLayout(right, 1);

    setAutoFillBackground(true);
    PaintBackground();

    connect(m_pBtnMin, &QPushButton::clicked, this, &CWindowTitle::showSmall);
    connect(m_pBtnMax, &QPushButton::clicked, this, &CWindowTitle::ChaneMaxSizeOrRestore);
    connect(m_pBtnClose, &QPushButton::clicked, this, &CWindowTitle::OnCloseWindow);
}

void CWindowTitle::SetCaptionSuffix(const QString &suffix)
{
    m_pLabelTitle->setText(tr("Calculate Disk") + suffix);
}

void CWindowTitle::PaintBackground()
{
    QPalette pal = palette();
    const QPixmap background(QStringLiteral(":/images/title/title_bg.png"));
    if (!background.isNull())
        pal.setBrush(QPalette::Window,
                     QBrush(background.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    setPalette(pal);
}

void CWindowTitle::resizeEvent(QResizeEvent *event)
{
    // The texture brush tiles; keep it one tile the size of the bar so no seam shows.
    PaintBackground();
    QWidget::resizeEvent(event);
}

bool CWindowTitle::ScreenLargeEnough() const
{
    const QScreen *screen = m_pMainWindow->screen();
    if (!screen)
        return false;
    const QRect geometry = screen->geometry();
    return geometry.width() >= 1024 && geometry.height() >= 768;
}

void CWindowTitle::SetMaxButtonLook(bool fullScreen)
{
    m_pBtnMax->setStyleSheet(QString::fromLatin1(fullScreen ? kBackLook : kFullScreenLook));
    m_pBtnMax->setProperty("fullScreenLook", !fullScreen);
}

void CWindowTitle::showSmall()
{
    m_pMainWindow->showMinimized();
}

void CWindowTitle::ChangSizeToFull()
{
    if (!ScreenLargeEnough())
        return;
    m_pMainWindow->showFullScreen();
    SetMaxButtonLook(true);
}

void CWindowTitle::ChaneMaxSizeOrRestore()
{
    if (!ScreenLargeEnough())
        return;
    if (m_pMainWindow->isFullScreen()) {
        m_pMainWindow->showNormal();
        SetMaxButtonLook(false);
    } else {
        ChangSizeToFull();
    }
}

void CWindowTitle::OnCloseWindow()
{
    m_pMainWindow->close();
}

void CWindowTitle::mousePressEvent(QMouseEvent *event)
{
    if (m_pMainWindow->isFullScreen())
        return;
    m_iDragging = 1;
    m_pressPos = mapTo(m_pMainWindow, event->position().toPoint());
}

void CWindowTitle::mouseMoveEvent(QMouseEvent *event)
{
    if (m_iDragging)
        m_pMainWindow->move(event->globalPosition().toPoint() - m_pressPos);
}

void CWindowTitle::mouseReleaseEvent(QMouseEvent *)
{
    m_iDragging = 0;
}

void CWindowTitle::mouseDoubleClickEvent(QMouseEvent *)
{
    ChaneMaxSizeOrRestore();
}

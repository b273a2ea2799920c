#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

std::shared_ptr<ModalSeen> ExpectModal(std::function<void(QWidget *)> action, QWidget *outer, int timeoutMs)
{
    auto seen = std::make_shared<ModalSeen>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto timer = new QTimer(qApp);
    timer->setInterval(5);
    QPointer<QWidget> outerGuard(outer);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != outerGuard.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            seen->seen = true;
            seen->widget = modal;
            if (auto title = modal->findChild<QLabel *>(QStringLiteral("pLabelTitle")))
                seen->title = title->text();
            if (auto browser = modal->findChild<QTextEdit *>(QStringLiteral("m_pBrowserTxt")))
                seen->text = browser->toPlainText();
            action(modal);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return seen;
}

void PressKey(QWidget *w, int key)
{
    QTest::keyClick(w, static_cast<Qt::Key>(key));
}

void ClickChild(QWidget *w, const char *name)
{
    if (auto button = w->findChild<QAbstractButton *>(QString::fromLatin1(name)))
        button->click();
}

#include "modaldriver.h"

#include "toolkit/warndlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

// The modal widget other than 'outer' that is on screen now, if any.
QWidget *ActiveModal(const QWidget *outer)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != outer && modal->isVisible() ? modal : nullptr;
}

void Record(ModalSeen &seen, QWidget *modal)
{
    seen.seen = true;
    seen.widget = modal;
    if (auto title = modal->findChild<QLabel *>(QStringLiteral("pLabelTitle")))
        seen.title = title->text();
    if (auto browser = modal->findChild<QTextEdit *>(QStringLiteral("m_pBrowserTxt")))
        seen.text = browser->toPlainText();
}

} // namespace

std::shared_ptr<ModalSeen> ExpectModal(std::function<void(QWidget *)> action, QWidget *outer, int timeoutMs)
{
    auto seen = std::make_shared<ModalSeen>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto timer = new QTimer(qApp);
    timer->setInterval(5);
    QPointer<QWidget> outerGuard(outer);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        if (QWidget *modal = ActiveModal(outerGuard.data())) {
            timer->stop();
            timer->deleteLater();
            Record(*seen, modal);
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

QList<ModalSeen> ModalsDuring(const std::function<void()> &action, const std::function<void(QWidget *)> &close,
                              QWidget *outer)
{
    QList<ModalSeen> modals;
    QPointer<QWidget> outerGuard(outer);
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&]() {
        if (QWidget *modal = ActiveModal(outerGuard.data())) {
            modals.append(ModalSeen());
            Record(modals.last(), modal);
            close(modal);
        }
    });
    watcher.start();
    action();
    return modals;
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

void Dismiss(QWidget *w)
{
    if (auto dialog = qobject_cast<QDialog *>(w))
        dialog->reject();
    else
        w->close();
}

QStringList AnsweredDuring(const std::function<void()> &action, int answer)
{
    CWarnDlg::TakeAnswered();
    CWarnDlg::SetNextAnswer(answer, 1 << 20);
    action();
    CWarnDlg::ClearNextAnswers();
    QStringList messages;
    for (const CWarnDlg::Answered &box : CWarnDlg::TakeAnswered())
        messages << box.title + QLatin1Char('|') + box.text;
    return messages;
}

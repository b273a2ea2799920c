// Drives modal dialogs from tests: exec() blocks, so a watcher armed before the trigger waits
// for the modal widget, records what it shows and closes it the way a user would.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

struct ModalSeen
{
    bool seen = false;
    QString title; // text of the frame's "pLabelTitle", if any
    QString text;  // plain text of the message box's "m_pBrowserTxt", if any
    QPointer<QWidget> widget;
};

// Waits (polling the event loop) for a modal widget other than 'outer' to become active,
// records it and then runs 'action' on it. The returned record fills in once that happened.
std::shared_ptr<ModalSeen> ExpectModal(std::function<void(QWidget *)> action, QWidget *outer = nullptr,
                                       int timeoutMs = 5000);

// Every modal widget other than 'outer' that comes up while 'action' runs, in order. Each is
// recorded and handed to 'close', which must close it.
QList<ModalSeen> ModalsDuring(const std::function<void()> &action, const std::function<void(QWidget *)> &close,
                              QWidget *outer = nullptr);

// Every message box shown while 'action' runs answers 'answer' at once (through the box's test
// hook, no polling); returns them as "title|text", oldest first.
QStringList AnsweredDuring(const std::function<void()> &action, int answer = 1);

// Common actions.
void PressKey(QWidget *w, int key);            // key press on the widget
void ClickChild(QWidget *w, const char *name); // click the child push button of that name
void Dismiss(QWidget *w);                      // reject a dialog, close any other widget

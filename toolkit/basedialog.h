// The frame every dialog of the program is built in: a frameless, draggable QDialog with its own
// title bar (title text and close button), a content frame that the concrete dialog fills, and
// an optional bottom bar with OK and Cancel.
//
// A concrete dialog builds its form on GetContentFrame() (or hands a widget to
// SetContentWidget); it must not run its own form's setupUi() on the dialog itself, because the
// frame's OK and close buttons are already connected by object name.
//
// Keys are the frame's: F1 opens the manual, Escape never closes a dialog, and Return and Enter
// run the dialog's main action (accept() unless the dialog names another with SetMainAction).
#pragma once

#include <QDialog>
#include <QPoint>

#include <functional>

class QGridLayout;
class QKeyEvent;
class QMouseEvent;
class QResizeEvent;
class QShowEvent;

namespace Ui {
class CBaseDialogClass;
}

class CBaseDialog : public QDialog
{
    Q_OBJECT

public:
    CBaseDialog(QWidget *parent, bool withBottomBar, bool showOk, bool showCancel);
    ~CBaseDialog() override;

    // The caption in the title bar, and the window title that the window manager shows.
    void SetTitle(const QString &title);
    void ShowCloseBtn(bool show);
    // Shows or hides OK, Cancel and the bottom frame and switches the frame background to match.
    void SetBottomBarVisible(bool visible);
    void SetOkBtnAutoAccept(bool autoAccept);
    void SetCloseBtnAutoClose(bool autoClose);
    // Puts the widget into the content frame (margins 0); false for a null widget.
    bool SetContentWidget(QWidget *widget);
    QWidget *GetContentFrame() const;
    // What Return and Enter do anywhere in the dialog, whichever child has the focus; while a
    // popup (combo-box list, completer, menu) is open they only pick its entry.
    void SetMainAction(std::function<void()> action);

signals:
    void ClickedOKBtnSig();
    void ClickedCloseBtnSig();

public slots:
    void SetOkBtnEnable(bool enable);
    void on_pOkBtn_clicked();
    void on_m_pCloseBtn_clicked();

protected:
    // Over the middle of the window that opened the dialog (the screen's middle without one),
    // inside that screen's free area.
    void PlaceOverOpener();

    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // The area a press must fall in (distance from the top edge) to start moving the dialog.
    static constexpr int TitleDragHeight = 32;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsMainKey(QObject *receiver, QEvent *event) const;

    Ui::CBaseDialogClass *ui;
    int m_iDragging = 0;
    QPoint m_pressPos;
    QGridLayout *m_pContentLayout = nullptr;
    bool m_bOkAutoAccept = true;
    bool m_bCloseAutoClose = true;
    std::function<void()> m_mainAction;
    bool m_bPlaced = false; // placed over its opener at the first showing
};

// The main window's own title bar: logo, title, minimise, full screen / restore and close,
// and dragging of the frameless window.
#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QPushButton;

class CWindowTitle : public QWidget
{
    Q_OBJECT
public:
    explicit CWindowTitle(QWidget *mainWindow);

    bool IsDragging() const { return m_iDragging != 0; }
    // The caption followed by 'suffix' (the plan's name and its unsaved mark).
    void SetCaptionSuffix(const QString &suffix);

public slots:
    void showSmall();
    void ChangSizeToFull();
    void ChaneMaxSizeOrRestore();
    void OnCloseWindow();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool ScreenLargeEnough() const;
    void SetMaxButtonLook(bool fullScreen);
    void PaintBackground();

    QPushButton *m_pBtnLogo = nullptr;
    QLabel *m_pLabelTitle = nullptr;
    QPushButton *m_pBtnMin = nullptr;
    QPushButton *m_pBtnMax = nullptr;
    QPushButton *m_pBtnClose = nullptr;
    int m_iDragging = 0;
    QPoint m_pressPos;
    QWidget *m_pMainWindow;
};

// The program's one message box: an information message (close button only) or a confirmation
// (OK / Cancel), sized to its text between 300 and 400 pixels wide.
#pragma once

#include "toolkit/basedialog.h"

#include <QList>
#include <QSizeF>
#include <QString>

class QCloseEvent;

namespace Ui {
class CWarnDlg;
}

class CWarnDlg : public CBaseDialog
{
    Q_OBJECT

public:
    // The parent may be null: a top-level message before any window exists.
    explicit CWarnDlg(QWidget *parent);
    ~CWarnDlg() override;

    // Runs modally; 1 when dismissed with Return/Enter/Select, 0 with the close button.
    int ShowMsg(const QString &title, const QString &text);
    // Runs modally with OK / Cancel; 1 for OK (or Return/Enter/Select), 0 for Cancel or close.
    int ShowConfirmMsg(const QString &title, const QString &text);
    // A question with three answers: 'accept' (1, also Return/Enter), 'other' (2) and Cancel or
    // close (0), e.g. "Save" / "Don't Save" / "Cancel".
    int ShowChoiceMsg(const QString &title, const QString &text, const QString &accept, const QString &other);

    // Test hook: the next message or confirmation returns 'answer' at once instead of showing
    // itself; answers queue up in order. Each box answered this way is recorded.
    struct Answered
    {
        QString title;
        QString text;
        bool confirm; // OK/Cancel box rather than a message
    };
    static void SetNextAnswer(int answer, int times = 1);
    static void ClearNextAnswers();
    // The boxes answered through SetNextAnswer since the last call, oldest first.
    static QList<Answered> TakeAnswered();
    // Answers given with SetNextAnswer and not yet used.
    static int PendingAnswers();

public slots:
    // Keeps the text centred in the content frame and grows the dialog when the text needs it.
    void TextNeededSize(const QSizeF &size);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    int ShowText(const QString &title, const QString &text, bool withBottomBar, bool confirm = true);
    void SizeToText(const QString &text);

    Ui::CWarnDlg *ui;
    int m_iMinWidth = 300;
    int m_iHeight = 225;
    int m_iMaxWidth = 400;
    int m_iMargin = 12;
};

// Message box parented to 'parent'; -1 without showing anything when the parent is null.
int ShowMsgBox(const QString &title, const QString &text, QWidget *parent);
// Confirmation box parented to 'parent'; -1 without showing anything when the parent is null.
int ShowConfirmBox(const QString &title, const QString &text, QWidget *parent);

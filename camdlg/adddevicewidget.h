// The dialog that adds cameras by hand: a count, a name prefix and one encoding plan, with the
// recommended bitrate proposed for the chosen settings. It stays open across batches; every
// "Add>>" hands the plan to whoever listens to SignalAddCamera, which creates the cameras.
#pragma once

#include "camdlg/encodingdialog.h"

namespace Ui {
class CAddDeviceWidget;
}

class CAddDeviceWidget : public CEncodingDialog
{
    Q_OBJECT

public:
    explicit CAddDeviceWidget(QWidget *parent);
    ~CAddDeviceWidget() override;

signals:
    // The camera template, the name prefix and how many cameras to create from it.
    void SignalAddCamera(STRU_CAMERA camera, QString prefix, int count);

public slots:
    void OnBtnAdd();
    void OnPrefixCheck(bool);
    void OnBtnCancel();

private:
    static QStringList LevelTexts();

    Ui::CAddDeviceWidget *ui;
};

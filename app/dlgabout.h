// The About box: program name and version with the build date.
#pragma once

#include "toolkit/basedialog.h"
#include "ui_dlgabout.h"

// The build date "Mmm dd yyyy" (as the compiler writes it) as the number YYYYMMDD.
unsigned BuildDateNumber(const char *buildDate);
unsigned BuildDateNumber();

class CDlgAbout : public CBaseDialog
{
    Q_OBJECT
public:
    explicit CDlgAbout(QWidget *parent);

private:
    Ui::CDlgAboutClass ui;
};

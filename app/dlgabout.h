// The About box: program name and version with the build date.
#pragma once

#include "toolkit/basedialog.h"

namespace Ui {
class CDlgAboutClass;
}

// The build date "Mmm dd yyyy" (as the compiler writes it) as the number YYYYMMDD.
unsigned BuildDateNumber(const char *buildDate);
unsigned BuildDateNumber();

class CDlgAbout : public CBaseDialog
{
    Q_OBJECT
public:
    explicit CDlgAbout(QWidget *parent);
    ~CDlgAbout() override;

private:
    Ui::CDlgAboutClass *ui;
};

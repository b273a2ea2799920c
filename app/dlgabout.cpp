#include "app/dlgabout.h"
#include "ui_dlgabout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

unsigned BuildDateNumber(const char *buildDate)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!buildDate || std::strlen(buildDate) < 11)
        return 0;
    char month[3] = "00";
    for (int i = 0; i < 12; ++i) {
        if (std::strncmp(buildDate, months[i], 3) == 0) {
            std::snprintf(month, sizeof month, "%02d", i + 1);
            break;
        }
    }
    const std::string dayText(buildDate + 4, 2);
    const unsigned day = static_cast<unsigned>(std::strtoul(dayText.c_str(), nullptr, 10));
    char dayDigits[16];
    std::snprintf(dayDigits, sizeof dayDigits, "%02u", day);
    const std::string number = std::string(buildDate + 7, 4) + month + dayDigits;
    return static_cast<unsigned>(std::strtoul(number.c_str(), nullptr, 10));
}

unsigned BuildDateNumber()
{
    return BuildDateNumber(__DATE__);
}

CDlgAbout::CDlgAbout(QWidget *parent) : CBaseDialog(parent, false, false, false), ui(new Ui::CDlgAboutClass)
{
    ui->setupUi(GetContentFrame());
    setFixedSize(520, 200);
    ShowCloseBtn(true);
    SetTitle(tr("About"));
    ui->pLabelAbout->setText(tr(" v3.0.0.3") + QStringLiteral(" Build") + QString::number(BuildDateNumber()));
    connect(ui->m_pOkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

CDlgAbout::~CDlgAbout()
{
    delete ui;
}

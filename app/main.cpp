// NORDA: plans the disk capacity of a video-surveillance installation.
#include "app/nordamainwnd.h"
#include "app/vexaapplication.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "platform/tuvo.h"

#include <memory>

int main(int argc, char *argv[])
{
    auto app = std::make_unique<CVexaApplication>(argc, argv, QStringLiteral("NORDA"));
    if (app->CheckRunning())
        return 0;
    if (app->CheckResolution())
        return 0;

    NET_DVR_Init();
    NetDvr_SetBackend(std::make_shared<COnvifBackend>());
    Tuvo_Init();

    auto window = std::make_unique<CNORDAMainWnd>();
    window->show();
    const int result = app->exec();
    window.reset();
    app.reset();
    return result;
}

// NORDA: plans the disk capacity of a video-surveillance installation.
#include "app/nordamainwnd.h"
#include "app/planhandoff.h"
#include "app/vexaapplication.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "platform/tuvo.h"
#include "platform/vigilbackend.h"
#include "platform/wsdiscovery.h"

#include <memory>

int main(int argc, char *argv[])
{
    auto app = std::make_unique<CVexaApplication>(argc, argv, QStringLiteral("NORDA"));
    // A plan file to open: the one argument the program takes.
    const QStringList arguments = QCoreApplication::arguments();
    const QString plan = arguments.size() > 1 ? arguments.at(1) : QString();
    CPlanHandoff handoff(CPlanHandoff::DefaultName());
    // A second start with a plan hands it to the running copy; a plain one is refused, and the
    // running window comes to the front so the user sees where the program already is.
    if (app->IsRunning()) {
        if (!plan.isEmpty() && handoff.Send(plan))
            return 0;
        if (plan.isEmpty())
            handoff.SendShow();
    }
    if (app->CheckRunning())
        return 0;
    if (app->CheckResolution())
        return 0;

    NET_DVR_Init();
    NetDvr_SetBackend(std::make_shared<COnvifBackend>());
    // Devices on the network announce themselves over WS-Discovery.
    Vigil_SetBackend(std::make_shared<CWsDiscoveryBackend>());
    Tuvo_Init();

    auto window = std::make_unique<CNORDAMainWnd>();
    window->show();
    window->AcceptHandoffs(&handoff);
    handoff.Listen();
    if (!plan.isEmpty())
        window->OpenPlanFile(plan);
    const int result = app->exec();
    window.reset();
    app.reset();
    return result;
}

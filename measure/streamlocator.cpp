#include "measure/streamlocator.h"

#include "import/parallelrun.h"
#include "platform/dvrbackend.h"
#include "platform/onvif/onvifbackend.h"

QString LoginKey(const QByteArray &address, int port)
{
    return QString::fromLatin1(address) + QLatin1Char(':') + QString::number(port);
}

namespace {
LOCATED_STREAM LocateOne(COnvifBackend *backend, const STREAM_TARGET &target, const DEVICE_LOGIN &login,
                         const std::atomic<bool> *cancel)
{
    LOCATED_STREAM located;
    const CDvrCallLimit limit(StreamLocator::kBudgetMs, cancel);
    NET_DVR_LOGIN_ANSWER answer{};
    uint32_t error = 0;
    const int user = backend->Login(target.strIP.constData(), uint16_t(target.iPort & 0xFFFF),
                                    login.strUser.constData(), login.strPassword.constData(), &answer, &error);
    if (user < 0) {
        located.state = error == NET_DVR_BAD_CREDENTIALS ? LocateState::CredentialsRefused : LocateState::LoginFailed;
    } else {
        QString uri;
        if (backend->GetStreamUri(user, target.iChannel, &uri, &error)) {
            located.state = LocateState::Found;
            located.source = {uri, QString::fromUtf8(login.strUser), QString::fromUtf8(login.strPassword)};
        }
        backend->Logout(user, &error);
    }
    if (located.state != LocateState::Found && cancel && cancel->load())
        located.state = LocateState::Cancelled;
    return located;
}
} // namespace

QVector<LOCATED_STREAM> StreamLocator::Locate(const QVector<STREAM_TARGET> &targets, const DeviceLogins &logins,
                                              const std::atomic<bool> *cancel)
{
    QVector<LOCATED_STREAM> located(targets.size());
    const std::shared_ptr<CDvrBackend> backend = NetDvr_Backend();
    auto *onvif = dynamic_cast<COnvifBackend *>(backend.get());
    RunParallel(int(targets.size()), kDeviceParallelism, [&](int i) {
        const STREAM_TARGET &target = targets.at(i);
        const auto login = logins.constFind(LoginKey(target.strIP, target.iPort));
        if (login == logins.constEnd())
            located[i].state = LocateState::NoLogin;
        else if (cancel && cancel->load())
            located[i].state = LocateState::Cancelled;
        else if (!onvif)
            located[i].state = LocateState::NoStream; // a backend that cannot tell stream addresses
        else
            located[i] = LocateOne(onvif, target, login.value(), cancel);
    });
    return located;
}

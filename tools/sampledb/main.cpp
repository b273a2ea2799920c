// norda_sampledb out.db [N]: a client database whose device table lists N devices, to try the
// client database import without the client.
#include "tools/sampledb/sampledbwriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const SampleDb::DeviceOptions defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString("Writes a client database with a %1 table of N devices (default %2): addresses "
                "counting up from the base address, or with --same-address one address and ports "
                "counting up.")
            .arg(SampleDb::kDeviceTable)
            .arg(defaults.iCount));
    parser.addHelpOption();
    parser.addPositionalArgument("out.db", "The database file to write; must not exist yet.");
    parser.addPositionalArgument("N", "Number of devices.", "[N]");
    const QCommandLineOption addressOption("address-base", "First device's IPv4 address.", "address",
                                           QString::fromLatin1(defaults.strAddressBase));
    const QCommandLineOption portOption("port", "First device's port.", "port", QString::number(defaults.iPort));
    const QCommandLineOption sameOption("same-address", "One address, consecutive ports.");
    const QCommandLineOption userOption("user", "Stored user name.", "name", QString::fromUtf8(defaults.strUserName));
    const QCommandLineOption passwordOption("password", "Stored password.", "password",
                                            QString::fromUtf8(defaults.strPassword));
    parser.addOptions({addressOption, portOption, sameOption, userOption, passwordOption});
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty() || arguments.size() > 2) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }
    SampleDb::DeviceOptions options;
    bool countOk = true;
    bool portOk = true;
    if (arguments.size() == 2)
        options.iCount = arguments[1].toInt(&countOk);
    options.iPort = parser.value(portOption).toInt(&portOk);
    if (!countOk || options.iCount < 1 || options.iCount > 100000 || !portOk) {
        std::fprintf(stderr, "N must be 1..100000 and the port a number\n");
        return 2;
    }
    options.strAddressBase = parser.value(addressOption).toLatin1();
    options.bSameAddress = parser.isSet(sameOption);
    options.strUserName = parser.value(userOption).toUtf8();
    options.strPassword = parser.value(passwordOption).toUtf8();

    const QString path = arguments[0];
    // Never add to an existing file: it could be the client's own database.
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "%s exists already\n", qPrintable(path));
        return 1;
    }
    QList<QVariantList> rows;
    QString error;
    if (!SampleDb::MakeDeviceRows(options, &rows, &error)
        || !SampleDb::WriteTable(path, SampleDb::kDeviceTable, SampleDb::DeviceColumns(), rows, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d devices written to %s\n", options.iCount, qPrintable(path));
    return 0;
}

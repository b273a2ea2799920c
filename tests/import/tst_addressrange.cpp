// The address ranges a user types for a search: what each form expands to, and what is refused.
#include "import/addressrange.h"

#include <QTest>

class TestAddressRange : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count"); // -1: refused
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("error"); // part of the message
        QTest::newRow("one address") << "192.168.1.7" << 1 << "192.168.1.7"
                                     << "192.168.1.7"
                                     << "";
        QTest::newRow("last part range") << "192.168.1.10-200" << 191 << "192.168.1.10"
                                         << "192.168.1.200"
                                         << "";
        QTest::newRow("full range across parts") << "10.0.0.250 - 10.0.1.4" << 11 << "10.0.0.250"
                                                 << "10.0.1.4"
                                                 << "";
        QTest::newRow("network without its own and broadcast") << "10.0.5.0/24" << 254 << "10.0.5.1"
                                                               << "10.0.5.254"
                                                               << "";
        QTest::newRow("network named by a host in it") << "10.0.5.77/30" << 2 << "10.0.5.77"
                                                       << "10.0.5.78"
                                                       << "";
        QTest::newRow("point to point network") << "10.0.5.8/31" << 2 << "10.0.5.8"
                                                << "10.0.5.9"
                                                << "";
        QTest::newRow("list, duplicates once") << "10.1.1.1, 10.1.1.3;10.1.1.1\n10.1.1.2-3" << 3 << "10.1.1.1"
                                               << "10.1.1.2"
                                               << "";
        QTest::newRow("exactly the limit") << "10.2.0.0-10.2.15.255" << 4096 << "10.2.0.0"
                                           << "10.2.15.255"
                                           << "";
        QTest::newRow("one beyond the limit") << "10.2.0.0-10.2.16.0" << -1 << ""
                                              << ""
                                              << "4096";
        QTest::newRow("limit over the whole list") << "10.3.0.0/21 10.4.0.0/21 10.5.0.0/29" << -1 << ""
                                                   << ""
                                                   << "4096";
        QTest::newRow("the whole internet") << "0.0.0.0/0" << -1 << ""
                                            << ""
                                            << "no device";
        QTest::newRow("nothing typed") << "  , " << -1 << ""
                                       << ""
                                       << "Enter";
        QTest::newRow("backwards") << "10.0.0.9-3" << -1 << ""
                                   << ""
                                   << "ends before";
        QTest::newRow("part too large") << "10.0.0.256" << -1 << ""
                                        << ""
                                        << "not an IPv4 address";
        QTest::newRow("three parts") << "10.0.1" << -1 << ""
                                     << ""
                                     << "not an IPv4 address";
        QTest::newRow("leading zero") << "10.0.0.010" << -1 << ""
                                      << ""
                                      << "not an IPv4 address";
        QTest::newRow("host name") << "camera.local" << -1 << ""
                                   << ""
                                   << "\"camera.local\"";
        QTest::newRow("bad range end") << "10.0.0.1-x" << -1 << ""
                                       << ""
                                       << "not an IPv4 range";
        QTest::newRow("prefix too long") << "10.0.0.0/33" << -1 << ""
                                         << ""
                                         << "not an IPv4 network";
        QTest::newRow("multicast") << "239.255.255.250" << -1 << ""
                                   << ""
                                   << "no device";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, error);
        QVector<quint32> addresses{1};
        QString message;
        QCOMPARE(AddressRange::Parse(text, &addresses, &message), count >= 0);
        if (count < 0) {
            QVERIFY2(message.contains(error), qPrintable(message));
            return;
        }
        QCOMPARE(addresses.size(), count);
        QCOMPARE(AddressRange::Text(addresses.first()), first);
        QCOMPARE(AddressRange::Text(addresses.last()), last);
    }

    void ports_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ports"); // empty: refused
        QTest::newRow("the usual three") << "80, 8000, 8080"
                                         << "80 8000 8080";
        QTest::newRow("blanks and repeats") << " 8000;80  8000 "
                                            << "8000 80";
        QTest::newRow("zero") << "0"
                              << "";
        QTest::newRow("too large") << "65536"
                                   << "";
        QTest::newRow("word") << "http"
                              << "";
        QTest::newRow("none") << ","
                              << "";
        QTest::newRow("too many") << "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17"
                                  << "";
    }
    void ports()
    {
        QFETCH(QString, text);
        QFETCH(QString, ports);
        QVector<quint16> parsed;
        QString error;
        const bool ok = AddressRange::ParsePorts(text, &parsed, &error);
        QCOMPARE(ok, !ports.isEmpty());
        QStringList texts;
        for (quint16 port : parsed)
            texts << QString::number(port);
        if (ok)
            QCOMPARE(texts.join(' '), ports);
        else
            QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAddressRange)
#include "tst_addressrange.moc"

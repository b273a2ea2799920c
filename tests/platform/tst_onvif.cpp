// The pieces of the ONVIF backend that need no device: credentials, HTTP framing, the element
// tree and the code mapping.
#include "platform/onvif/onvifcodes.h"
#include "platform/onvif/onvifhttp.h"
#include "platform/onvif/onvifsoap.h"
#include "platform/xmlguard.h"

#include <QtTest>

#include <cmath>

using namespace OnvifCredentials;

namespace {

const QByteArray kRfcMd5 = "Digest realm=\"http-auth@example.org\", qop=\"auth, auth-int\", algorithm=MD5, "
                           "nonce=\"7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v\", "
                           "opaque=\"FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS\"";
const QByteArray kRfcMd5Response = "8ca523f5e9506fed4657c9700eebdbec";
const QByteArray kRfcSha256Response = "753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1";

QByteArray Rfc(const char *algorithm, const char *qop = "\"auth, auth-int\"")
{
    QByteArray header = kRfcMd5;
    return header.replace("algorithm=MD5", QByteArray("algorithm=") + algorithm).replace("\"auth, auth-int\"", qop);
}

} // namespace

class TestOnvif : public QObject
{
    Q_OBJECT
private slots:
    void passwordDigest()
    {
        const QByteArray nonce = QByteArray::fromBase64("NDczOTcxNjIzNw==");
        QCOMPARE(PasswordDigest(nonce, "2014-12-24T16:29:56.117Z", "9999"), QByteArray("GBojZCRixHjpO9rnY+SxhdxZ5bc="));
        const QDateTime created = QDateTime::fromString("2014-12-24T16:29:56.117Z", Qt::ISODateWithMs);
        QCOMPARE(CreatedText(created), QByteArray("2014-12-24T16:29:56.117Z"));
        const QByteArray header = SecurityHeader("admin<&>", "9999", created, nonce);
        QVERIFY(header.contains(">GBojZCRixHjpO9rnY+SxhdxZ5bc=<"));
        QVERIFY(header.contains(">NDczOTcxNjIzNw==<"));
        QVERIFY(header.contains("admin&lt;&amp;&gt;"));
        QVERIFY(!header.contains("9999"));
    }

    void httpDigest_data()
    {
        QTest::addColumn<QList<QByteArray>>("challenges");
        QTest::addColumn<QByteArray>("response"); // empty: no challenge we can answer
        QTest::newRow("RFC 7616 MD5") << QList<QByteArray>{Rfc("MD5")} << kRfcMd5Response;
        QTest::newRow("RFC 7616 SHA-256") << QList<QByteArray>{Rfc("SHA-256")} << kRfcSha256Response;
        QTest::newRow("both offered: SHA-256")
            << QList<QByteArray>{Rfc("MD5"), Rfc("SHA-256"), Rfc("MD5")} << kRfcSha256Response;
        QTest::newRow("no algorithm means MD5")
            << QList<QByteArray>{Rfc("MD5").replace("algorithm=MD5, ", "")} << kRfcMd5Response;
        QTest::newRow("unknown algorithm") << QList<QByteArray>{Rfc("SHA-512-256")} << QByteArray();
        QTest::newRow("auth-int only") << QList<QByteArray>{Rfc("MD5", "\"auth-int\"")} << QByteArray();
        QTest::newRow("Basic") << QList<QByteArray>{"Basic realm=\"x\""} << QByteArray();
        QTest::newRow("no nonce") << QList<QByteArray>{"Digest realm=\"x\", qop=auth"} << QByteArray();
        // What a device writes into a challenge goes back in our next request's header.
        QTest::newRow("carriage return in realm")
            << QList<QByteArray>{Rfc("MD5").replace("http-auth@", "x\rX-Injected: 1\r")} << QByteArray();
        QTest::newRow("line feed in nonce") << QList<QByteArray>{Rfc("MD5").replace("7ypf", "\nX: 1")} << QByteArray();
        QTest::newRow("NUL in opaque") << QList<QByteArray>{Rfc("MD5").replace("FQhe", QByteArray("\0", 1))}
                                       << QByteArray();
    }

    void httpDigest()
    {
        QFETCH(QList<QByteArray>, challenges);
        QFETCH(QByteArray, response);
        DIGEST_CHALLENGE challenge;
        QCOMPARE(ParseChallenge(challenges, &challenge), !response.isEmpty());
        if (response.isEmpty())
            return;
        const QByteArray cnonce = "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ";
        QCOMPARE(DigestResponse(challenge, "Mufasa", "Circle of Life", "GET", "/dir/index.html", 1, cnonce), response);
        const QByteArray authorization =
            DigestAuthorization(challenge, "Mufasa", "Circle of Life", "GET", "/dir/index.html", 1, cnonce);
        QVERIFY(authorization.startsWith("Digest username=\"Mufasa\""));
        for (const QByteArray &part :
             {"response=\"" + response + '"', QByteArray("nc=00000001"), QByteArray("qop=auth,"),
              QByteArray("opaque=\"FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS\"")})
            QVERIFY2(authorization.contains(part), part.constData());
        QVERIFY(!authorization.contains("Circle"));
    }

    void httpReader_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<bool>("closed"); // the peer closes after raw
        QTest::addColumn<int>("outcome"); // ONVIF_HTTP_ANSWER::Outcome; -1: still waiting
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        const QByteArray ok = "HTTP/1.1 200 OK\r\n";
        QTest::newRow("sized") << ok + "Content-Length: 5\r\n\r\nhelloXX" << false << 0 << 200 << QByteArray("hello");
        QTest::newRow("chunked") << ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nhel\r\n2;x=y\r\nlo\r\n0\r\n\r\n"
                                 << false << 0 << 200 << QByteArray("hello");
        QTest::newRow("until closed") << QByteArray("HTTP/1.0 500 Oops\n\nhello") << true << 0 << 500
                                      << QByteArray("hello");
        QTest::newRow("interim answer first")
            << QByteArray("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 401 No\r\nContent-Length: 0\r\n\r\n") << false << 0
            << 401 << QByteArray();
        QTest::newRow("sized, not all there")
            << ok + "Content-Length: 10\r\n\r\nhello" << false << -1 << 0 << QByteArray();
        QTest::newRow("sized, closed early")
            << ok + "Content-Length: 10\r\n\r\nhello" << true << 4 << 0 << QByteArray();
        QTest::newRow("announces 50 MB") << ok + "Content-Length: 52428800\r\n\r\n" << false << 3 << 0 << QByteArray();
        QTest::newRow("2 MB unsized") << ok + "\r\n" + QByteArray(2 << 20, 'x') << false << 3 << 0 << QByteArray();
        QTest::newRow("huge chunk") << ok + "Transfer-Encoding: chunked\r\n\r\nFFFFFFFFF\r\n"
                                    << false << 3 << 0 << QByteArray();
        QTest::newRow("bad chunk size") << ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\n"
                                        << false << 4 << 0 << QByteArray();
        QTest::newRow("chunk without its line break") << ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nhelXX\r\n"
                                                      << false << 4 << 0 << QByteArray();
        QTest::newRow("two lengths") << ok + "Content-Length: 5\r\nContent-Length: 6\r\n\r\n"
                                     << false << 4 << 0 << QByteArray();
        QTest::newRow("not HTTP") << QByteArray("SSH-2.0-x\r\n\r\n") << false << 4 << 0 << QByteArray();
        QTest::newRow("endless header") << ok + "X: " + QByteArray(100000, 'y') << false << 4 << 0 << QByteArray();
    }

    void httpReader()
    {
        QFETCH(QByteArray, raw);
        QFETCH(bool, closed);
        QFETCH(int, outcome);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        // Whole, and in small pieces as a slow network delivers it.
        for (int piece : {int(raw.size()), 7}) {
            COnvifHttpReader reader(1 << 20);
            COnvifHttpReader::State state = COnvifHttpReader::NeedMore;
            for (int i = 0; i < raw.size() && state == COnvifHttpReader::NeedMore; i += piece)
                state = reader.Feed(raw.mid(i, piece));
            if (closed && state == COnvifHttpReader::NeedMore)
                state = reader.Feed({}, true);
            if (outcome < 0) {
                QCOMPARE(state, COnvifHttpReader::NeedMore);
                continue;
            }
            QCOMPARE(state, outcome == 0 ? COnvifHttpReader::Complete : COnvifHttpReader::Failed);
            QCOMPARE(int(reader.Answer().eOutcome), outcome);
            if (outcome == 0) {
                QCOMPARE(reader.Answer().iStatus, status);
                QCOMPARE(reader.Answer().body, body);
            }
        }
    }

    void xmlRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("hello");
        QTest::newRow("unclosed") << QByteArray("<a><b></a>");
        QTest::newRow("truncated") << QByteArray("<a xmlns=\"u\"><b>1</b");
        QTest::newRow("two roots") << QByteArray("<a/><b/>");
        QTest::newRow("unbound prefix") << QByteArray("<x:a/>");
        QTest::newRow("entity expansion") << QByteArray(
            "<!DOCTYPE a [<!ENTITY e \"xxxxxxxxxx\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;\">]><a>&f;&f;&f;</a>");
        QTest::newRow("deep nesting") << QByteArray("<a>").repeated(20000) + QByteArray("</a>").repeated(20000);
        QTest::newRow("too many elements")
            << "<a>" + QByteArray("<b/>").repeated(COnvifDocument::kMaxElements) + "</a>";
    }

    void xmlRefused()
    {
        QFETCH(QByteArray, xml);
        COnvifDocument document;
        QVERIFY(!document.Parse(xml));
        QVERIFY(document.Root().IsNull());
        QVERIFY(document.Root().Find(OnvifUri::kSchema, "Width").IsNull());
    }

    void xmlAttributeLimits_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("accepted");
        auto attributes = [](int count, const QByteArray &name = "a") {
            QByteArray text;
            for (int i = 0; i < count; ++i)
                text += ' ' + name + QByteArray::number(i) + "=\"1\"";
            return text;
        };
        QTest::newRow("64 attributes") << "<r" + attributes(64) + "/>" << true;
        QTest::newRow("65 attributes") << "<r" + attributes(65) + "/>" << false;
        QTest::newRow("65 namespace declarations") << "<r" + attributes(65, "xmlns:p") + "/>" << false;
        QTest::newRow("65 attributes on an inner element") << "<r><s/><s" + attributes(65) + "/></r>" << false;
        QTest::newRow("1 MB of attributes") << "<r" + attributes(100000) + "/>" << false;
        QTest::newRow("16,384 attributes") << "<r>" + ("<s" + attributes(64) + "/>").repeated(256) + "</r>" << true;
        QTest::newRow("16,385 attributes")
            << "<r>" + ("<s" + attributes(64) + "/>").repeated(256) + "<s a='1'/></r>" << false;
        const QByteArray declare43 = "<s" + attributes(43, "xmlns:p") + '>';
        QTest::newRow("128 namespaces in scope")
            << declare43 + declare43 + "<s" + attributes(42, "xmlns:p") + "/></s></s>" << true;
        QTest::newRow("129 namespaces in scope") << declare43.repeated(3) + "</s></s></s>" << false;
        QTest::newRow("namespaces declared again by siblings") << "<r>"
                + ("<s" + attributes(40, "xmlns:p") + "/><s" + attributes(40, "xmlns:p") + "></s>").repeated(10)
                + "</r>" << true;
        const QByteArray limit(XmlGuard::kMaxAttributeValue, 'v');
        QTest::newRow("value of 64 KB") << "<r v='" + limit + "'/>" << true;
        QTest::newRow("value of 64 KB and one byte") << "<r v='" + limit + "v'/>" << false;
        QTest::newRow("equal signs in text, comments, CDATA and values") << "<r a=\"=" + QByteArray(100, '=')
                + "\"><!--" + QByteArray(100, '=') + "--><![CDATA[<x " + attributes(100) + ">]]>" + QByteArray(100, '=')
                + "<?pi " + attributes(100) + "?></r>" << true;
    }

    void xmlAttributeLimits()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, accepted);
        COnvifDocument document;
        QCOMPARE(document.Parse(xml), accepted);
        QCOMPARE(XmlGuard::Check(xml), accepted);
    }

    void xmlParsedWithinDeadline()
    {
        const QByteArray xml = "<r>" + QByteArray("<e>1</e>").repeated(1000) + "</r>";
        COnvifDocument document;
        QVERIFY(document.Parse(xml, nullptr, QDeadlineTimer(60000)));
        QVERIFY(!document.TimedOut());
        QString error;
        QVERIFY(!document.Parse(xml, &error, QDeadlineTimer(0)));
        QVERIFY(document.TimedOut());
        QVERIFY(document.Root().IsNull());
    }

    void headerInjectionRefused_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("headers");
        QTest::newRow("line break in path") << "127.0.0.1" << QByteArray("/a\r\nX-Injected: 1") << QByteArray();
        QTest::newRow("line break in host") << "127.0.0.1\nX-Injected: 1" << QByteArray("/") << QByteArray();
        QTest::newRow("carriage return inside a header line")
            << "127.0.0.1" << QByteArray("/") << QByteArray("Authorization: Digest realm=\"a\rX-Injected: 1\"\r\n");
    }

    void headerInjectionRefused()
    {
        QFETCH(QString, host);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, headers);
        // Refused before any connection is tried: nothing listens at port 1 either way.
        const ONVIF_HTTP_ANSWER answer =
            OnvifPost(host, 1, path, "urn:a", headers, "<x/>", ONVIF_LIMITS(), QDeadlineTimer(5000));
        QCOMPARE(int(answer.eOutcome), int(ONVIF_HTTP_ANSWER::Malformed));
        QVERIFY(OnvifHeaderSafe("Digest realm=\"a\tb\", nonce=\"\xe4\""));
    }

    void xmlByNamespace()
    {
        // "tt" names the device namespace here and "tds" the schema: only the URIs count.
        const QByteArray xml = QByteArray("<tds:R xmlns:tds=\"") + OnvifUri::kSchema + "\" xmlns:tt=\""
            + OnvifUri::kDevice + "\"><tt:Width>1</tt:Width><tds:Size><Width xmlns=\"" + OnvifUri::kSchema
            + "\"> 704 </Width></tds:Size><tds:Code>tt:X</tds:Code></tds:R>";
        COnvifDocument document;
        QVERIFY(document.Parse(xml));
        const COnvifElement root = document.Root();
        QCOMPARE(root.Find(OnvifUri::kSchema, "Width").Text(), QStringLiteral("704"));
        QCOMPARE(root.Child(OnvifUri::kDevice, "Width").Text(), QStringLiteral("1"));
        double width = 0;
        QVERIFY(root.NumberAt(OnvifUri::kSchema, {"Size", "Width"}, &width));
        QCOMPARE(width, 704.0);
        QVERIFY(!root.NumberAt(OnvifUri::kSchema, {"Width"}, &width));
        QCOMPARE(root.Child(OnvifUri::kSchema, "Code").ResolvePrefix("tt"), QString(OnvifUri::kDevice));
        for (const char *absurd : {"1e400", "nan", "inf", "12abc", ""})
            QVERIFY2(!OnvifNumber(absurd, &width), absurd);
    }

    void resolutionCode_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("code");
        QTest::newRow("1080p") << 1920.0 << 1080.0 << 27;
        QTest::newRow("720p") << 1280.0 << 720.0 << 19;
        QTest::newRow("D1 PAL 720x576") << 720.0 << 576.0 << 3;
        QTest::newRow("D1 NTSC 720x480") << 720.0 << 480.0 << 3;
        QTest::newRow("CIF NTSC") << 352.0 << 240.0 << 1;
        QTest::newRow("QCIF NTSC") << 176.0 << 120.0 << 2;
        QTest::newRow("2CIF") << 704.0 << 288.0 << 4;
        QTest::newRow("VGA") << 640.0 << 480.0 << 16;
        QTest::newRow("SXGA 1280x1024") << 1280.0 << 1024.0 << 20;
        QTest::newRow("WUXGA 1920x1200") << 1920.0 << 1200.0 << 27;
        QTest::newRow("UXGA") << 1600.0 << 1200.0 << 17;
        QTest::newRow("3 MP 2048x1536") << 2048.0 << 1536.0 << 30;
        QTest::newRow("5 MP 2592x1944") << 2592.0 << 1944.0 << 28;
        QTest::newRow("4K 3840x2160") << 3840.0 << 2160.0 << 28;
        QTest::newRow("360p: 2CIF has about its pixels") << 640.0 << 360.0 << 4;
        QTest::newRow("unknown size") << 0.0 << 0.0 << 0;
        QTest::newRow("negative") << -1920.0 << 1080.0 << 0;
        QTest::newRow("absurd") << 1e9 << 1e9 << 0;
        QTest::newRow("not a number") << qQNaN() << 1080.0 << 0;
    }

    void resolutionCode()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, code);
        QCOMPARE(OnvifCodes::ResolutionCode(width, height), code);
    }

    void frameRateCode_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<uint>("code");
        QTest::newRow("25: full") << 25.0 << 0u;
        QTest::newRow("30: full") << 30.0 << 0u;
        QTest::newRow("60: full") << 60.0 << 0u;
        QTest::newRow("24: full") << 24.0 << 0u;
        QTest::newRow("23: 22") << 23.0 << 16u;
        QTest::newRow("20") << 20.0 << 13u;
        QTest::newRow("15") << 15.0 << 14u;
        QTest::newRow("12.5: 12") << 12.5 << 11u;
        QTest::newRow("1") << 1.0 << 5u;
        QTest::newRow("0.1: 1/8") << 0.1 << 2u;
        QTest::newRow("0.001: 1/16") << 0.001 << 1u;
        QTest::newRow("unknown") << 0.0 << 0u;
        QTest::newRow("negative") << -5.0 << 0u;
        QTest::newRow("not a number") << qQNaN() << 0u;
        QTest::newRow("infinite") << qInf() << 0u;
    }

    void frameRateCode()
    {
        QFETCH(double, rate);
        QFETCH(uint, code);
        QCOMPARE(OnvifCodes::FrameRateCode(rate), uint32_t(code));
    }

    void bitrateCode_data()
    {
        QTest::addColumn<double>("kbps");
        QTest::addColumn<uint>("code");
        QTest::newRow("4096") << 4096.0 << (0x80000000u | 4096u * 1024u);
        QTest::newRow("1") << 1.0 << 0x80000400u;
        QTest::newRow("rounded") << 1536.6 << (0x80000000u | 1537u * 1024u);
        QTest::newRow("largest the code carries") << 2097151.0 << 0xFFFFFC00u;
        QTest::newRow("one more: no limit") << 2097152.0 << 0u;
        QTest::newRow("unlimited 2147483647") << 2147483647.0 << 0u;
        QTest::newRow("unknown") << 0.0 << 0u;
        QTest::newRow("negative") << -64.0 << 0u;
        QTest::newRow("not a number") << qQNaN() << 0u;
    }

    void bitrateCode()
    {
        QFETCH(double, kbps);
        QFETCH(uint, code);
        QCOMPARE(OnvifCodes::BitrateCode(kbps), uint32_t(code));
    }

    void qualityLevel_data()
    {
        QTest::addColumn<double>("quality");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<bool>("known");
        QTest::addColumn<int>("level");
        QTest::newRow("top of 0..10") << 10.0 << 0.0 << 10.0 << true << 0;
        QTest::newRow("bottom of 0..10") << 0.0 << 0.0 << 10.0 << true << 5;
        QTest::newRow("4 of 0..10") << 4.0 << 0.0 << 10.0 << true << 3;
        QTest::newRow("50 of 1..100") << 50.0 << 1.0 << 100.0 << true << 3;
        QTest::newRow("3.5 of 1..6") << 3.5 << 1.0 << 6.0 << true << 3;
        QTest::newRow("above the range") << 200.0 << 0.0 << 100.0 << true << 0;
        QTest::newRow("below the range") << 0.0 << 1.0 << 100.0 << true << 5;
        QTest::newRow("range unknown, 0..10 scale") << 6.0 << 0.0 << 0.0 << false << 2;
        QTest::newRow("range unknown, 0..100 scale") << 80.0 << 0.0 << 0.0 << false << 1;
        QTest::newRow("one value: the device's best") << 5.0 << 5.0 << 5.0 << true << 0;
        QTest::newRow("reversed range: guessed") << 6.0 << 7.0 << 5.0 << true << 2;
        QTest::newRow("quality unknown") << -1.0 << 0.0 << 10.0 << true << 0;
        QTest::newRow("not a number") << qQNaN() << 0.0 << 10.0 << true << 0;
    }

    void qualityLevel()
    {
        QFETCH(double, quality);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(bool, known);
        QFETCH(int, level);
        ONVIF_RANGE range;
        range.bKnown = known;
        range.dMin = low;
        range.dMax = high;
        QCOMPARE(int(OnvifCodes::QualityLevel(quality, range)), level);
    }
};

QTEST_GUILESS_MAIN(TestOnvif)
#include "tst_onvif.moc"

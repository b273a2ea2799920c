#include "tools/fakedevice/fakeonviftls.h"

#include <QHostAddress>
#include <QRandomGenerator>

#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace {

template <typename T, void (*Free)(T *)>
struct FREE
{
    void operator()(T *p) const { Free(p); }
};
using PKEY = std::unique_ptr<EVP_PKEY, FREE<EVP_PKEY, EVP_PKEY_free>>;
using CERT = std::unique_ptr<X509, FREE<X509, X509_free>>;
using MEMORY = std::unique_ptr<BIO, FREE<BIO, BIO_free_all>>;
using EXTENSION = std::unique_ptr<X509_EXTENSION, FREE<X509_EXTENSION, X509_EXTENSION_free>>;

QByteArray Drain(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, static_cast<int>(size));
}

} // namespace

FAKE_TLS_IDENTITY FakeOnvifTls::MakeIdentity(const QString &hostName, bool expired, QString *error)
{
    FAKE_TLS_IDENTITY identity;
    PKEY key(EVP_EC_gen("P-256"));
    CERT certificate(X509_new());
    if (!key || !certificate) {
        *error = QStringLiteral("no key could be made");
        return identity;
    }
    X509 *x509 = certificate.get();
    X509_set_version(x509, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x509), static_cast<long>(QRandomGenerator::global()->bounded(1 << 30)));
    const long day = 24 * 3600;
    X509_gmtime_adj(X509_getm_notBefore(x509), expired ? -30 * day : -3600);
    X509_gmtime_adj(X509_getm_notAfter(x509), expired ? -day : 365 * day);
    X509_set_pubkey(x509, key.get());
    X509_NAME *name = X509_get_subject_name(x509);
    const QByteArray commonName = hostName.toUtf8();
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char *>(commonName.data()),
                               -1, -1, 0);
    X509_set_issuer_name(x509, name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, x509, x509, nullptr, nullptr, 0);
    const QByteArray alternative = (QHostAddress(hostName).isNull() ? "DNS:" : "IP:") + commonName;
    EXTENSION extension(X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, alternative.constData()));
    if (!extension || !X509_add_ext(x509, extension.get(), -1) || !X509_sign(x509, key.get(), EVP_sha256())) {
        *error = QStringLiteral("no certificate could be made for %1").arg(hostName);
        return identity;
    }
    MEMORY certificatePem(BIO_new(BIO_s_mem()));
    MEMORY keyPem(BIO_new(BIO_s_mem()));
    if (!PEM_write_bio_X509(certificatePem.get(), x509)
        || !PEM_write_bio_PrivateKey(keyPem.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
        *error = QStringLiteral("the certificate could not be written");
        return identity;
    }
    identity.certificate = QSslCertificate(Drain(certificatePem.get()), QSsl::Pem);
    identity.key = QSslKey(Drain(keyPem.get()), QSsl::Ec, QSsl::Pem);
    if (!identity.IsValid())
        *error = QStringLiteral("Qt cannot read the certificate made");
    return identity;
}

#pragma once

// An update server on loopback for the update tests: a signing key made here, a feed that
// announces one archive, and the archive, each served by a FakeHttpServer whose replies a test
// may replace. The updater under test reaches it over plain http on 127.0.0.1, which only the
// test switch allows; the clock is a ManualClock, so time-outs are reached by advancing it.

#include <memory>
#include <mutex>
#include <string>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <openssl/evp.h>

#include "fakes/FakeHttpServer.h"
#include "OrvellaApp/SparkleUpdateSession.h"
#include "OrvellaApp/update/AppUpdaterFactory.h"
#include "OrvellaApp/update/AppUpdaterModel.h"
#include "testing/ManualClock.h"

namespace orvel::testing {

class SigningKey {
public:
    SigningKey() : key_(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), &EVP_PKEY_free) {}

    QByteArray publicKeyBase64() const {
        unsigned char raw[32];
        size_t length = sizeof raw;
        EVP_PKEY_get_raw_public_key(key_.get(), raw, &length);
        return QByteArray(reinterpret_cast<const char*>(raw), qsizetype(length)).toBase64();
    }

    QByteArray signBase64(const QByteArray& message) const {
        unsigned char signature[64];
        size_t length = sizeof signature;
        const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
        EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key_.get());
        EVP_DigestSign(context.get(), signature, &length, reinterpret_cast<const unsigned char*>(message.constData()),
                       size_t(message.size()));
        return QByteArray(reinterpret_cast<const char*>(signature), qsizetype(length)).toBase64();
    }

private:
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key_;
};

// An appcast of one item.
inline QByteArray feedOf(const QString& version, const QUrl& archive, qint64 length, const QByteArray& signature,
                         const QString& notes = QStringLiteral("Faster grouping.")) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
               "<channel><title>Orvella</title><item><title>Orvella %1</title>"
               "<sparkle:version>%1</sparkle:version><description><![CDATA[%5]]></description>"
               "<enclosure url=\"%2\" length=\"%3\" type=\"application/octet-stream\" sparkle:edSignature=\"%4\"/>"
               "</item></channel></rss>")
        .arg(version, archive.toString(), QString::number(length), QString::fromLatin1(signature), notes)
        .toUtf8();
}

// Messages of the "Sparkle" category, caught for the test's life.
class SparkleLog {
public:
    SparkleLog() {
        current() = this;
        previous_ = qInstallMessageHandler(&SparkleLog::handle);
    }
    ~SparkleLog() {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    QStringList lines;

    bool has(const QString& prefix) const {
        for (const QString& line : lines) {
            if (line.startsWith(prefix)) return true;
        }
        return false;
    }

private:
    static SparkleLog*& current() {
        static SparkleLog* log = nullptr;
        return log;
    }
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (current() && context.category && QByteArrayView(context.category) == "Sparkle") current()->lines << message;
    }
    QtMessageHandler previous_ = nullptr;
};

struct UpdateRig {
    static inline const QString newVersion = QStringLiteral("1.4.0");

    ManualClock clock;
    SigningKey key;
    fakes::FakeHttpServer server;
    QTemporaryDir folder;
    SparkleUpdateSession session;
    QByteArray archive = QByteArray("new program ").repeated(4096);
    // The replies; a test changes them before the updater asks.
    fakes::HttpReply feedReply;
    fakes::HttpReply archiveReply;
    int feedRequests = 0;
    std::vector<std::filesystem::path> revealed;

    UpdateRig() {
        if (!server.listen(QHostAddress(QStringLiteral("127.0.0.1")))) throw std::runtime_error("no loopback server");
        feedReply = fakes::HttpReply::ok(feed(key.signBase64(archive)), "application/rss+xml");
        archiveReply = fakes::HttpReply::ok(archive, "application/octet-stream");
        server.setHandler([this](const fakes::HttpRequest& request) {
            if (request.path() == "/appcast.xml") {
                ++feedRequests;
                return feedReply;
            }
            if (request.path() == "/Orvella-x86_64.AppImage") return archiveReply;
            return fakes::HttpReply::withStatus(404);
        });
        QFile program(appImagePath());
        program.open(QIODevice::WriteOnly);
        program.write("old program");
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QUrl archiveUrl() const { return server.baseUrl().resolved(QUrl(QStringLiteral("/Orvella-x86_64.AppImage"))); }
    QByteArray feed(const QByteArray& signature) const { return feedOf(newVersion, archiveUrl(), archive.size(), signature); }
    QString appImagePath() const { return folder.filePath(QStringLiteral("Orvella.AppImage")); }
    QString downloadsPath() const { return folder.filePath(QStringLiteral("Downloads")); }

    QByteArray installedProgram() const {
        QFile program(appImagePath());
        program.open(QIODevice::ReadOnly);
        return program.readAll();
    }

    UpdateSettings settings() const {
        return UpdateSettings{server.baseUrl().resolved(QUrl(QStringLiteral("/appcast.xml"))).toString(),
                              QString::fromLatin1(key.publicKeyBase64()), QStringLiteral("1.3.2"),
                              UpdateAddressPolicy{.allowLoopbackHttp = true}};
    }

    std::unique_ptr<AppUpdaterModel> makeModel(bool asAppImage = true) {
        UpdateInstallTarget target{.appImage = std::nullopt, .downloads = downloadsPath().toStdString()};
        if (asAppImage) target.appImage = appImagePath().toStdString();
        return makeAppUpdater(settings(), UpdateHost{.clock = clock,
                                                     .target = target,
                                                     .reveal = [this](const std::filesystem::path& saved) {
                                                         revealed.push_back(saved);
                                                     },
                                                     .session = session});
    }
};

}  // namespace orvel::testing

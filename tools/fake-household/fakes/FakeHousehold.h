#pragma once

// A household of fake speakers: each one an HTTP server on its own loopback address (port 1400
// by default), all sharing one FakeHouseholdModel. They answer the control actions and pages a
// controller uses, carry out grouping changes after a configurable delay, can be made
// unreachable, faulty, malformed or slow, and record every request they receive.
//
// Give every test its own addresses (for example 127.<a>.<b>.2 and up) so tests can run side by
// side: two servers cannot share one address and port.

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "fakes/FakeHouseholdModel.h"
#include "fakes/FakeHttpServer.h"

class QTimer;

namespace orvel::fakes {

enum class Reachability {
    Reachable,
    Refused,  // nothing listens: connections are refused
    Silent,   // requests are taken and never answered
    Dropping, // the connection closes as soon as a request arrives
    EndlessHeader, // every reply's header goes on for as long as the client reads it
    Forbidding,    // every request is refused with 403 Forbidden
};

enum class Malformation {
    Truncated,               // the reply cut in half
    NotXml,                  // text that is not XML and not even UTF-8
    Empty,                   // a 200 with no body
    BrokenEmbeddedDocument,  // a sound envelope whose escaped document (topology, DIDL-Lite) is cut
    Oversized,               // a sound reply padded past 4 MiB
};

// Which requests a switch applies to.
struct FakeTarget {
    QString speaker;  // empty: every speaker
    QString request;  // "AVTransport#Play", a page path such as "/status/batterystatus", or empty: all

    static FakeTarget any() { return {}; }
    static FakeTarget onSpeaker(QString uuid) { return {std::move(uuid), {}}; }
    static FakeTarget action(QString serviceAndAction, QString uuid = {}) { return {std::move(uuid), std::move(serviceAndAction)}; }
    static FakeTarget page(QString path, QString uuid = {}) { return {std::move(uuid), std::move(path)}; }
};

struct FakeRequest {
    QString speaker;
    QHostAddress address;
    QByteArray method;
    QString path;
    HttpHeaders headers;
    QByteArray body;
    // Control requests only: the service by name ("AVTransport"), the action and its arguments.
    QString service;
    QString action;
    SoapValues arguments;

    bool isControl() const { return !service.isEmpty(); }
    // "AVTransport#Play" for a control request, the path for a page.
    QString target() const { return isControl() ? service + QLatin1Char('#') + action : path; }
    // The argument's value; an empty text when absent.
    QString argument(const QString& name) const;
};

// The services a speaker offers: name, service type and control path.
struct FakeService {
    QString name;
    QString type;
    QString controlPath;
};
const QList<FakeService>& fakeServices();

class FakeHousehold : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 defaultPort = 1400;

    explicit FakeHousehold(QObject* parent = nullptr);
    // `count` standard speakers on `first` and the addresses after it, each standing alone.
    FakeHousehold(const QHostAddress& first, int count, QObject* parent = nullptr);
    ~FakeHousehold() override;

    // A speaker for `address` with the identifier, room and model of the index-th standard speaker.
    static FakeSpeaker standardSpeaker(const QHostAddress& address, int index);
    // A network extender listed at `address`, its identifier made as a speaker's there would be.
    static FakeExtender standardExtender(const QHostAddress& address);
    // "RINCON_000E58<low 24 bits of the address in hex>01400": distinct for distinct addresses.
    static QString uuidFor(const QHostAddress& address);
    // 127.a.b.c plus n in the last three bytes.
    static QHostAddress addressAfter(const QHostAddress& first, int n);

    // Before start(): only adds to the model. After: also starts its server, and answers an
    // empty identifier (with errorString()) when that fails.
    QString addSpeaker(FakeSpeaker speaker);
    void setPort(quint16 port) { port_ = port; }
    quint16 port() const { return port_; }
    // Binds every speaker not refused; false with errorString() when one cannot bind.
    bool start();
    void stop();
    QString errorString() const { return error_; }

    FakeHouseholdModel& model() { return model_; }
    const FakeHouseholdModel& model() const { return model_; }
    QStringList speakerIds() const { return model_.speakerIds(); }
    QString speakerId(int index) const { return model_.speakerIds().value(index); }
    QHostAddress address(const QString& uuid) const { return model_.speaker(uuid).address; }
    QUrl baseUrl(const QString& uuid) const;

    // Rooms, models, playback, accounts, telemetry and household strings that make a manual
    // run of the application look like a lived-in home.
    void seedDemoContent();

    // Grouping commands are answered at once and carried out after this delay (0: at once).
    void setGroupingDelay(std::chrono::milliseconds delay) { groupingDelay_ = delay; }
    qsizetype pendingGroupingCount() const;
    // Carries out every waiting grouping change now, in the order they were accepted.
    void applyPendingGrouping();

    void setReachability(const QString& uuid, Reachability reachability);
    Reachability reachability(const QString& uuid) const;
    // `times` < 0: for good; otherwise for that many matching requests.
    void failRequests(const FakeTarget& target, int upnpErrorCode, int times = -1);
    void malformReplies(const FakeTarget& target, Malformation malformation, int times = -1);
    // While on, the speaker's finished replies wait until released (in arrival order) or until
    // holding stops, so a test can act between a request's arrival and its answer.
    void holdReplies(const QString& uuid, bool on);
    qsizetype heldReplyCount(const QString& uuid) const;
    void releaseHeldReplies(const QString& uuid);
    // Clears every fault and malformation (reachability stays).
    void clearTrouble();
    // Album art replies announce and send this many bytes (a picture padded with zeros); below
    // the picture's own size: the plain picture.
    void setArtworkBytes(qint64 bytes) { artworkBytes_ = bytes; }

    // On by default; the standalone program turns it off so memory stays flat.
    void setRecording(bool on) { recording_ = on; }
    QList<FakeRequest> requests() const { return requests_; }
    QList<FakeRequest> requestsTo(const QString& uuid) const;
    // "AVTransport#Play" or "GET /status/batterystatus", in arrival order.
    QStringList requestLog(const QString& uuid = {}) const;
    void clearRequests() { requests_.clear(); }

signals:
    // Every request as it arrives, recorded or not: the showcase takes a speaker away after its first.
    void requestReceived(const orvel::fakes::FakeRequest& request);

private:
    struct Rule;
    struct Pending;
    struct Endpoint {
        QString uuid;
        std::unique_ptr<FakeHttpServer> server;
        Reachability reachability = Reachability::Reachable;
    };

    Endpoint* endpoint(const QString& uuid);
    const Endpoint* endpoint(const QString& uuid) const;
    bool bind(Endpoint& endpoint);
    HttpReply handle(const QString& uuid, const HttpRequest& request);
    HttpReply handleControl(const FakeService& service, FakeRequest& recorded);
    HttpReply handlePage(const FakeRequest& recorded);
    SoapOutcome perform(const QString& uuid, const QString& serviceName, const QString& action, const SoapValues& args);
    void schedule(GroupingChange change);
    void applyUpTo(qsizetype index);
    // The first matching rule of `kind`, counting one use of it.
    const Rule* takeRule(int kind, const FakeRequest& request);
    void malform(HttpReply& reply, Malformation malformation, const FakeRequest& request) const;

    FakeHouseholdModel model_;
    std::vector<Endpoint> endpoints_;
    quint16 port_ = defaultPort;
    bool started_ = false;
    bool recording_ = true;
    QString error_;
    std::chrono::milliseconds groupingDelay_{0};
    qint64 artworkBytes_ = 0;
    std::vector<std::unique_ptr<Pending>> pending_;
    std::vector<Rule> rules_;
    QList<FakeRequest> requests_;
};

} // namespace orvel::fakes

#include "fakes/FakeHousehold.h"

#include <algorithm>
#include <functional>

#include <QTimer>
#include <QXmlStreamReader>

#include "fakes/FakeDocuments.h"
#include "fakes/FakeSoap.h"

namespace orvel::fakes {

namespace {

using namespace std::chrono_literals;

enum RuleKind { FaultRule, MalformRule };

// 4 MiB is the most a controller reads; an oversized reply goes past it.
constexpr qsizetype kOversizedBytes = 5 * 1024 * 1024;

const QByteArray kXmlContentType = "text/xml; charset=\"utf-8\"";

// A 1x1 PNG: what album art requests get, so a manual run shows a picture and not an error.
const QByteArray kArtwork = QByteArray::fromRawData(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x02\x00"
    "\x00\x00\x90\x77\x53\xde\x00\x00\x00\x0c\x49\x44\x41\x54\x78\x9c\x63\x68\x48\x38\x00\x00\x03\x04\x01\xa1\xaa"
    "\x1e\x79\x39\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    69);

struct StandardRoom {
    const char* room;
    const char* modelName;
    const char* modelNumber;
    const char* displayName;
};

constexpr StandardRoom kStandardRooms[] = {
    {"Living Room", "Sonos Beam", "S31", "Beam"},
    {"Kitchen", "Sonos One", "S18", "One"},
    {"Bedroom", "Sonos One SL", "S22", "One SL"},
    {"Office", "Sonos Era 100", "S39", "Era 100"},
    {"Bathroom", "Sonos Roam", "S27", "Roam"},
    {"Dining Room", "Sonos Five", "S23", "Five"},
    {"Patio", "Sonos Move", "S17", "Move"},
    {"Study", "Sonos Era 300", "S41", "Era 300"},
};

// What each action takes, in the order the speakers expect.
struct ActionSignature {
    const char* service;
    const char* action;
    QStringList arguments;
};

const QList<ActionSignature>& actionSignatures() {
    static const QList<ActionSignature> signatures = {
        {"ZoneGroupTopology", "GetZoneGroupState", {}},
        {"AVTransport", "GetTransportInfo", {"InstanceID"}},
        {"AVTransport", "GetPositionInfo", {"InstanceID"}},
        {"AVTransport", "GetMediaInfo", {"InstanceID"}},
        {"AVTransport", "BecomeCoordinatorOfStandaloneGroup", {"InstanceID"}},
        {"AVTransport", "SetAVTransportURI", {"InstanceID", "CurrentURI", "CurrentURIMetaData"}},
        {"AVTransport", "DelegateGroupCoordinationTo", {"InstanceID", "NewCoordinator", "RejoinGroup"}},
        {"AVTransport", "Play", {"InstanceID", "Speed"}},
        {"AVTransport", "Pause", {"InstanceID"}},
        {"AVTransport", "Next", {"InstanceID"}},
        {"AVTransport", "Previous", {"InstanceID"}},
        {"AVTransport", "Seek", {"InstanceID", "Unit", "Target"}},
        {"AVTransport", "AddURIToQueue",
         {"InstanceID", "EnqueuedURI", "EnqueuedURIMetaData", "DesiredFirstTrackNumberEnqueued", "EnqueueAsNext"}},
        {"RenderingControl", "GetVolume", {"InstanceID", "Channel"}},
        {"RenderingControl", "SetVolume", {"InstanceID", "Channel", "DesiredVolume"}},
        {"GroupRenderingControl", "GetGroupVolume", {"InstanceID"}},
        {"GroupRenderingControl", "SnapshotGroupVolume", {"InstanceID"}},
        {"GroupRenderingControl", "SetGroupVolume", {"InstanceID", "DesiredVolume"}},
        {"ContentDirectory", "Browse",
         {"ObjectID", "BrowseFlag", "Filter", "StartingIndex", "RequestedCount", "SortCriteria"}},
        {"SystemProperties", "GetString", {"VariableName"}},
        {"SystemProperties", "SetString", {"VariableName", "StringValue"}},
    };
    return signatures;
}

// A non-negative decimal integer of at most nine digits.
std::optional<int> parseCount(const QString& text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    return text.toInt();
}

std::optional<bool> parseFlag(const QString& text) {
    if (text == QLatin1String("1")) return true;
    if (text == QLatin1String("0")) return false;
    return std::nullopt;
}

bool matches(const FakeTarget& target, const FakeRequest& request) {
    return (target.speaker.isEmpty() || target.speaker == request.speaker)
        && (target.request.isEmpty() || target.request == request.target());
}

HttpReply xmlReply(int status, QByteArray body) {
    HttpReply reply = HttpReply::withStatus(status, std::move(body), kXmlContentType);
    return reply;
}

} // namespace

struct FakeHousehold::Rule {
    int kind = FaultRule;
    FakeTarget target;
    int remaining = -1;
    int code = 0;
    Malformation malformation = Malformation::Truncated;
};

struct FakeHousehold::Pending {
    GroupingChange change;
    std::unique_ptr<QTimer> timer;
};

QString FakeRequest::argument(const QString& name) const {
    for (const auto& [key, value] : arguments)
        if (key == name) return value;
    return {};
}

const QList<FakeService>& fakeServices() {
    static const QList<FakeService> services = {
        {"ZoneGroupTopology", "urn:schemas-upnp-org:service:ZoneGroupTopology:1", "/ZoneGroupTopology/Control"},
        {"AVTransport", "urn:schemas-upnp-org:service:AVTransport:1", "/MediaRenderer/AVTransport/Control"},
        {"RenderingControl", "urn:schemas-upnp-org:service:RenderingControl:1", "/MediaRenderer/RenderingControl/Control"},
        {"GroupRenderingControl", "urn:schemas-upnp-org:service:GroupRenderingControl:1",
         "/MediaRenderer/GroupRenderingControl/Control"},
        {"ContentDirectory", "urn:schemas-upnp-org:service:ContentDirectory:1", "/MediaServer/ContentDirectory/Control"},
        {"Queue", "urn:schemas-sonos-com:service:Queue:1", "/MediaRenderer/Queue/Control"},
        {"SystemProperties", "urn:schemas-upnp-org:service:SystemProperties:1", "/SystemProperties/Control"},
    };
    return services;
}

FakeHousehold::FakeHousehold(QObject* parent) : QObject(parent) {}

FakeHousehold::FakeHousehold(const QHostAddress& first, int count, QObject* parent) : QObject(parent) {
    for (int i = 0; i < count; ++i) addSpeaker(standardSpeaker(addressAfter(first, i), i));
}

FakeHousehold::~FakeHousehold() { stop(); }

QHostAddress FakeHousehold::addressAfter(const QHostAddress& first, int n) {
    return QHostAddress(first.toIPv4Address() + quint32(n));
}

QString FakeHousehold::uuidFor(const QHostAddress& address) {
    const QString low = QStringLiteral("%1").arg(address.toIPv4Address() & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("RINCON_000E58") + low + QStringLiteral("01400");
}

FakeExtender FakeHousehold::standardExtender(const QHostAddress& address) { return FakeExtender{uuidFor(address), address}; }

FakeSpeaker FakeHousehold::standardSpeaker(const QHostAddress& address, int index) {
    FakeSpeaker speaker;
    speaker.uuid = uuidFor(address);
    speaker.address = address;
    constexpr int known = int(std::size(kStandardRooms));
    const StandardRoom& standard = kStandardRooms[index >= 0 && index < known ? index : 1];
    speaker.roomName = index >= 0 && index < known ? QString::fromUtf8(standard.room) : QStringLiteral("Room %1").arg(index + 1);
    speaker.modelName = QString::fromUtf8(standard.modelName);
    speaker.modelNumber = QString::fromUtf8(standard.modelNumber);
    speaker.displayName = QString::fromUtf8(standard.displayName);
    speaker.volume = 20 + (index * 7) % 40;
    if (speaker.modelNumber == QLatin1String("S27") || speaker.modelNumber == QLatin1String("S17"))
        speaker.battery = FakeBattery{80 - index, QStringLiteral("BATTERY"), QStringLiteral("NORMAL")};
    return speaker;
}

FakeHousehold::Endpoint* FakeHousehold::endpoint(const QString& uuid) {
    for (Endpoint& e : endpoints_)
        if (e.uuid == uuid) return &e;
    return nullptr;
}

const FakeHousehold::Endpoint* FakeHousehold::endpoint(const QString& uuid) const {
    return const_cast<FakeHousehold*>(this)->endpoint(uuid);
}

QString FakeHousehold::addSpeaker(FakeSpeaker speaker) {
    const QString uuid = speaker.uuid;
    model_.addSpeaker(std::move(speaker));
    Endpoint added{uuid, std::make_unique<FakeHttpServer>(), Reachability::Reachable};
    // The household keeps its own, richer record.
    added.server->setRecording(false);
    added.server->setHandler([this, uuid](const HttpRequest& request) { return handle(uuid, request); });
    endpoints_.push_back(std::move(added));
    if (started_ && !bind(endpoints_.back())) return {};
    return uuid;
}

bool FakeHousehold::bind(Endpoint& e) {
    if (e.reachability == Reachability::Refused || e.server->isListening()) return true;
    if (e.server->listen(model_.speaker(e.uuid).address, port_)) return true;
    error_ = e.server->errorString();
    return false;
}

bool FakeHousehold::start() {
    started_ = true;
    error_.clear();
    for (Endpoint& e : endpoints_) {
        if (!bind(e)) {
            stop();
            return false;
        }
    }
    return true;
}

void FakeHousehold::stop() {
    started_ = false;
    for (Endpoint& e : endpoints_) e.server->close();
}

QUrl FakeHousehold::baseUrl(const QString& uuid) const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(address(uuid).toString());
    url.setPort(port_);
    return url;
}

// --- switches ---

void FakeHousehold::setReachability(const QString& uuid, Reachability reachability) {
    Endpoint* e = endpoint(uuid);
    if (!e) throw std::out_of_range("no fake speaker " + uuid.toStdString());
    e->reachability = reachability;
    if (reachability == Reachability::Refused) e->server->close();
    else if (started_) bind(*e);
}

Reachability FakeHousehold::reachability(const QString& uuid) const {
    const Endpoint* e = endpoint(uuid);
    if (!e) throw std::out_of_range("no fake speaker " + uuid.toStdString());
    return e->reachability;
}

void FakeHousehold::holdReplies(const QString& uuid, bool on) {
    Endpoint* e = endpoint(uuid);
    if (!e) throw std::out_of_range("no fake speaker " + uuid.toStdString());
    e->server->setHoldReplies(on);
}

qsizetype FakeHousehold::heldReplyCount(const QString& uuid) const {
    const Endpoint* e = endpoint(uuid);
    if (!e) throw std::out_of_range("no fake speaker " + uuid.toStdString());
    return e->server->heldReplyCount();
}

void FakeHousehold::releaseHeldReplies(const QString& uuid) {
    Endpoint* e = endpoint(uuid);
    if (!e) throw std::out_of_range("no fake speaker " + uuid.toStdString());
    e->server->releaseHeldReplies();
}

void FakeHousehold::failRequests(const FakeTarget& target, int upnpErrorCode, int times) {
    Rule rule;
    rule.kind = FaultRule;
    rule.target = target;
    rule.remaining = times;
    rule.code = upnpErrorCode;
    rules_.push_back(std::move(rule));
}

void FakeHousehold::malformReplies(const FakeTarget& target, Malformation malformation, int times) {
    Rule rule;
    rule.kind = MalformRule;
    rule.target = target;
    rule.remaining = times;
    rule.malformation = malformation;
    rules_.push_back(std::move(rule));
}

void FakeHousehold::clearTrouble() { rules_.clear(); }

const FakeHousehold::Rule* FakeHousehold::takeRule(int kind, const FakeRequest& request) {
    for (Rule& rule : rules_) {
        if (rule.kind != kind || rule.remaining == 0 || !matches(rule.target, request)) continue;
        if (rule.remaining > 0) --rule.remaining;
        return &rule;
    }
    return nullptr;
}

// --- recording ---

QList<FakeRequest> FakeHousehold::requestsTo(const QString& uuid) const {
    QList<FakeRequest> out;
    for (const FakeRequest& request : requests_)
        if (request.speaker == uuid) out << request;
    return out;
}

QStringList FakeHousehold::requestLog(const QString& uuid) const {
    QStringList log;
    for (const FakeRequest& request : requests_) {
        if (!uuid.isEmpty() && request.speaker != uuid) continue;
        log << (request.isControl() ? request.target() : QString::fromLatin1(request.method) + QLatin1Char(' ') + request.path);
    }
    return log;
}

// --- grouping ---

void FakeHousehold::schedule(GroupingChange change) {
    if (groupingDelay_.count() <= 0 && pending_.empty()) {
        model_.apply(change);
        return;
    }
    auto pending = std::make_unique<Pending>();
    pending->change = std::move(change);
    pending->timer = std::make_unique<QTimer>();
    pending->timer->setSingleShot(true);
    pending->timer->setTimerType(Qt::PreciseTimer);
    Pending* raw = pending.get();
    connect(pending->timer.get(), &QTimer::timeout, this, [this, raw] {
        for (std::size_t i = 0; i < pending_.size(); ++i)
            if (pending_[i].get() == raw) return applyUpTo(qsizetype(i));
    });
    pending->timer->start(std::max(groupingDelay_, 0ms));
    pending_.push_back(std::move(pending));
}

void FakeHousehold::applyUpTo(qsizetype index) {
    std::vector<std::unique_ptr<Pending>> due;
    for (qsizetype i = 0; i <= index && !pending_.empty(); ++i) {
        due.push_back(std::move(pending_.front()));
        pending_.erase(pending_.begin());
    }
    for (const auto& item : due) model_.apply(item->change);
}

qsizetype FakeHousehold::pendingGroupingCount() const { return qsizetype(pending_.size()); }

void FakeHousehold::applyPendingGrouping() {
    if (!pending_.empty()) applyUpTo(qsizetype(pending_.size()) - 1);
}

// --- answering ---

HttpReply FakeHousehold::handle(const QString& uuid, const HttpRequest& request) {
    FakeRequest recorded;
    recorded.speaker = uuid;
    recorded.address = request.localAddress;
    recorded.method = request.method;
    recorded.path = QString::fromUtf8(request.path());
    recorded.headers = request.headers;
    recorded.body = request.body;

    const FakeService* service = nullptr;
    for (const FakeService& candidate : fakeServices())
        if (candidate.controlPath == recorded.path) service = &candidate;
    std::optional<SoapCall> call;
    if (service) {
        recorded.service = service->name;
        if (auto parsed = parseSoapCall(request.body)) {
            call = std::move(*parsed);
            recorded.action = call->action;
            recorded.arguments = call->arguments;
        }
    }
    if (recording_) requests_.append(recorded);
    emit requestReceived(recorded);

    const Endpoint* e = endpoint(uuid);
    if (e && e->reachability == Reachability::Silent) return HttpReply::hang();
    if (e && e->reachability == Reachability::Dropping) return HttpReply::drop();
    if (e && e->reachability == Reachability::EndlessHeader) return HttpReply::endlessHeader();
    if (e && e->reachability == Reachability::Forbidding) return HttpReply::withStatus(403, "Forbidden");

    HttpReply reply = service ? handleControl(*service, recorded) : handlePage(recorded);
    if (const Rule* rule = takeRule(MalformRule, recorded)) malform(reply, rule->malformation, recorded);
    return reply;
}

HttpReply FakeHousehold::handleControl(const FakeService& service, FakeRequest& recorded) {
    const auto faultReply = [](int code) { return xmlReply(500, soapFault(code)); };
    if (recorded.method != "POST") return HttpReply::withStatus(405, "Method Not Allowed");
    auto call = parseSoapCall(recorded.body);
    if (!call) return faultReply(upnp::invalidArgs);

    // The SOAPACTION header must name this service and the action in the body.
    QByteArray soapAction;
    for (const auto& [name, value] : recorded.headers)
        if (name.compare("SOAPACTION", Qt::CaseInsensitive) == 0) soapAction = value;
    if (soapAction.size() >= 2 && soapAction.startsWith('"') && soapAction.endsWith('"')) soapAction = soapAction.mid(1, soapAction.size() - 2);
    const QString expectedAction = service.type + QLatin1Char('#') + call->action;
    if (QString::fromUtf8(soapAction) != expectedAction || call->serviceType != service.type)
        return faultReply(upnp::invalidAction);

    const ActionSignature* signature = nullptr;
    for (const ActionSignature& candidate : actionSignatures())
        if (service.name == QLatin1String(candidate.service) && call->action == QLatin1String(candidate.action)) signature = &candidate;
    if (!signature) return faultReply(upnp::invalidAction);
    QStringList sent;
    for (const auto& argument : call->arguments) sent << argument.first;
    if (sent != signature->arguments) return faultReply(upnp::invalidArgs);
    if (signature->arguments.contains(QStringLiteral("InstanceID")) && recorded.argument(QStringLiteral("InstanceID")) != QLatin1String("0"))
        return faultReply(upnp::invalidInstanceId);

    if (const Rule* rule = takeRule(FaultRule, recorded)) return faultReply(rule->code);
    const SoapOutcome outcome = perform(recorded.speaker, service.name, call->action, call->arguments);
    if (!outcome) return faultReply(outcome.error().code);
    return xmlReply(200, soapResponse(service.type, call->action, *outcome));
}

SoapOutcome FakeHousehold::perform(const QString& uuid, const QString& serviceName, const QString& action,
                                   const SoapValues& args) {
    const auto arg = [&args](const char* name) {
        for (const auto& [key, value] : args)
            if (key == QLatin1String(name)) return value;
        return QString();
    };
    const auto count = [&arg](const char* name) { return parseCount(arg(name)); };
    const auto bad = std::unexpected(SoapFault{upnp::invalidArgs});
    const QString key = serviceName + QLatin1Char('#') + action;

    if (key == QLatin1String("ZoneGroupTopology#GetZoneGroupState"))
        return SoapValues{{QStringLiteral("ZoneGroupState"), zoneGroupState(model_)}};
    if (key == QLatin1String("AVTransport#GetTransportInfo")) return model_.transportInfo(uuid);
    if (key == QLatin1String("AVTransport#GetPositionInfo")) return model_.positionInfo(uuid);
    if (key == QLatin1String("AVTransport#GetMediaInfo")) return model_.mediaInfo(uuid);
    if (key == QLatin1String("AVTransport#BecomeCoordinatorOfStandaloneGroup")) {
        auto change = model_.leaveRequest(uuid);
        if (!change) return std::unexpected(change.error());
        SoapValues reply = model_.leaveReply(*change);
        schedule(std::move(*change));
        return reply;
    }
    if (key == QLatin1String("AVTransport#SetAVTransportURI")) {
        auto change = model_.setTransportUri(uuid, arg("CurrentURI"), arg("CurrentURIMetaData"));
        if (!change) return std::unexpected(change.error());
        if (*change) schedule(std::move(**change));
        return SoapValues{};
    }
    if (key == QLatin1String("AVTransport#DelegateGroupCoordinationTo")) {
        const auto rejoin = parseFlag(arg("RejoinGroup"));
        if (!rejoin) return bad;
        auto change = model_.delegateRequest(uuid, arg("NewCoordinator"), *rejoin);
        if (!change) return std::unexpected(change.error());
        schedule(std::move(*change));
        return SoapValues{};
    }
    if (key == QLatin1String("AVTransport#Play")) {
        if (arg("Speed") != QLatin1String("1")) return bad;
        return model_.play(uuid);
    }
    if (key == QLatin1String("AVTransport#Pause")) return model_.pause(uuid);
    if (key == QLatin1String("AVTransport#Next")) return model_.next(uuid);
    if (key == QLatin1String("AVTransport#Previous")) return model_.previous(uuid);
    if (key == QLatin1String("AVTransport#Seek")) return model_.seek(uuid, arg("Unit"), arg("Target"));
    if (key == QLatin1String("AVTransport#AddURIToQueue")) {
        const auto first = count("DesiredFirstTrackNumberEnqueued");
        const auto asNext = parseFlag(arg("EnqueueAsNext"));
        if (!first || !asNext) return bad;
        return model_.addToQueue(uuid, arg("EnqueuedURI"), arg("EnqueuedURIMetaData"), *first, *asNext);
    }
    if (key == QLatin1String("RenderingControl#GetVolume")) {
        if (arg("Channel") != QLatin1String("Master")) return bad;
        return model_.volume(uuid);
    }
    if (key == QLatin1String("RenderingControl#SetVolume")) {
        const auto volume = count("DesiredVolume");
        if (arg("Channel") != QLatin1String("Master") || !volume) return bad;
        return model_.setVolume(uuid, *volume);
    }
    if (key == QLatin1String("GroupRenderingControl#GetGroupVolume")) return model_.groupVolume(uuid);
    if (key == QLatin1String("GroupRenderingControl#SnapshotGroupVolume")) return model_.snapshotGroupVolume(uuid);
    if (key == QLatin1String("GroupRenderingControl#SetGroupVolume")) {
        const auto volume = count("DesiredVolume");
        if (!volume) return bad;
        return model_.setGroupVolume(uuid, *volume);
    }
    if (key == QLatin1String("ContentDirectory#Browse")) {
        const auto start = count("StartingIndex");
        const auto requested = count("RequestedCount");
        if (!start || !requested) return bad;
        return model_.browseQueue(uuid, arg("ObjectID"), arg("BrowseFlag"), *start, *requested);
    }
    if (key == QLatin1String("SystemProperties#GetString")) return model_.getString(arg("VariableName"));
    if (key == QLatin1String("SystemProperties#SetString")) return model_.setString(arg("VariableName"), arg("StringValue"));
    return std::unexpected(SoapFault{upnp::invalidAction});
}

HttpReply FakeHousehold::handlePage(const FakeRequest& recorded) {
    const bool get = recorded.method == "GET" || recorded.method == "HEAD";
    const FakeSpeaker& speaker = model_.speaker(recorded.speaker);
    const QString& path = recorded.path;
    if (path == QLatin1String("/xml/device_description.xml")) {
        if (!get) return HttpReply::withStatus(405, "Method Not Allowed");
        return xmlReply(200, deviceDescription(speaker));
    }
    if (path == QLatin1String("/status/batterystatus")) {
        if (!get) return HttpReply::withStatus(405, "Method Not Allowed");
        if (!speaker.battery) return HttpReply::withStatus(404, "Not Found");
        return xmlReply(200, batteryStatusPage(*speaker.battery));
    }
    if (path == QLatin1String("/status/proc/ath_rincon/status")) {
        if (!get) return HttpReply::withStatus(405, "Method Not Allowed");
        return HttpReply::ok(radioStatusPage(speaker, model_), "text/plain; charset=utf-8");
    }
    if (path == QLatin1String("/status/accounts")) {
        if (!get) return HttpReply::withStatus(405, "Method Not Allowed");
        return xmlReply(200, accountsPage(model_.accounts(), speaker.uuid));
    }
    if (path == QLatin1String("/getaa")) {
        if (!get) return HttpReply::withStatus(405, "Method Not Allowed");
        HttpReply reply = HttpReply::ok(kArtwork, "image/png");
        reply.announcedLength = artworkBytes_;
        return reply;
    }
    return HttpReply::withStatus(404, "Not Found");
}

void FakeHousehold::malform(HttpReply& reply, Malformation malformation, const FakeRequest& request) const {
    reply.status = 200;
    switch (malformation) {
    case Malformation::Truncated:
        reply.body = reply.body.left(reply.body.size() / 2);
        return;
    case Malformation::NotXml:
        static constexpr char kGarbage[] = "<html><body>Internal \xff\xfe error</b";
        reply.body = QByteArray(kGarbage, sizeof kGarbage - 1);
        return;
    case Malformation::Empty:
        reply.body.clear();
        return;
    case Malformation::Oversized: {
        const qsizetype declaration = reply.body.startsWith("<?xml") ? reply.body.indexOf("?>") + 2 : 0;
        QByteArray padding = "<!--" + QByteArray(kOversizedBytes, ' ') + "-->";
        reply.body.insert(declaration, padding);
        return;
    }
    case Malformation::BrokenEmbeddedDocument: {
        auto call = parseSoapCall(request.body);
        const auto* service = [&]() -> const FakeService* {
            for (const FakeService& s : fakeServices())
                if (s.name == request.service) return &s;
            return nullptr;
        }();
        QXmlStreamReader reader(reply.body);
        if (!call || !service) {
            reply.body = reply.body.left(reply.body.size() / 2);
            return;
        }
        // Re-read the outputs of the sound reply and cut every value that is a document.
        SoapValues outputs;
        int depth = 0;
        while (!reader.atEnd()) {
            const auto token = reader.readNext();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (depth == 4) {
                    const QString name = reader.name().toString();
                    QString value = reader.readElementText();
                    --depth;
                    if (value.startsWith(QLatin1Char('<'))) value = value.left(value.size() / 2);
                    outputs.append({name, value});
                }
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            }
        }
        reply.body = soapResponse(service->type, call->action, outputs);
        return;
    }
    }
}

// --- demo content ---

void FakeHousehold::seedDemoContent() {
    const QStringList ids = model_.speakerIds();
    if (ids.isEmpty()) return;
    const QString first = ids.front();
    const auto track = [](int n, const char* title, const char* artist, const char* album, int seconds) {
        return FakeTrack::spotify(QStringLiteral("4uLU6hMCjMI75M1A2tKUQ%1").arg(n), title, artist, album, seconds);
    };
    model_.setQueue(first, {track(1, "Morning Light", "The Quiet Rooms", "Open House", 211),
                            track(2, "Kitchen Radio", "Ada & The Tiles", "Floorplans", 187),
                            track(3, "Stairwell Echo", "The Quiet Rooms", "Open House", 245),
                            track(4, "Café Noir", "Léa Mercier", "Rue des Jardins", 198),
                            track(5, "Low Tide", "Harbour Lights", "Coastal", 302),
                            track(6, "Attic Dust", "Ada & The Tiles", "Floorplans", 176)});
    FakePlayback& playing = model_.editSpeaker(first).playback;
    playing.currentUri = QStringLiteral("x-rincon-queue:") + first + QStringLiteral("#0");
    playing.trackNumber = 2;
    playing.relSeconds = 65;
    playing.transportState = QStringLiteral("PLAYING");
    if (ids.size() >= 2) model_.setGroup({first, ids[1]});
    if (ids.size() >= 3) model_.playRadioStation(ids[2], QStringLiteral("PAUSED_PLAYBACK"));
    model_.spreadRadioReadings(50, 12);
    model_.setAccounts({FakeAccount{}});
    model_.setSystemProperty(QStringLiteral("Orvella_SystemName"), QStringLiteral("Fake Household"));
}

} // namespace orvel::fakes

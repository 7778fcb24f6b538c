#include "fakes/FakeDocuments.h"

#include <QJsonArray>
#include <QXmlStreamReader>

namespace orvel::fakes {

namespace {

const QString kDidlOpen = QStringLiteral(
    "<DIDL-Lite xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
    "xmlns:upnp=\"urn:schemas-upnp-org:metadata-1-0/upnp/\" "
    "xmlns:r=\"urn:schemas-rinconnetworks-com:metadata-1-0/\" "
    "xmlns=\"urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/\">");
const QString kDidlClose = QStringLiteral("</DIDL-Lite>");
const QString kDublinCore = QStringLiteral("http://purl.org/dc/elements/1.1/");
const QString kUpnpMetadata = QStringLiteral("urn:schemas-upnp-org:metadata-1-0/upnp/");

QString protocolInfo(const QString& uri) {
    if (uri.startsWith(QStringLiteral("x-sonos-spotify:"))) return QStringLiteral("sonos.com-spotify:*:audio/x-spotify:*");
    if (uri.startsWith(QStringLiteral("x-file-cifs:"))) return QStringLiteral("x-file-cifs:*:audio/mpeg:*");
    return QStringLiteral("http-get:*:audio/mpeg:*");
}

QString element(const QString& name, const QString& text) {
    return QLatin1Char('<') + name + QLatin1Char('>') + xmlEscaped(text) + QStringLiteral("</") + name + QLatin1Char('>');
}

QString itemXml(const FakeTrack& track, const QString& id, const QString& parent, bool withStreamContent) {
    QString xml = QStringLiteral("<item id=\"%1\" parentID=\"%2\" restricted=\"true\">").arg(xmlEscaped(id), xmlEscaped(parent));
    xml += QStringLiteral("<res protocolInfo=\"%1\" duration=\"%2\">%3</res>")
               .arg(xmlEscaped(protocolInfo(track.uri)), formatTrackTime(track.durationSeconds), xmlEscaped(track.uri));
    if (withStreamContent) xml += QStringLiteral("<r:streamContent></r:streamContent>");
    if (!track.albumArtUri.isEmpty()) xml += element(QStringLiteral("upnp:albumArtURI"), track.albumArtUri);
    xml += element(QStringLiteral("dc:title"), track.title);
    xml += element(QStringLiteral("upnp:class"), track.itemClass);
    if (!track.creator.isEmpty()) xml += element(QStringLiteral("dc:creator"), track.creator);
    if (!track.album.isEmpty()) xml += element(QStringLiteral("upnp:album"), track.album);
    return xml + QStringLiteral("</item>");
}

struct Attributes {
    QString text;
    Attributes& add(const char* name, const QString& value) {
        text += QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + xmlEscaped(value) + QLatin1Char('"');
        return *this;
    }
};

QString location(const FakeSpeaker& speaker) {
    return QStringLiteral("http://%1:1400/xml/device_description.xml").arg(speaker.address.toString());
}

// The attributes every topology entry of a speaker carries; most are noise a reader skips.
Attributes memberAttributes(const FakeSpeaker& speaker, bool invisible) {
    Attributes a;
    a.add("UUID", speaker.uuid)
        .add("Location", location(speaker))
        .add("ZoneName", speaker.roomName)
        .add("Icon", QStringLiteral("x-rincon-roomicon:living"))
        .add("Configuration", QStringLiteral("1"))
        .add("SoftwareVersion", speaker.softwareVersion)
        .add("SWGen", QStringLiteral("2"))
        .add("MinCompatibleVersion", QStringLiteral("78.0-00000"))
        .add("LegacyCompatibleVersion", QStringLiteral("58.0-00000"))
        .add("BootSeq", QStringLiteral("42"))
        .add("TVConfigurationError", QStringLiteral("0"))
        .add("HdmiCecAvailable", QStringLiteral("0"))
        .add("WirelessMode", QStringLiteral("1"))
        .add("WirelessLeafOnly", QStringLiteral("0"))
        .add("ChannelFreq", QStringLiteral("2437"))
        .add("BehindWifiExtender", QStringLiteral("0"))
        .add("WifiEnabled", QStringLiteral("1"))
        .add("EthLink", QStringLiteral("0"))
        .add("Orientation", QStringLiteral("0"))
        .add("RoomCalibrationState", QStringLiteral("4"))
        .add("SecureRegState", QStringLiteral("3"))
        .add("VoiceConfigState", QStringLiteral("0"))
        .add("MicEnabled", QStringLiteral("0"))
        .add("AirPlayEnabled", QStringLiteral("1"))
        .add("IdleState", QStringLiteral("1"))
        .add("MoreInfo", QString())
        .add("SSLPort", QStringLiteral("1443"))
        .add("HHSSLPort", QStringLiteral("1843"))
        .add("Invisible", invisible ? QStringLiteral("1") : QStringLiteral("0"));
    return a;
}

bool isHomeTheaterModel(const FakeSpeaker& speaker) {
    for (const char* name : {"arc", "beam", "ray", "playbar", "playbase", "amp"})
        if (speaker.modelName.contains(QLatin1String(name), Qt::CaseInsensitive)) return true;
    return false;
}

QString roleChannels(SatelliteRole role, bool homeTheater) {
    switch (role) {
    case SatelliteRole::RearLeft: return QStringLiteral("LR");
    case SatelliteRole::RearRight: return QStringLiteral("RR");
    case SatelliteRole::Subwoofer: return homeTheater ? QStringLiteral("SW") : QStringLiteral("SW,SW");
    case SatelliteRole::StereoRight: return QStringLiteral("RF,RF");
    }
    return {};
}

QString memberXml(const FakeSpeaker& room, const FakeHouseholdModel& model) {
    QList<const FakeSpeaker*> satellites;
    for (const FakeSpeaker& candidate : model.speakers()) {
        if (candidate.bondedTo == room.uuid && !candidate.vanished) satellites << &candidate;
    }
    Attributes attributes = memberAttributes(room, false);
    if (satellites.isEmpty()) return QStringLiteral("<ZoneGroupMember%1/>").arg(attributes.text);

    bool homeTheater = isHomeTheaterModel(room);
    bool stereo = false;
    for (const FakeSpeaker* satellite : satellites) {
        if (satellite->role == SatelliteRole::RearLeft || satellite->role == SatelliteRole::RearRight) homeTheater = true;
        if (satellite->role == SatelliteRole::StereoRight) stereo = true;
    }
    homeTheater = homeTheater && !stereo;
    QStringList channels{room.uuid + QLatin1Char(':') + (stereo ? QStringLiteral("LF,LF") : QStringLiteral("LF,RF"))};
    for (const FakeSpeaker* satellite : satellites)
        channels << satellite->uuid + QLatin1Char(':') + roleChannels(satellite->role.value_or(SatelliteRole::Subwoofer), homeTheater);
    const QString map = channels.join(QLatin1Char(';'));

    if (homeTheater) {
        attributes.add("HTSatChanMapSet", map);
        QString xml = QStringLiteral("<ZoneGroupMember%1>").arg(attributes.text);
        for (const FakeSpeaker* satellite : satellites)
            xml += QStringLiteral("<Satellite%1/>").arg(memberAttributes(*satellite, true).add("HTSatChanMapSet", map).text);
        return xml + QStringLiteral("</ZoneGroupMember>");
    }
    attributes.add("ChannelMapSet", map);
    QString xml = QStringLiteral("<ZoneGroupMember%1/>").arg(attributes.text);
    for (const FakeSpeaker* satellite : satellites)
        xml += QStringLiteral("<ZoneGroupMember%1/>").arg(memberAttributes(*satellite, true).add("ChannelMapSet", map).text);
    return xml;
}

// The extender's own group, as one leads it: Coordinator and only member, invisible.
QString extenderGroupXml(const FakeExtender& extender) {
    FakeSpeaker device;
    device.uuid = extender.uuid;
    device.address = extender.address;
    device.roomName = extender.name;
    return QStringLiteral("<ZoneGroup Coordinator=\"%1\" ID=\"%1:12\"><ZoneGroupMember%2/></ZoneGroup>")
        .arg(xmlEscaped(extender.uuid), memberAttributes(device, true).text);
}

QString service(const char* name, const char* type, const char* controlPath, const char* eventPath) {
    return QStringLiteral("<service><serviceType>%2</serviceType><serviceId>urn:upnp-org:serviceId:%1</serviceId>"
                          "<controlURL>%3</controlURL><eventSubURL>%4</eventSubURL><SCPDURL>/xml/%1%5.xml</SCPDURL></service>")
        .arg(QLatin1String(name), QLatin1String(type), QLatin1String(controlPath), QLatin1String(eventPath),
             QStringLiteral("1"));
}

} // namespace

QString xmlEscaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&apos;"); break;
        default: out += c;
        }
    }
    return out;
}

QString queueDidl(const QList<FakeTrack>& tracks, int firstNumber) {
    QString xml = kDidlOpen;
    for (qsizetype i = 0; i < tracks.size(); ++i)
        xml += itemXml(tracks[i], QStringLiteral("Q:0/%1").arg(firstNumber + i), QStringLiteral("Q:0"), false);
    return xml + kDidlClose;
}

QString trackDidl(const FakeTrack& track) {
    return kDidlOpen + itemXml(track, QStringLiteral("-1"), QStringLiteral("-1"), true) + kDidlClose;
}

QString streamDidl(const QString& title, const QString& streamContent) {
    return kDidlOpen + QStringLiteral("<item id=\"-1\" parentID=\"-1\" restricted=\"true\">")
        + element(QStringLiteral("r:streamContent"), streamContent) + element(QStringLiteral("dc:title"), title)
        + element(QStringLiteral("upnp:class"), QStringLiteral("object.item")) + QStringLiteral("</item>") + kDidlClose;
}

FakeTrack trackFromDidl(const QString& uri, const QString& didl) {
    FakeTrack track;
    track.uri = uri;
    QXmlStreamReader reader(didl);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const QStringView ns = reader.namespaceUri();
        const QStringView name = reader.name();
        if (name == QLatin1String("res")) {
            if (const auto duration = parseTrackTime(reader.attributes().value(QLatin1String("duration")).toString()))
                track.durationSeconds = *duration;
            continue;
        }
        QString* field = nullptr;
        if (ns == kDublinCore && name == QLatin1String("title")) field = &track.title;
        else if (ns == kDublinCore && name == QLatin1String("creator")) field = &track.creator;
        else if (ns == kUpnpMetadata && name == QLatin1String("album")) field = &track.album;
        else if (ns == kUpnpMetadata && name == QLatin1String("albumArtURI")) field = &track.albumArtUri;
        else if (ns == kUpnpMetadata && name == QLatin1String("class")) field = &track.itemClass;
        if (field) *field = reader.readElementText(QXmlStreamReader::SkipChildElements);
    }
    return track;
}

QString zoneGroupState(const FakeHouseholdModel& model) {
    QString groups = QStringLiteral("<ZoneGroups>");
    if (model.extender()) groups += extenderGroupXml(*model.extender());
    for (const FakeGroup& group : model.groups()) {
        if (model.speaker(group.coordinator).vanished) continue;
        groups += QStringLiteral("<ZoneGroup Coordinator=\"%1\" ID=\"%2\">").arg(xmlEscaped(group.coordinator), xmlEscaped(group.id));
        for (const QString& member : group.members) {
            const FakeSpeaker& room = model.speaker(member);
            if (!room.vanished) groups += memberXml(room, model);
        }
        groups += QStringLiteral("</ZoneGroup>");
    }
    groups += QStringLiteral("</ZoneGroups>");
    if (model.legacyTopologyRoot()) return groups;

    QString vanished;
    for (const FakeSpeaker& speaker : model.speakers()) {
        if (speaker.vanished)
            vanished += QStringLiteral("<Device%1/>").arg(Attributes()
                                                               .add("UUID", speaker.uuid)
                                                               .add("ZoneName", speaker.roomName)
                                                               .add("Reason", QStringLiteral("powered off"))
                                                               .text);
    }
    return QStringLiteral("<ZoneGroupState>") + groups
        + (vanished.isEmpty() ? QStringLiteral("<VanishedDevices/>") : QStringLiteral("<VanishedDevices>%1</VanishedDevices>").arg(vanished))
        + QStringLiteral("</ZoneGroupState>");
}

QByteArray deviceDescription(const FakeSpeaker& speaker) {
    const QString uuid = xmlEscaped(speaker.uuid);
    const QString model = xmlEscaped(speaker.modelName);
    const QString friendly = xmlEscaped(QStringLiteral("%1 - %2 - %3").arg(speaker.address.toString(), speaker.modelName, speaker.uuid));
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<root xmlns=\"urn:schemas-upnp-org:device-1-0\">"
                                 "<specVersion><major>1</major><minor>0</minor></specVersion><device>"
                                 "<deviceType>urn:schemas-upnp-org:device:ZonePlayer:1</deviceType>");
    xml += element(QStringLiteral("friendlyName"), QStringLiteral("%1 - %2 - %3").arg(speaker.address.toString(), speaker.modelName, speaker.uuid));
    xml += QStringLiteral("<manufacturer>Sonos, Inc.</manufacturer><manufacturerURL>http://www.sonos.com</manufacturerURL>");
    xml += element(QStringLiteral("modelNumber"), speaker.modelNumber);
    xml += element(QStringLiteral("modelDescription"), speaker.modelName);
    xml += element(QStringLiteral("modelName"), speaker.modelName);
    xml += element(QStringLiteral("modelURL"), QStringLiteral("http://www.sonos.com/products/zoneplayers/") + speaker.modelNumber);
    xml += element(QStringLiteral("softwareVersion"), speaker.softwareVersion);
    xml += QStringLiteral("<swGen>2</swGen><hardwareVersion>1.20.1.6-2.2</hardwareVersion>");
    xml += element(QStringLiteral("serialNum"), speaker.serialNumber);
    xml += element(QStringLiteral("MACAddress"), speaker.macAddress);
    xml += QStringLiteral("<UDN>uuid:%1</UDN>").arg(uuid);
    xml += QStringLiteral("<iconList><icon><id>0</id><mimetype>image/png</mimetype><width>48</width><height>48</height>"
                          "<depth>24</depth><url>/img/icon-S18.png</url></icon></iconList>");
    xml += QStringLiteral("<minCompatibleVersion>78.0-00000</minCompatibleVersion><legacyCompatibleVersion>58.0-00000</legacyCompatibleVersion>"
                          "<displayVersion>16.1</displayVersion><extraVersion/>");
    xml += element(QStringLiteral("roomName"), speaker.roomName);
    xml += element(QStringLiteral("displayName"), speaker.displayName);
    xml += QStringLiteral("<zoneType>11</zoneType><feature1>0x00000000</feature1><feature2>0x00403332</feature2>"
                          "<feature3>0x0001302e</feature3><variant>2</variant><internalSpeakerSize>5</internalSpeakerSize>"
                          "<memory>1024</memory><flash>3072</flash><ampOnTime>10</ampOnTime><retailMode>0</retailMode>");
    xml += QStringLiteral("<serviceList>")
        + service("AlarmClock", "urn:schemas-upnp-org:service:AlarmClock:1", "/AlarmClock/Control", "/AlarmClock/Event")
        + service("SystemProperties", "urn:schemas-upnp-org:service:SystemProperties:1", "/SystemProperties/Control", "/SystemProperties/Event")
        + service("ZoneGroupTopology", "urn:schemas-upnp-org:service:ZoneGroupTopology:1", "/ZoneGroupTopology/Control", "/ZoneGroupTopology/Event")
        + service("GroupManagement", "urn:schemas-upnp-org:service:GroupManagement:1", "/GroupManagement/Control", "/GroupManagement/Event")
        + service("DeviceProperties", "urn:schemas-upnp-org:service:DeviceProperties:1", "/DeviceProperties/Control", "/DeviceProperties/Event")
        + QStringLiteral("</serviceList>");
    // The embedded devices carry a model name of their own but no room name.
    const auto embeddedDevice = [&](const char* kind, const char* title, const char* udnSuffix) {
        return QStringLiteral("<device><deviceType>urn:schemas-upnp-org:device:%1:1</deviceType>"
                              "<friendlyName>%2 %3</friendlyName>")
                   .arg(QLatin1String(kind), friendly, QLatin1String(title)) +
               QStringLiteral("<manufacturer>Sonos, Inc.</manufacturer><modelNumber>%1</modelNumber><modelName>%2</modelName>"
                              "<UDN>uuid:%3_%4</UDN><serviceList>")
                   .arg(xmlEscaped(speaker.modelNumber), model, uuid, QLatin1String(udnSuffix));
    };
    xml += QStringLiteral("<deviceList>") + embeddedDevice("MediaServer", "Media Server", "MS")
        + service("ContentDirectory", "urn:schemas-upnp-org:service:ContentDirectory:1", "/MediaServer/ContentDirectory/Control", "/MediaServer/ContentDirectory/Event")
        + service("ConnectionManager", "urn:schemas-upnp-org:service:ConnectionManager:1", "/MediaServer/ConnectionManager/Control", "/MediaServer/ConnectionManager/Event")
        + QStringLiteral("</serviceList></device>");
    xml += embeddedDevice("MediaRenderer", "Media Renderer", "MR")
        + service("RenderingControl", "urn:schemas-upnp-org:service:RenderingControl:1", "/MediaRenderer/RenderingControl/Control", "/MediaRenderer/RenderingControl/Event")
        + service("ConnectionManager", "urn:schemas-upnp-org:service:ConnectionManager:1", "/MediaRenderer/ConnectionManager/Control", "/MediaRenderer/ConnectionManager/Event")
        + service("AVTransport", "urn:schemas-upnp-org:service:AVTransport:1", "/MediaRenderer/AVTransport/Control", "/MediaRenderer/AVTransport/Event")
        + service("Queue", "urn:schemas-sonos-com:service:Queue:1", "/MediaRenderer/Queue/Control", "/MediaRenderer/Queue/Event")
        + service("GroupRenderingControl", "urn:schemas-upnp-org:service:GroupRenderingControl:1", "/MediaRenderer/GroupRenderingControl/Control", "/MediaRenderer/GroupRenderingControl/Event")
        + QStringLiteral("</serviceList></device></deviceList></device></root>\n");
    return xml.toUtf8();
}

QByteArray batteryStatusPage(const FakeBattery& battery) {
    const QString xml = QStringLiteral("<?xml version=\"1.0\" ?>\n<ZPSupportInfo><LocalBatteryStatus>"
                                       "<Data name=\"Level\">%1</Data><Data name=\"PowerSource\">%2</Data>"
                                       "<Data name=\"Temperature\">%3</Data><Data name=\"Health\">GREEN</Data>"
                                       "</LocalBatteryStatus></ZPSupportInfo>\n")
                            .arg(battery.level)
                            .arg(xmlEscaped(battery.powerSource), xmlEscaped(battery.temperature));
    return xml.toUtf8();
}

QByteArray radioStatusPage(const FakeSpeaker& speaker, const FakeHouseholdModel& model) {
    QString text = QStringLiteral("ath_rincon status\nDevice: ath0  Mode: Mesh  Channel: 6 (2437 MHz)\n");
    if (speaker.noiseFloor) text += QStringLiteral("Noise floor: %1 dBm\n").arg(*speaker.noiseFloor);
    text += QStringLiteral("Node table (%1 entries):\n").arg(speaker.radio.size());
    for (const FakeRadioReading& reading : speaker.radio) {
        const QString mac = model.contains(reading.peer) ? model.speaker(reading.peer).macAddress : reading.peer;
        text += QStringLiteral("  %1  rssi %2  rate 54M  inact 0s  flags 0x3\n").arg(mac).arg(reading.rssi);
    }
    return text.toUtf8();
}

QByteArray accountsPage(const QList<FakeAccount>& accounts, const QString& lastUpdateDevice) {
    int nextSerial = 1;
    for (const FakeAccount& account : accounts) nextSerial = std::max(nextSerial, account.serialNumber.toInt() + 1);
    QString xml = QStringLiteral("<?xml version=\"1.0\" ?>\n<Accounts LastUpdateDevice=\"%1\" Version=\"12\" NextSerialNum=\"%2\">")
                      .arg(xmlEscaped(lastUpdateDevice))
                      .arg(nextSerial);
    for (const FakeAccount& account : accounts) {
        xml += QStringLiteral("<Account Type=\"%1\" SerialNum=\"%2\" Deleted=\"%3\">")
                   .arg(xmlEscaped(account.type), xmlEscaped(account.serialNumber), account.deleted ? QStringLiteral("1") : QStringLiteral("0"));
        xml += element(QStringLiteral("UN"), account.userName) + QStringLiteral("<MD>1</MD>")
            + element(QStringLiteral("NN"), account.userName) + QStringLiteral("<OADevID></OADevID><Key></Key></Account>");
    }
    return (xml + QStringLiteral("</Accounts>\n")).toUtf8();
}

QJsonObject presetEntry(const QString& id, const QString& name, const QString& coordinator, QStringList members) {
    members.sort();
    QJsonArray memberArray;
    for (const QString& member : members) memberArray.append(member);
    return QJsonObject{{QStringLiteral("id"), QJsonObject{{QStringLiteral("rawValue"), id}}},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("coordinatorUUID"), coordinator},
                       {QStringLiteral("memberUUIDs"), memberArray}};
}

} // namespace orvel::fakes

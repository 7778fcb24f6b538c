#include "VaultIdentity.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

#include "OrvelDomain/Text.h"

namespace orvel {

namespace {

std::optional<std::string> readSmallFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string text;
    // These files are a few lines; anything bigger is not what we expect to read.
    constexpr std::size_t cap = 64 * 1024;
    text.resize(cap);
    file.read(text.data(), static_cast<std::streamsize>(cap));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

std::optional<std::string> nonEmptyTrimmed(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    std::string t = text::trimmed(*text);
    if (t.empty()) return std::nullopt;
    return t;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        auto end = text.find('\n');
        out.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    std::string current;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r') {
            if (!current.empty()) out.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) out.push_back(std::move(current));
    return out;
}

std::string shortNameFromComputerName(std::string_view computerName) {
    std::u32string lower = text::toUtf32(text::lowercased(computerName));
    std::u32string out;
    for (char32_t c : lower) {
        if (c == U'\u2019' || c == U'\'') continue;
        out.push_back(c == U' ' ? U'-' : c);
    }
    return text::toUtf8(out);
}

}  // namespace

std::string machineIdentity(const std::optional<std::string>& machineID,
                            const std::optional<std::string>& fallbackMachineID,
                            std::string_view userName) {
    for (const auto* source : {&machineID, &fallbackMachineID}) {
        if (auto id = nonEmptyTrimmed(*source)) return *id + "." + std::string(userName);
    }
    return "mac." + std::string(userName);
}

std::vector<std::string> legacyHostCandidates(const HostNameSources& sources) {
    std::vector<std::string> hosts{sources.hostName, "localhost"};
    std::vector<std::string> shortNames;

    if (sources.localHostName && !sources.localHostName->empty()) {
        std::string lower = text::lowercased(*sources.localHostName);
        hosts.push_back(*sources.localHostName);
        hosts.push_back(lower);
        hosts.push_back(lower + ".local");
        shortNames = {lower};
    }
    if (sources.computerName && !sources.computerName->empty()) {
        hosts.push_back(*sources.computerName);
        std::string shortName = shortNameFromComputerName(*sources.computerName);
        if (std::find(shortNames.begin(), shortNames.end(), shortName) == shortNames.end()) {
            shortNames.push_back(shortName);
        }
        hosts.push_back(shortName);
        hosts.push_back(shortName + ".local");
    }
    if (sources.searchDomains) {
        for (const std::string& domain : *sources.searchDomains) {
            if (domain.empty()) continue;
            for (const std::string& name : shortNames) {
                hosts.push_back(name + "." + domain);
                for (int k = 1; k <= 4; ++k) {
                    hosts.push_back(name + "-" + std::to_string(k) + "." + domain);
                }
            }
        }
    }

    std::vector<std::string> out;
    std::set<std::string> seen;
    auto keep = [&](std::string candidate) {
        if (seen.insert(candidate).second) out.push_back(std::move(candidate));
    };
    for (const std::string& host : hosts) {
        if (host.empty()) continue;
        keep(host + "." + sources.userName);
        keep(text::lowercased(host) + "." + sources.userName);
    }
    return out;
}

std::optional<std::string> prettyHostNameFromMachineInfo(std::string_view text) {
    std::optional<std::string> found;
    for (std::string_view line : lines(text)) {
        std::string trimmed = text::trimmed(line);
        constexpr std::string_view key = "PRETTY_HOSTNAME=";
        if (!trimmed.starts_with(key)) continue;
        std::string_view value = std::string_view(trimmed).substr(key.size());
        std::string out;
        char quote = 0;
        for (std::size_t i = 0; i < value.size(); ++i) {
            char c = value[i];
            if (quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            } else if (quote != 0 && c == quote) {
                quote = 0;
            } else if (c == '\\' && quote != '\'' && i + 1 < value.size()) {
                out.push_back(value[++i]);
            } else {
                out.push_back(c);
            }
        }
        found = std::move(out);
    }
    if (found && found->empty()) return std::nullopt;
    return found;
}

std::optional<std::vector<std::string>> searchDomainsFromResolvConf(std::string_view text) {
    std::optional<std::vector<std::string>> found;
    for (std::string_view line : lines(text)) {
        std::vector<std::string> fields = words(line);
        if (fields.empty()) continue;
        // The resolver lets the last "search" or "domain" line win.
        if (fields[0] == "search") {
            found = std::vector<std::string>(std::make_move_iterator(fields.begin() + 1),
                                             std::make_move_iterator(fields.end()));
        } else if (fields[0] == "domain" && fields.size() >= 2) {
            found = std::vector<std::string>{fields[1]};
        }
    }
    return found;
}

std::string currentUserName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
        result->pw_name != nullptr && result->pw_name[0] != '\0') {
        return result->pw_name;
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(variable); value != nullptr && value[0] != '\0') return value;
    }
    return std::to_string(geteuid());
}

HostNameSources currentHostNameSources() {
    HostNameSources sources;
    sources.userName = currentUserName();
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0) sources.hostName = name;
    if (!sources.hostName.empty()) {
        sources.localHostName = sources.hostName.substr(0, sources.hostName.find('.'));
    }
    if (auto info = readSmallFile("/etc/machine-info")) {
        sources.computerName = prettyHostNameFromMachineInfo(*info);
    }
    if (auto resolv = readSmallFile("/etc/resolv.conf")) {
        sources.searchDomains = searchDomainsFromResolvConf(*resolv);
    }
    return sources;
}

VaultIdentity VaultIdentity::forThisMachine() {
    static const std::string identity = orvel::machineIdentity(
        readSmallFile("/etc/machine-id"), readSmallFile("/var/lib/dbus/machine-id"), currentUserName());
    return VaultIdentity{identity, orvel::legacyHostCandidates(currentHostNameSources())};
}

}  // namespace orvel

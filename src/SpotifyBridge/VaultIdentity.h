#pragma once

// What binds the token vault to this machine and this user: the machine identity that keys
// the current seal, and the host-name candidates of the legacy keys that older files were
// sealed under. The builders are pure functions of their inputs; readers of this machine's
// sources fill those inputs.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// The inputs of the legacy host candidates.
struct HostNameSources {
    std::string userName;
    // The process's host name.
    std::string hostName;
    // The machine's short, single-label name; absent when unknown.
    std::optional<std::string> localHostName;
    // The user-visible machine name, free text; absent when unknown.
    std::optional<std::string> computerName;
    // DNS search domains in configured order; absent when the configuration has none.
    std::optional<std::vector<std::string>> searchDomains;

    friend bool operator==(const HostNameSources&, const HostNameSources&) = default;
};

// The first non-empty machine identifier followed by "." and the user, else "mac." and the user.
std::string machineIdentity(const std::optional<std::string>& machineID,
                            const std::optional<std::string>& fallbackMachineID,
                            std::string_view userName);

// Ordered, distinct "<host>.<user>" strings to try when the current key does not open a file.
std::vector<std::string> legacyHostCandidates(const HostNameSources& sources);

// The PRETTY_HOSTNAME of a machine-info file (shell-style assignment, quotes allowed).
std::optional<std::string> prettyHostNameFromMachineInfo(std::string_view text);
// The domains of the last "search" or "domain" line of a resolver configuration.
std::optional<std::vector<std::string>> searchDomainsFromResolvConf(std::string_view text);

struct VaultIdentity {
    std::string machineIdentity;
    std::vector<std::string> legacyHostCandidates;

    // This machine and user. The machine identity is read once per process (the first read is
    // kept, so a vault's key never changes under a running process); the host candidates are
    // read afresh for every call.
    static VaultIdentity forThisMachine();

    friend bool operator==(const VaultIdentity&, const VaultIdentity&) = default;
};

// Sources of this machine: /etc/machine-id, else /var/lib/dbus/machine-id; the host name from
// gethostname, its first label as the short name, the pretty name from /etc/machine-info and the
// search domains from /etc/resolv.conf.
std::string currentUserName();
HostNameSources currentHostNameSources();

}  // namespace orvel

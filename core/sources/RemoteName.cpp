#include "core/sources/RemoteName.h"

#include <algorithm>
#include <cstring>

namespace kestrano {
namespace {

constexpr const char* JournalQuery = "?journal";

// A part ssh takes as it is: not empty, not an option, no blanks or controls.
bool plainPart(const std::string& part)
{
    return !part.empty() && part[0] != '-' && std::none_of(part.begin(), part.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ';
    });
}

} // namespace

std::string RemoteName::getDestination() const
{
    return user.empty() ? host : user + '@' + host;
}

std::string RemoteName::getName() const
{
    const std::string shownHost = host.find(':') == std::string::npos ? host : '[' + host + ']';
    std::string name = RemotePrefix + (user.empty() ? shownHost : user + '@' + shownHost);
    if (!port.empty())
        name += ':' + port;
    if (!journal)
        return name + path;
    name += '/';
    name += JournalQuery;
    return unit.empty() ? name : name + '=' + unit;
}

bool isRemoteName(const char* name)
{
    return std::strncmp(name, RemotePrefix, std::strlen(RemotePrefix)) == 0;
}

bool parseRemoteName(const char* name, RemoteName& remote)
{
    if (!isRemoteName(name))
        return false;
    const std::string rest = name + std::strlen(RemotePrefix);
    const size_t slash = rest.find('/');
    if (slash == std::string::npos)
        return false;
    std::string authority = rest.substr(0, slash);
    remote = RemoteName();
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        remote.user = authority.substr(0, at);
        authority.erase(0, at + 1);
        if (!plainPart(remote.user))
            return false;
    }
    // [ADDRESS] for an IPv6 address, which holds colons.
    size_t hostEnd = 0;
    if (!authority.empty() && authority[0] == '[') {
        hostEnd = authority.find(']');
        if (hostEnd == std::string::npos)
            return false;
        remote.host = authority.substr(1, hostEnd - 1);
        ++hostEnd;
    } else {
        hostEnd = std::min(authority.find(':'), authority.size());
        remote.host = authority.substr(0, hostEnd);
    }
    if (hostEnd < authority.size()) {
        if (authority[hostEnd] != ':')
            return false;
        remote.port = authority.substr(hostEnd + 1);
        if (remote.port.empty() || remote.port.size() > 5
            || !std::all_of(
                remote.port.begin(), remote.port.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
    }
    if (!plainPart(remote.host))
        return false;

    const std::string path = rest.substr(slash);
    if (path.compare(1, std::strlen(JournalQuery), JournalQuery) == 0) {
        const std::string query = path.substr(1 + std::strlen(JournalQuery));
        if (!query.empty() && query[0] != '=')
            return false;
        remote.journal = true;
        remote.unit = query.empty() ? std::string() : query.substr(1);
        return query.empty() || !remote.unit.empty();
    }
    if (path.size() < 2 || path.find('\0') != std::string::npos)
        return false;
    remote.path = path;
    return true;
}

} // namespace kestrano

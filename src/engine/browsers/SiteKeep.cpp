#include "engine/browsers/SiteKeep.h"

#include "engine/settings/SettingsFile.h"

#include <algorithm>

namespace tidvale {
namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

// "host:port" or "[v6]:port" to the host alone.
std::string withoutPort(std::string_view hostPort)
{
    if (hostPort.starts_with('[')) {
        const size_t close = hostPort.find(']');
        return std::string(hostPort.substr(0, close == std::string_view::npos ? close : close + 1));
    }
    const size_t colon = hostPort.rfind(':');
    return std::string(colon == std::string_view::npos ? hostPort : hostPort.substr(0, colon));
}

} // namespace

std::vector<std::string> keptSites(const Context& context)
{
    const UserSettings& user = context.settings;
    if (user.path.empty())
        return user.atStart.values.keepSites;
    const SettingsRead now = readSettings(user.path);
    // A damaged file keeps what was read at start rather than forget every site.
    return now.damage ? user.atStart.values.keepSites : now.values.keepSites;
}

bool isKeptHost(const std::vector<std::string>& kept, std::string_view host)
{
    std::string h = lowered(host);
    while (!h.empty() && h.front() == '.')
        h.erase(h.begin());
    if (h.empty())
        return false;
    return std::any_of(kept.begin(), kept.end(), [&](const std::string& site) {
        return h == site
            || (h.size() > site.size() && h.ends_with(site)
                && h[h.size() - site.size() - 1] == '.');
    });
}

std::optional<std::string> hostOfOrigin(std::string_view origin)
{
    for (std::string_view scheme : {"http://", "https://"}) {
        if (!origin.starts_with(scheme))
            continue;
        std::string_view rest = origin.substr(scheme.size());
        rest = rest.substr(0, rest.find('/'));
        return lowered(withoutPort(rest));
    }
    return std::nullopt;
}

std::optional<std::string> hostOfFirefoxOriginFolder(std::string_view name)
{
    name = name.substr(0, name.find('^'));
    for (std::string_view scheme : {"http+++", "https+++"}) {
        if (!name.starts_with(scheme))
            continue;
        std::string_view host = name.substr(scheme.size());
        // The port follows the last "+", when what follows is a number.
        const size_t plus = host.rfind('+');
        if (plus != std::string_view::npos && plus + 1 < host.size()
            && std::all_of(host.begin() + static_cast<long>(plus) + 1, host.end(),
                [](char c) { return c >= '0' && c <= '9'; }))
            host = host.substr(0, plus);
        return lowered(host);
    }
    return std::nullopt;
}

std::optional<std::string> hostOfChromiumOriginFolder(std::string_view name)
{
    for (std::string_view scheme : {"http_", "https_"}) {
        if (!name.starts_with(scheme))
            continue;
        std::string_view rest = name.substr(scheme.size());
        rest = rest.substr(0, rest.find(".indexeddb"));
        const size_t port = rest.rfind('_');
        return lowered(port == std::string_view::npos ? rest : rest.substr(0, port));
    }
    return std::nullopt;
}

std::string keptSitesNote(size_t count)
{
    if (count == 0)
        return "";
    return count == 1 ? "se conserva 1 sitio" : "se conservan " + std::to_string(count) + " sitios";
}

} // namespace tidvale

#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tidvale::platform {

// A desktop notification, for what ends with nobody watching (a scheduled clean).
struct Notification {
    std::string title;
    std::string body;
};

class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows `notification`; why it could not be shown (no session bus, no
    // notification service, not allowed), in Spanish, or nothing when it was.
    virtual std::optional<std::string> notify(const Notification& notification) = 0;
};

// The backend of this operating system. On Linux it talks to the session bus at
// `sessionBus` (a D-Bus address; empty: the one in `runtimeFolder`/bus, where a
// systemd user manager's session keeps it).
std::shared_ptr<Notifier> systemNotifier(
    const std::string& sessionBus, const std::string& runtimeFolder);

} // namespace tidvale::platform

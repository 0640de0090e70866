#pragma once

// Records the notifications a test's code shows instead of showing them.
#include "platform/Notifier.h"

#include <mutex>
#include <vector>

class FakeNotifier final : public tidvale::platform::Notifier {
public:
    std::optional<std::string> notify(const tidvale::platform::Notification& n) override
    {
        std::lock_guard g(m_);
        shown.push_back(n);
        return std::nullopt;
    }
    std::vector<tidvale::platform::Notification> shown;

private:
    std::mutex m_;
};

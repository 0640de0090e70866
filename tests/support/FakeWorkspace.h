#pragma once

#include "platform/Workspace.h"

#include <string>
#include <utility>
#include <vector>

// Records every workspace request instead of opening windows; answers `accept`.
class FakeWorkspace final : public tidvale::platform::Workspace {
public:
    struct Call {
        std::string action; // "reveal", "info", "open", "launch", "folder"
        std::string path;
        bool operator==(const Call&) const = default;
    };

    bool reveal(const std::string& path) override { return record("reveal", path); }
    bool showInformation(const std::string& path) override { return record("info", path); }
    bool openWithDefaultApplication(const std::string& path) override
    {
        return record("open", path);
    }
    bool launchApplication(const std::string& path) override { return record("launch", path); }
    bool openFolder(const std::string& folder) override { return record("folder", folder); }

    std::vector<Call> calls;
    bool accept = true;

private:
    bool record(const char* action, const std::string& path)
    {
        calls.push_back({action, path});
        return accept;
    }
};

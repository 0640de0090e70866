#pragma once

#include <memory>
#include <string>

namespace tidvale::platform {

// The desktop's file manager and application launcher. Every call returns at once;
// `true` means the desktop accepted the request (directly or through the fallback of
// opening the containing folder), not that a window is already on screen; `false`
// that nothing on the desktop could take it (no file manager, no application). Paths are
// absolute and passed through unchanged, whatever bytes they hold. GUI thread only.
class Workspace {
public:
    virtual ~Workspace() = default;
    // Opens a file manager window on the folder that holds `path`, with `path` selected.
    virtual bool reveal(const std::string& path) = 0;
    // Opens the file manager's information (properties) window for `path`.
    virtual bool showInformation(const std::string& path) = 0;
    // Opens `path` with the application the desktop associates with it.
    virtual bool openWithDefaultApplication(const std::string& path) = 0;
    // Starts the application whose bundle (or desktop entry) is at `path`.
    virtual bool launchApplication(const std::string& path) = 0;
    // Opens a file manager window rooted at the folder, nothing selected.
    virtual bool openFolder(const std::string& folder) = 0;
};

// The backend of this operating system.
std::shared_ptr<Workspace> systemWorkspace();

} // namespace tidvale::platform

#pragma once

// Everything a screen test needs around the screen: a temporary home folder (the
// process HOME points at it) and machine root, fake operating-system services, and the
// GUI's dispatcher, with the Mac's locations profile. One per test function; everything is put back
// when it goes.
#include "engine/locations/LocationsProfile.h"
#include "gui/support/FakeWorkspace.h"
#include "support/FakeApplicationRemover.h"
#include "support/FakeBackends.h"
#include "support/TestTree.h"

#include <filesystem>
#include <memory>
#include <string>

class ScreenTestEnvironment {
public:
    // The screens' tests are written on the Mac's folders; a test of the Linux
    // desktop's folders passes tidvale::linuxProfile().
    explicit ScreenTestEnvironment(
        const tidvale::LocationsProfile& profile = tidvale::macProfile());
    ~ScreenTestEnvironment();
    ScreenTestEnvironment(const ScreenTestEnvironment&) = delete;
    ScreenTestEnvironment& operator=(const ScreenTestEnvironment&) = delete;

    TestTree tree;
    // "<tree>/home" and "<tree>/system": the process home and the root of the
    // machine-wide folders ("/Library/Caches" is "<tree>/system/Library/Caches").
    std::string home() const { return tree.path("home"); }
    std::string systemRoot() const { return tree.path("system"); }
    // Paths relative to the home folder / the machine root.
    std::string homePath(const std::string& rel) const { return home() + "/" + rel; }
    std::string inHome(const std::string& rel, size_t bytes) const
    {
        return tree.file("home/" + rel, bytes);
    }
    std::string inSystem(const std::string& rel, size_t bytes) const
    {
        return tree.file("system/" + rel, bytes);
    }
    // A file in the tree of `bytes` logical bytes that takes no room on the disk.
    std::string sparse(const std::string& rel, int64_t bytes) const
    {
        const std::string path = tree.file(rel, 0);
        std::filesystem::resize_file(path, static_cast<uintmax_t>(bytes));
        return path;
    }

    std::shared_ptr<FakeRunningApplications> running = std::make_shared<FakeRunningApplications>();
    std::shared_ptr<FakePrivilegedRunner> runner = std::make_shared<FakePrivilegedRunner>();
    std::shared_ptr<FakeTrash> trash;
    std::shared_ptr<FakeWorkspace> workspace = std::make_shared<FakeWorkspace>();
    // Stands in for PackageKit and flatpak: no test uninstalls from the machine.
    std::shared_ptr<FakeApplicationRemover> remover = std::make_shared<FakeApplicationRemover>();

private:
    tidvale::ScopedProfile profile_;
    ScopedEnv cacheHome_{"XDG_CACHE_HOME", nullptr};
    ScopedEnv configHome_{"XDG_CONFIG_HOME", nullptr};
    ScopedEnv dataHome_{"XDG_DATA_HOME", nullptr};
    ScopedEnv dataDirs_{"XDG_DATA_DIRS", nullptr};
    ScopedEnv configDirs_{"XDG_CONFIG_DIRS", nullptr};
    ScopedEnv desktop_{"XDG_CURRENT_DESKTOP", nullptr};
    std::string savedRoot_;
    ScopedHome scopedHome_;
    ScopedFakeBackends backends_;
    tidvale::platform::ScopedService<tidvale::platform::Workspace> scopedWorkspace_;
    tidvale::platform::ScopedService<tidvale::platform::ApplicationRemover> scopedRemover_;
};

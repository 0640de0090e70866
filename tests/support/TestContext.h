#pragma once

// A context on a temporary tree, built the way `main` builds one but with nothing of
// the machine in it: the home is "<tree>/home" (the real home too), the machine-wide
// folders lie under "<tree>/<root>", the environment holds only what the test sets, and
// every backend is a stand-in the test can read and steer. Two of them never share
// anything, so tests need not run one after the other.
#include "engine/context/Context.h"
#include "engine/setup/Profiles.h"

#include "support/FakeApplicationRemover.h"
#include "support/FakeBackends.h"
#include "support/FakeCommandRunner.h"
#include "support/FakeSystemStatistics.h"
#include "support/FakeWorkspace.h"
#include "support/TestPool.h"
#include "support/TestTree.h"

#include <ctime>
#include <memory>
#include <string>

class TestContext {
public:
    explicit TestContext(
        const tidvale::Places& places = tidvale::macPlaces(), const std::string& root = "sys")
    {
        context.places = places;
        context.folders.home = tree.dir("home");
        context.folders.realHome = context.folders.home;
        context.folders.systemRoot = tree.dir(root);
        // No notifier: what a scheduled clean says is tested on a private bus.
        context.backends
            = {running, trash, workspace, memory, volumes, runner, commands, remover, nullptr};
        context.pool = &testPool();
        context.clock = [] { return std::time(nullptr); };
        refreshPersonalFolders();
    }
    TestContext(const TestContext&) = delete;
    TestContext& operator=(const TestContext&) = delete;

    // Sets an environment variable of the context ("" as if unset); the personal
    // folders follow it, as they would at start.
    void setEnv(const std::string& name, const std::string& value)
    {
        context.environment.set(name, value);
        refreshPersonalFolders();
    }
    void refreshPersonalFolders()
    {
        context.folders.personal
            = context.places.personal->folders(context.folders.realHome, context.environment);
    }

    std::string home() const { return context.folders.home; }
    std::string systemRoot() const { return context.folders.systemRoot; }

    TestTree tree;
    std::shared_ptr<FakeRunningApplications> running = std::make_shared<FakeRunningApplications>();
    std::shared_ptr<FakeTrash> trash = std::make_shared<FakeTrash>(tree.dir("trash"));
    std::shared_ptr<FakeWorkspace> workspace = std::make_shared<FakeWorkspace>();
    std::shared_ptr<FakeMemoryStatistics> memory = std::make_shared<FakeMemoryStatistics>(8000);
    std::shared_ptr<FakeVolumeStatistics> volumes
        = std::make_shared<FakeVolumeStatistics>(std::nullopt);
    std::shared_ptr<FakePrivilegedRunner> runner = std::make_shared<FakePrivilegedRunner>();
    std::shared_ptr<FakeCommandRunner> commands = std::make_shared<FakeCommandRunner>();
    // Stands in for PackageKit and flatpak: no test uninstalls from the machine.
    std::shared_ptr<FakeApplicationRemover> remover = std::make_shared<FakeApplicationRemover>();
    tidvale::Context context;
};

#pragma once

// Everything a screen test needs around the screen: a context on a temporary home and
// machine root with stand-ins for every operating-system service (the Mac's places
// unless the test names another), and the services a screen is built on. One
// per test function.
#include "engine/junk/ScanService.h"
#include "engine/system/SystemInfoService.h"
#include "gui/jobs/RemovalLog.h"
#include "gui/tools/ScreenServices.h"
#include "support/TestContext.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

class ScreenTestEnvironment : public TestContext {
public:
    // The screens' tests are written on the Mac's folders; a test of the Linux
    // desktop's folders passes tidvale::linuxPlaces().
    explicit ScreenTestEnvironment(const tidvale::Places& places = tidvale::macPlaces())
        : TestContext(places, "system")
    {
    }
    // Work a screen left running reads the context: it ends before the tree goes.
    ~ScreenTestEnvironment();

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

    // The waits the system service was asked for (the memory measure's second), noted
    // instead of waited.
    std::vector<std::chrono::milliseconds> waits;
    tidvale::ScanService scan{context};
    tidvale::SystemInfoService info{
        context, {}, [this](std::chrono::milliseconds wait) { waits.push_back(wait); }};
    tidvale::gui::RemovalLog removals{context};
    tidvale::gui::ScreenServices services{context, scan, info, removals};
};

// The Linux application remover against stand-ins for its external programs: a
// flatpak script that records its arguments, and a PackageKit service on a private
// bus that records the D-Bus calls.
#ifdef __linux__

#include "platform/CommandRunner.h"
#include "platform/linux/LinuxApplicationRemover.h"

#include "support/FakePackageKit.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace tidvale::platform;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Writes each argument on its own line, says something and exits as told.
std::string standIn(TestTree& t, const std::string& name, const std::string& say, int status)
{
    const std::string path = t.text(name,
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"\n"
        "echo '"
            + say + "' >&2\nexit " + std::to_string(status) + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

const DebianPackage kVimCommon{"vim-common", "all", "2:9.0-2"};
const std::string kVimCommonId = "vim-common;2:9.0-2;all;auto:debian-stable-main";
const std::string kVimId = "vim;2:9.0-2;amd64;manual:debian-stable-main";

struct PackageKit : ::testing::Test {
    TestTree tree;
    PrivateBus bus{tree.root()};
    std::unique_ptr<FakePackageKit> service;

    void SetUp() override
    {
        if (bus.address().empty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        service = std::make_unique<FakePackageKit>(bus.address());
        ASSERT_TRUE(service->owned());
        service->installed = {kVimCommonId, kVimId, "other;1;amd64;installed"};
    }
};

} // namespace

TEST(FlatpakRemoval, RunsFlatpakWithAnArgumentVectorAndShowsItsFailure)
{
    TestTree t;
    const std::string ok = standIn(t, "ok/flatpak", "", 0);
    LinuxApplicationRemover remover({}, ok);
    EXPECT_FALSE(remover.flatpakRemovalUnavailable());
    EXPECT_TRUE(remover.removeFlatpak("org.example.Paint", true).ok);
    EXPECT_EQ(
        slurp(t.path("ok/args")), "uninstall\n--noninteractive\n--system\norg.example.Paint\n");
    EXPECT_TRUE(remover.removeFlatpak("org.example.Paint", false).ok);
    EXPECT_EQ(slurp(t.path("ok/args")), "uninstall\n--noninteractive\n--user\norg.example.Paint\n");

    const std::string failing = standIn(t, "bad/flatpak", "error: org.example.Paint is running", 1);
    const auto refused
        = LinuxApplicationRemover({}, failing).removeFlatpak("org.example.Paint", false);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "error: org.example.Paint is running");

    // An id that flatpak would take for an option never reaches it.
    EXPECT_FALSE(remover.removeFlatpak("--all", false).ok);
    EXPECT_FALSE(remover.removeFlatpak("a b;rm", false).ok);
    EXPECT_EQ(slurp(t.path("ok/args")), "uninstall\n--noninteractive\n--user\norg.example.Paint\n");
    EXPECT_TRUE(LinuxApplicationRemover({}, "tidvale-no-such-flatpak").flatpakRemovalUnavailable());
    EXPECT_EQ(
        LinuxApplicationRemover({}, "tidvale-no-such-flatpak").removeFlatpak("a.b", true).error,
        "No se encontró el programa «tidvale-no-such-flatpak».");
}

TEST(ProgramRunning, ArgumentsArriveAsGiven)
{
    TestTree t;
    const std::string echo = standIn(t, "echo-args", "", 3);
    const auto run = runCommand({echo, "two words", "quote ' \" and $HOME", "new\\nline"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(slurp(t.path("args")), "two words\nquote ' \" and $HOME\nnew\\nline\n");
    EXPECT_FALSE(runCommand({t.path("missing")}).started);
}

TEST_F(PackageKit, PreviewResolvesThenSimulatesAndNamesTheOthers)
{
    LinuxApplicationRemover remover(bus.address());
    EXPECT_FALSE(remover.packageRemovalUnavailable());
    service->simulatedRemoval = {kVimId, kVimCommonId};
    const auto preview = remover.previewPackageRemoval({kVimCommon});
    ASSERT_FALSE(preview.error) << *preview.error;
    EXPECT_EQ(preview.others, (std::vector<DebianPackage>{{"vim", "amd64", "2:9.0-2"}}));

    const auto calls = service->calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].method, "Resolve");
    EXPECT_EQ(calls[0].flags, 4u); // installed packages only
    EXPECT_EQ(calls[0].items, std::vector<std::string>{"vim-common"});
    EXPECT_EQ(calls[1].method, "RemovePackages");
    EXPECT_EQ(calls[1].flags, 4u); // simulate
    EXPECT_EQ(calls[1].items, std::vector<std::string>{kVimCommonId});
    EXPECT_TRUE(calls[1].allowDeps);
    const auto hints = service->hints();
    EXPECT_NE(std::find(hints.begin(), hints.end(), "interactive=true"), hints.end());

    const auto unknown = remover.previewPackageRemoval({{"ghost", "amd64", "1"}});
    ASSERT_TRUE(unknown.error);
    EXPECT_NE(unknown.error->find("ghost"), std::string::npos);
}

TEST_F(PackageKit, RemovalTakesExactlyWhatWasAgreedTo)
{
    LinuxApplicationRemover remover(bus.address());
    const DebianPackage vim{"vim", "amd64", "2:9.0-2"};
    service->simulatedRemoval = {kVimId, kVimCommonId};
    EXPECT_TRUE(remover.removePackages({kVimCommon, vim}).ok);
    auto calls = service->calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].flags, 4u); // checked again just before
    EXPECT_EQ(calls[2].method, "RemovePackages");
    EXPECT_EQ(calls[2].flags, 2u); // only trusted, not simulated
    EXPECT_EQ(calls[2].items, (std::vector<std::string>{kVimCommonId, kVimId}));
    EXPECT_FALSE(calls[2].allowDeps);

    // The system changed since the preview: it would now take one more package.
    const auto refused = remover.removePackages({kVimCommon});
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("«vim»"), std::string::npos);
    EXPECT_EQ(service->calls().size(), 5u); // resolved and simulated, never removed

    service->simulatedRemoval = {kVimCommonId, kVimId};
    service->removalError = "Failed to obtain authentication.";
    const auto denied = remover.removePackages({kVimCommon, vim});
    EXPECT_FALSE(denied.ok);
    EXPECT_EQ(denied.error, "Failed to obtain authentication.");
}

TEST_F(PackageKit, AServiceThatGoesAwayIsAFailureNotAHang)
{
    LinuxApplicationRemover remover(bus.address());
    service->simulatedRemoval = {kVimCommonId};
    service->vanishOnRemoval = true;
    const auto result = remover.removePackages({kVimCommon});
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
}

TEST(PackageKitMissing, TheReasonIsSaid)
{
    TestTree t;
    PrivateBus bus{t.root()};
    if (bus.address().empty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    EXPECT_EQ(LinuxApplicationRemover(bus.address()).packageRemovalUnavailable(),
        "El servicio PackageKit no está disponible (se instala con el paquete «packagekit»).");
    EXPECT_TRUE(LinuxApplicationRemover("unix:path=" + t.path("none")).packageRemovalUnavailable());
}

#endif

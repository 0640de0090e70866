// How the Disk screen names the home's volume on a Linux desktop, and the figures it
// takes from each profile.
#include "engine/fs/Homes.h"
#include "engine/locations/LocationsProfile.h"
#include "engine/locations/linux/VolumeName.h"
#include "engine/scan/ScanService.h"
#include "engine/system/SystemInfoService.h"

#include "support/FakeSystemStatistics.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace tidvale;
using namespace tidvale::linuxdesk;

TEST(VolumeName, TheMountOfTheDeviceThatHoldsThePath)
{
    const std::vector<MountEntry> mounts = {
        {"/", "ext4", "254:0", "/dev/vda1"}, {"/home", "ext4", "254:1", "/dev/vda2"},
        {"/mnt/bind", "ext4", "254:1", "/dev/vda2"},
        {"/home", "tmpfs", "0:50", "tmpfs"}, // mounted later over /home
    };
    EXPECT_EQ(mountHolding(mounts, "/home/ana", "254:1")->source, "/dev/vda2");
    EXPECT_EQ(mountHolding(mounts, "/home/ana", "")->source, "tmpfs"); // the one on top
    EXPECT_EQ(mountHolding(mounts, "/homework", "254:0")->mountPoint, "/");
    EXPECT_EQ(mountHolding(mounts, "/srv", "9:9")->mountPoint, "/"); // device unknown here
    EXPECT_FALSE(mountHolding({}, "/srv", ""));
}

TEST(VolumeName, LabelsAreTheByLabelLinksThatLeadToTheDevice)
{
    TestTree t;
    t.file("dev/vda2", 0);
    t.file("dev/dm-0", 0);
    t.link("dev/mapper/raiz", "../dm-0");
    t.link("dev/disk/by-label/Datos\\x20de\\x20Ana", "../../vda2");
    t.link("dev/disk/by-label/RAIZ", "../../dm-0");
    const std::string root = t.root();
    EXPECT_EQ(deviceLabel(root, "/dev/vda2"), "Datos de Ana");
    EXPECT_EQ(deviceLabel(root, "/dev/mapper/raiz"), "RAIZ"); // through the mapper's link
    EXPECT_FALSE(deviceLabel(root, "/dev/vda3"));
    EXPECT_FALSE(deviceLabel(root, "tmpfs"));
    EXPECT_FALSE(deviceLabel(t.path("nowhere"), "/dev/vda2"));

    // The name: the label, else the mount point, "/" reading "Sistema".
    const std::string home = t.dir("home/ana");
    const std::string homeMount = t.path("home");
    auto line = [](const std::string& point, const std::string& source) {
        return "30 1 7:7 / " + point + " rw - ext4 " + source + " rw\n";
    };
    EXPECT_EQ(homeVolumeName(root, home, line("/", "/dev/dm-0")), "RAIZ");
    EXPECT_EQ(homeVolumeName(root, home, line("/", "overlay")), "Sistema");
    EXPECT_EQ(homeVolumeName(root, home, line("/", "/dev/dm-0") + line(homeMount, "/dev/vda2")),
        "Datos de Ana");
    EXPECT_EQ(homeVolumeName(root, home, line("/", "/dev/dm-0") + line(homeMount, "/dev/sdz")),
        homeMount);
    EXPECT_EQ(homeVolumeName(root, home, ""), "Sistema");
}

TEST(VolumeName, EachProfileCountsTheVolumeItsOwnWay)
{
    TestTree t;
    ScopedHome home{t.dir("home")};
    // 1000 in all, 250 free for the user, 600 in use: 150 kept for the administrator.
    auto volume = std::make_shared<FakeVolumeStatistics>(platform::VolumeFigures{1000, 250, 600});
    platform::ScopedService<platform::VolumeStatistics> slot(volume);
    const auto service = SystemInfoService::create();
    {
        ScopedProfile mac{macProfile()};
        const DiskInfo d = service->getDiskInfo();
        EXPECT_EQ(volume->askedFor, t.path("home"));
        EXPECT_EQ(d.name, "Macintosh HD");
        EXPECT_EQ(d.used, 750);
        EXPECT_EQ(d.free, 250);
        volume->figures.reset();
        const DiskInfo none = service->getDiskInfo();
        EXPECT_EQ(none.total + none.used + none.free, 0);
        EXPECT_EQ(none.name, "Macintosh HD");
    }
    ScopedProfile desktop{linuxProfile()};
    volume->figures = platform::VolumeFigures{1000, 250, 600};
    const DiskInfo d = service->getDiskInfo();
    EXPECT_EQ(d.total, 1000);
    EXPECT_EQ(d.used, 600);
    EXPECT_EQ(d.free, 250);
    EXPECT_FALSE(d.name.empty());
    EXPECT_NE(d.name, "Macintosh HD");
}

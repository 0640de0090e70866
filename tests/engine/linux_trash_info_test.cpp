#include "engine/locations/linux/MountInfo.h"
#include "engine/locations/linux/TrashFolders.h"
#include "engine/locations/linux/TrashInfo.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tidvale::linuxdesk;

namespace {

std::string info(const std::string& pathLine)
{
    return "[Trash Info]\n" + pathLine + "\nDeletionDate=2024-03-01T10:00:00\n";
}

} // namespace

TEST(LinuxTrashInfo, DecodesTheOriginalNameOrRefusesAMalformedOne)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {info("Path=/home/ana/a%20b.txt"), "a b.txt"},
        {info("Path=/home/ana/caf%C3%A9.txt"), "café.txt"}, {info("Path=/home/ana/100%25"), "100%"},
        {info("Path=/home/ana/%c3%a9"), "é"},                 // lower-case hex
        {info("Path=docs/Informe%20final"), "Informe final"}, // relative, volume trash
        {info("Path=top"), "top"}, {info("Path=/home/ana/carpeta/"), "carpeta"},
        {info("Path = /home/ana/spaced"), "spaced"}, {"[Trash Info]\r\nPath=/x/crlf\r\n", "crlf"},
        {info("Path=/home/ana/q%22uo%5Cte"), "q\"uo\\te"},
        {info("Path=/home/ana/raw é"), "raw é"}, // unescaped, yet a valid name
        {info("Path=/home/ana/bad%G1"), std::nullopt}, {info("Path=/home/ana/cut%2"), std::nullopt},
        {info("Path=/home/ana/cut%"), std::nullopt}, {info("Path=/home/ana/nul%00x"), std::nullopt},
        {info("Path=/home/ana/%FF%FE"), std::nullopt}, // invalid UTF-8
        {info("Path=/home/ana/%C0%AF"), std::nullopt}, // overlong
        {info("Path=/home/ana/new%0Aline"), std::nullopt}, {info("Path=/"), std::nullopt},
        {info("Path=/home/ana/.."), std::nullopt}, {info("Path="), std::nullopt},
        {"Path=/home/ana/no-group\n", std::nullopt},
        {"[Desktop Entry]\nPath=/home/ana/other-group\n", std::nullopt},
        {"[Other]\nPath=/x/a\n[Trash Info]\nPath=/x/b\n", "b"},
        {"[Trash Info]\nDeletionDate=2024-03-01T10:00:00\n", std::nullopt}, {"", std::nullopt},
        {std::string("\0\xff[Trash Info", 13), std::nullopt}};
    for (const auto& [text, name] : cases)
        EXPECT_EQ(trashInfoName(text), name) << text;
}

TEST(LinuxTrashInfo, ReadsMountPointsWithTheirEscapes)
{
    const std::string text
        = "22 1 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n"
          "29 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
          "40 29 8:17 / /media/ana/USB\\040Stick rw master:3 shared:9 - vfat /dev/sdb1 rw\n"
          "41 29 8:18 / /mnt/odd\\012name\\134x rw - ext4 /dev/sdb2 rw\n"
          "garbage line\n"
          "42 29 8:19 / relative rw - ext4 /dev/sdb3 rw\n"
          "43 29 8:20 / /no/dash rw shared:1\n";
    const auto mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, "/proc");
    EXPECT_EQ(mounts[0].fsType, "proc");
    EXPECT_EQ(mounts[1].mountPoint, "/");
    EXPECT_EQ(mounts[2].mountPoint, "/media/ana/USB Stick");
    EXPECT_EQ(mounts[2].fsType, "vfat");
    EXPECT_EQ(mounts[3].mountPoint, "/mnt/odd\nname\\x");
}

TEST(LinuxTrashFolders, HomeTrashThenTheUsersVolumeTrashes)
{
    TestTree t;
    const uid_t me = ::getuid();
    const std::string id = std::to_string(me);
    EXPECT_EQ(homeTrashFolder("/home/ana", ""), "/home/ana/.local/share/Trash");
    EXPECT_EQ(homeTrashFolder("/home/ana", "relative/data"), "/home/ana/.local/share/Trash");
    EXPECT_EQ(homeTrashFolder("/home/ana", "/data/ana"), "/data/ana/Trash");

    t.dir("usb/.Trash-" + id + "/files");
    // A shared sticky .Trash holds a folder per user; both kinds are listed.
    t.dir("disk/.Trash/" + id);
    ::chmod(t.path("disk/.Trash").c_str(), 01777);
    t.dir("disk/.Trash-" + id);
    // Without the sticky bit anyone could swap the user's folder: not a trash.
    t.dir("nosticky/.Trash/" + id);
    // Links are never trashes, whatever they point at.
    t.dir("elsewhere/" + id);
    ::chmod(t.path("elsewhere").c_str(), 01777);
    t.link("linked/.Trash", t.path("elsewhere"));
    t.link("linked/.Trash-" + id, t.path("usb/.Trash-" + id));
    // A folder named for another user but owned by someone else is not theirs.
    const std::string other = std::to_string(me + 1);
    t.dir("shared/.Trash-" + other);
    t.dir("pseudo/.Trash-" + id);

    auto line = [](const std::string& point, const std::string& type) {
        return "50 29 8:1 / " + point + " rw - " + type + " src rw\n";
    };
    const std::string mountinfo = line(t.path("usb"), "vfat") + line(t.path("disk"), "ext4")
        + line(t.path("nosticky"), "ext4") + line(t.path("linked"), "ext4")
        + line(t.path("shared"), "ext4") + line(t.path("pseudo"), "proc")
        + line(t.path("usb"), "vfat") + line(t.path("missing"), "ext4");
    const std::vector<std::string> expected{t.path("home/.local/share/Trash"),
        t.path("usb/.Trash-" + id), t.path("disk/.Trash/" + id), t.path("disk/.Trash-" + id)};
    EXPECT_EQ(trashFolders(t.path("home"), "", mountinfo, me), expected);
    EXPECT_EQ(trashFolders(t.path("home"), "", mountinfo, me + 1),
        std::vector<std::string>{t.path("home/.local/share/Trash")});
}

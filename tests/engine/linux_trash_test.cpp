// The freedesktop Trash on a Linux desktop: where its folders are, what its info files
// say, and how an entry is listed and removed with both its halves.
#include "engine/fs/MountInfo.h"
#include "engine/junk/linux/DirectorySizes.h"
#include "engine/junk/linux/TrashEntries.h"
#include "engine/junk/linux/TrashFolders.h"
#include "engine/junk/linux/TrashInfo.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

std::string info(const std::string& pathLine)
{
    return "[Trash Info]\n" + pathLine + "\nDeletionDate=2024-03-01T10:00:00\n";
}

const std::string kTrash = "home/.local/share/Trash";

// A trashed entry as a trash client leaves it: the file (or a folder with a file
// inside, for an entry ending in "/") and its .trashinfo.
void trashed(const TestTree& t, std::string entry, const std::string& encodedPath,
    const std::string& trash = kTrash)
{
    const bool folder = entry.back() == '/';
    if (folder)
        entry.pop_back();
    t.file(trash + "/files/" + entry + (folder ? "/sub/x" : ""), 3);
    t.text(trash + "/info/" + entry + ".trashinfo", info("Path=" + encodedPath));
}

std::vector<std::pair<std::string, std::string>> sorted(const std::vector<JunkCandidate>& list)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& c : list)
        out.emplace_back(c.name, c.path);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(LinuxTrashInfo, DecodesTheOriginalNameOrRefusesAMalformedOne)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {info("Path=/home/ana/caf%C3%A9%20100%25"), "café 100%"},
        {info("Path=/home/ana/%c3%a9"), "é"},                 // lower-case hex
        {info("Path=docs/Informe%20final"), "Informe final"}, // relative, volume trash
        {info("Path=/home/ana/carpeta/"), "carpeta"}, {"[Trash Info]\r\nPath=/x/crlf\r\n", "crlf"},
        {info("Path=/home/ana/raw é"), "raw é"}, // unescaped, yet a valid name
        {info("Path=/home/ana/bad%G1"), std::nullopt}, {info("Path=/home/ana/cut%2"), std::nullopt},
        {info("Path=/home/ana/nul%00x"), std::nullopt},
        {info("Path=/home/ana/%FF%FE"), std::nullopt}, // invalid UTF-8
        {info("Path=/home/ana/%C0%AF"), std::nullopt}, // overlong
        {info("Path=/home/ana/new%0Aline"), std::nullopt}, {info("Path=/"), std::nullopt},
        {info("Path=/home/ana/.."), std::nullopt},
        {"[Desktop Entry]\nPath=/home/ana/other-group\n", std::nullopt},
        {"[Other]\nPath=/x/a\n[Trash Info]\nPath=/x/b\n", "b"},
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
    EXPECT_EQ(mounts[2].mountPoint + "|" + mounts[2].fsType, "/media/ana/USB Stick|vfat");
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

TEST(LinuxTrashEntries, ListsEachEntryUnderItsOriginalNameAndTheHalvesLeftAlone)
{
    TestTree t;
    const std::string trash = t.path(kTrash);
    trashed(t, "informe.pdf", "/home/ana/informe.pdf");
    trashed(t, "informe.2.pdf", "/home/ana/Documentos/informe.pdf"); // a second one
    trashed(t, "bad", "/home/ana/bad%zz");
    trashed(t, "new\nline", "/home/ana/new%0Aline");
    trashed(t, "nogroup", "/x");
    t.text(kTrash + "/info/nogroup.trashinfo", "Path=/home/ana/other\n");
    t.file(kTrash + "/files/.hidden-no-info", 1);
    t.text(kTrash + "/info/gone.trashinfo", "[Trash Info]\nPath=/home/ana/gone%21\n");
    t.text(kTrash + "/info/stray.txt", "not an entry");
    t.text(kTrash + "/directorysizes", "4096 1700000000 carpeta\n");
    t.file(kTrash + "/expunged/old", 1);
    ASSERT_EQ(::mkfifo(t.path(kTrash + "/info/fifo.trashinfo").c_str(), 0600), 0);
    t.file(kTrash + "/files/fifo", 1);
    t.file("big/inside/data", 1000);
    t.link(kTrash + "/files/enlace", t.path("big"));

    const auto f = [&](const std::string& n) { return trash + "/files/" + n; };
    EXPECT_EQ(sorted(listTrashEntries(trash)),
        sorted({{".hidden-no-info", f(".hidden-no-info")}, {"bad", f("bad")},
            {"enlace", f("enlace")}, {"fifo", f("fifo")}, // a FIFO for an info file is never read
            {"gone!", trash + "/info/gone.trashinfo"}, {"informe.pdf", f("informe.2.pdf")},
            {"informe.pdf", f("informe.pdf")}, {"new\nline", f("new\nline")},
            {"nogroup", f("nogroup")},
            // What an emptying cut short left behind is still on the disk.
            {"Restos de un vaciado interrumpido · old", trash + "/expunged/old"}}));
    // Orphan .trashinfo files come after the entries, so they never hide one.
    const auto listed = listTrashEntries(trash);
    EXPECT_EQ(listed[listed.size() - 2].path, trash + "/info/gone.trashinfo");
}

TEST(LinuxTrashEntries, RemovesBothHalvesAndOnlyTheirDirectorySizesLine)
{
    TestTree t;
    const std::string trash = t.path(kTrash), sizes = kTrash + "/directorysizes";
    trashed(t, "carpeta vieja/", "/home/ana/carpeta%20vieja");
    trashed(t, "otra", "/home/ana/otra");
    const std::string others = "8192 1700000001 otra\n"
                               "garbage without fields\n"
                               "1 2 bad%zz\n"
                               "4096 1700000002 carpeta%20nueva";
    t.text(sizes, "4096 1700000000 carpeta%20vieja\n" + others);
    ::chmod(t.path(sizes).c_str(), 0640);

    EXPECT_TRUE(removeTrashEntry(trash + "/files/carpeta vieja").ok());
    EXPECT_FALSE(t.exists(kTrash + "/files/carpeta vieja"));
    EXPECT_FALSE(t.exists(kTrash + "/info/carpeta vieja.trashinfo"));
    EXPECT_EQ(t.read(sizes), others);
    EXPECT_EQ(t.mode(sizes), 0640u);

    // The cache is replaced whole, never rewritten in place.
    struct stat st { };
    ASSERT_EQ(::stat(t.path(sizes).c_str(), &st), 0);
    const ino_t before = st.st_ino;
    EXPECT_TRUE(removeTrashEntry(trash + "/files/otra").ok());
    EXPECT_EQ(t.read(sizes), "garbage without fields\n1 2 bad%zz\n4096 1700000002 carpeta%20nueva");
    ASSERT_EQ(::stat(t.path(sizes).c_str(), &st), 0);
    EXPECT_NE(st.st_ino, before);

    // A cache that is a link is never rewritten through it.
    std::filesystem::remove(t.path(sizes));
    t.text("outside-cache", "1 2 enlazada\n");
    t.link(sizes, t.path("outside-cache"));
    trashed(t, "enlazada", "/home/ana/enlazada");
    EXPECT_TRUE(removeTrashEntry(trash + "/files/enlazada").ok());
    EXPECT_EQ(t.read("outside-cache"), "1 2 enlazada\n");
}

TEST(LinuxTrashEntries, RemovesOrphanHalvesAndLinksAsThemselvesAndKeepsWhatStays)
{
    TestTree t;
    const std::string trash = t.path(kTrash);
    t.text(kTrash + "/info/huérfano.trashinfo", "[Trash Info]\nPath=/h/x\n");
    t.file(kTrash + "/files/sin info", 5);
    t.file("big/data", 100000);
    t.link(kTrash + "/files/enlace", t.path("big"));
    t.text(kTrash + "/info/enlace.trashinfo", "[Trash Info]\nPath=/h/enlace\n");
    t.file(kTrash + "/files/odd\n\"name\\\xff", 1);
    t.text(kTrash + "/info/odd\n\"name\\\xff.trashinfo", "[Trash Info]\nPath=/h/o\n");
    for (const auto& c : listTrashEntries(trash))
        EXPECT_TRUE(removeTrashEntry(c.path).ok()) << c.path;
    EXPECT_TRUE(std::filesystem::is_empty(trash + "/files"));
    EXPECT_TRUE(std::filesystem::is_empty(trash + "/info"));
    EXPECT_TRUE(t.exists("big/data"));

    // Gone since it was listed: reported, nothing else touched.
    EXPECT_EQ(removeTrashEntry(trash + "/files/vanished").error, ENOENT);
    EXPECT_EQ(removeTrashEntry(trash + "/info/vanished.trashinfo").error, ENOENT);

    // An entry that cannot be removed keeps its info, and so stays listed.
    trashed(t, "carpeta/", "/h/carpeta");
    t.file(kTrash + "/files/carpeta/bloqueado/x", 1);
    t.protect(kTrash + "/files/carpeta/bloqueado");
    EXPECT_FALSE(removeTrashEntry(trash + "/files/carpeta").ok());
    EXPECT_TRUE(t.exists(kTrash + "/info/carpeta.trashinfo"));
    const auto listed = listTrashEntries(trash);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].path, trash + "/files/carpeta");
}

// Neither the listing nor a removal goes through a link, whether the trash itself or
// one of its halves is the link.
TEST(LinuxTrashEntries, RefusesWhatIsNotATrashEntryAndNeverGoesThroughALink)
{
    TestTree t;
    trashed(t, "a", "/h/a", "vol/.Trash-1000");
    trashed(t, "a", "/h/a", "vol/.Trash/1000");
    trashed(t, "a", "/h/a", "real/Trash");
    t.link("linked/Trash", t.path("real/Trash"));
    t.link("vol2/.Trash", t.path("vol/.Trash"));
    t.dir("half/Trash/info");
    t.link("half/Trash/files", t.path("real/Trash/files"));
    t.dir("halves/Trash");
    t.link("halves/Trash/files", t.path("real/Trash/files"));
    t.link("halves/Trash/info", t.path("real/Trash/info"));
    for (const char* trash : {"linked/Trash", "halves/Trash", "missing/Trash"})
        EXPECT_TRUE(listTrashEntries(t.path(trash)).empty()) << trash;
    const auto listed = listTrashEntries(t.path("real/Trash//"));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].path, t.path("real/Trash/files/a"));

    t.file("docs/files/a", 1);
    t.file("docs/Trash/other/a", 1);
    t.file("docs/.Trash-abc/files/a", 1);
    t.file("docs/1000/files/a", 1);
    for (const std::string rel : {"docs/files/a", "docs/Trash/other/a", "docs/.Trash-abc/files/a",
             "docs/1000/files/a", "real/Trash/files", "real/Trash/info/a",
             "real/Trash/files/../files/a", "real/Trash/files/a/", "real/Trash/info/.trashinfo",
             "linked/Trash/files/a", "half/Trash/files/a", "vol2/.Trash/1000/files/a"}) {
        EXPECT_EQ(removeTrashEntry(t.path(rel)).error, EINVAL) << rel;
    }
    EXPECT_EQ(removeTrashEntry("real/Trash/files/a").error, EINVAL);
    EXPECT_TRUE(t.exists("real/Trash/files/a"));
    EXPECT_TRUE(t.exists("real/Trash/info/a.trashinfo"));
    EXPECT_TRUE(t.exists("docs/files/a"));

    for (const std::string trash : {"vol/.Trash-1000", "vol/.Trash/1000", "real/Trash"}) {
        EXPECT_TRUE(removeTrashEntry(t.path(trash + "/files/a")).ok()) << trash;
        EXPECT_FALSE(t.exists(trash + "/info/a.trashinfo")) << trash;
    }
}

#include "engine/locations/linux/DirectorySizes.h"
#include "engine/locations/linux/TrashEntries.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

constexpr const char* kTrash = "home/.local/share/Trash";

// A trashed entry as a trash client leaves it: the file (or a folder with a file
// inside, for an entry ending in "/") and its .trashinfo.
void trashed(const TestTree& t, std::string entry, const std::string& encodedPath,
    const std::string& trash = kTrash)
{
    const bool folder = entry.back() == '/';
    if (folder)
        entry.pop_back();
    t.file(trash + "/files/" + entry + (folder ? "/sub/x" : ""), 3);
    t.text(trash + "/info/" + entry + ".trashinfo",
        "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=2024-03-01T10:00:00\n");
}

std::vector<std::pair<std::string, std::string>> sorted(const std::vector<JunkCandidate>& list)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& c : list)
        out.emplace_back(c.name, c.path);
    std::sort(out.begin(), out.end());
    return out;
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(LinuxTrashEntries, ListsEachEntryUnderItsOriginalNameAndTheHalvesLeftAlone)
{
    TestTree t;
    const std::string trash = t.path(kTrash);
    trashed(t, "informe.pdf", "/home/ana/informe.pdf");
    trashed(t, "informe.2.pdf", "/home/ana/Documentos/informe.pdf"); // a second one
    trashed(t, "caf\xc3\xa9 100%", "/home/ana/caf%C3%A9%20100%25");
    trashed(t, "bad", "/home/ana/bad%zz");
    trashed(t, "\xff\xfe", "/home/ana/%FF%FE");
    trashed(t, "new\nline", "/home/ana/new%0Aline");
    trashed(t, "q\"uo\\te", "/home/ana/q%22uo%5Cte");
    trashed(t, "nogroup", "/x");
    t.text(std::string(kTrash) + "/info/nogroup.trashinfo", "Path=/home/ana/other\n");
    t.file(std::string(kTrash) + "/files/.hidden-no-info", 1);
    t.text(std::string(kTrash) + "/info/gone.trashinfo", "[Trash Info]\nPath=/home/ana/gone%21\n");
    t.text(std::string(kTrash) + "/info/stray.txt", "not an entry");
    t.text(std::string(kTrash) + "/directorysizes", "4096 1700000000 carpeta\n");
    t.file(std::string(kTrash) + "/expunged/old", 1);
    ASSERT_EQ(::mkfifo(t.path(std::string(kTrash) + "/info/fifo.trashinfo").c_str(), 0600), 0);
    t.file(std::string(kTrash) + "/files/fifo", 1);
    t.dir("big/inside");
    t.file("big/inside/data", 1000);
    t.link(std::string(kTrash) + "/files/enlace", t.path("big"));

    const auto f = [&](const std::string& n) { return trash + "/files/" + n; };
    const std::vector<std::pair<std::string, std::string>> expected = sorted({
        {".hidden-no-info", f(".hidden-no-info")},
        {"\xff\xfe", f("\xff\xfe")},
        {"bad", f("bad")},
        {"caf\xc3\xa9 100%", f("caf\xc3\xa9 100%")},
        {"enlace", f("enlace")},
        {"fifo", f("fifo")}, // a FIFO for an info file is never waited on
        {"gone!", trash + "/info/gone.trashinfo"},
        {"informe.pdf", f("informe.2.pdf")},
        {"informe.pdf", f("informe.pdf")},
        {"new\nline", f("new\nline")},
        {"nogroup", f("nogroup")},
        {"q\"uo\\te", f("q\"uo\\te")},
    });
    EXPECT_EQ(sorted(listTrashEntries(trash)), expected);
    // Orphan .trashinfo files come after the entries, so they never hide one.
    EXPECT_EQ(listTrashEntries(trash).back().path, trash + "/info/gone.trashinfo");
}

TEST(LinuxTrashEntries, NeverListsThroughALink)
{
    TestTree t;
    trashed(t, "a", "/h/a", "real/Trash");
    t.link("linked/Trash", t.path("real/Trash"));
    EXPECT_TRUE(listTrashEntries(t.path("linked/Trash")).empty());
    t.dir("half/Trash");
    t.link("half/Trash/files", t.path("real/Trash/files"));
    t.link("half/Trash/info", t.path("real/Trash/info"));
    EXPECT_TRUE(listTrashEntries(t.path("half/Trash")).empty());
    EXPECT_TRUE(listTrashEntries(t.path("missing/Trash")).empty());
    const auto listed = listTrashEntries(t.path("real/Trash//"));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].path, t.path("real/Trash/files/a"));
}

TEST(LinuxTrashEntries, RemovesBothHalvesAndOnlyTheirDirectorySizesLine)
{
    TestTree t;
    const std::string trash = t.path(kTrash);
    trashed(t, "carpeta vieja/", "/home/ana/carpeta%20vieja");
    trashed(t, "otra", "/home/ana/otra");
    const std::string others = "8192 1700000001 otra\n"
                               "garbage without fields\n"
                               "1 2 bad%zz\n"
                               "4096 1700000002 carpeta%20nueva";
    t.text(std::string(kTrash) + "/directorysizes", "4096 1700000000 carpeta%20vieja\n" + others);
    ::chmod(t.path(std::string(kTrash) + "/directorysizes").c_str(), 0640);

    EXPECT_TRUE(removeTrashEntry(trash + "/files/carpeta vieja").ok());
    EXPECT_FALSE(t.exists(std::string(kTrash) + "/files/carpeta vieja"));
    EXPECT_FALSE(t.exists(std::string(kTrash) + "/info/carpeta vieja.trashinfo"));
    EXPECT_EQ(contents(trash + "/directorysizes"), others);
    struct stat st { };
    ASSERT_EQ(::stat((trash + "/directorysizes").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left beside the cache.
    EXPECT_EQ(listTrashEntries(trash).size(), 1u);
    std::vector<std::string> top;
    for (const auto& e : std::filesystem::directory_iterator(trash))
        top.push_back(e.path().filename());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"directorysizes", "files", "info"}));

    // A cache naming nothing removed is left untouched; a missing one is fine.
    const ino_t before = st.st_ino;
    EXPECT_TRUE(removeTrashEntry(trash + "/files/otra").ok());
    ASSERT_EQ(::stat((trash + "/directorysizes").c_str(), &st), 0);
    EXPECT_NE(st.st_ino, before); // "otra" had a line
    EXPECT_EQ(contents(trash + "/directorysizes"),
        "garbage without fields\n1 2 bad%zz\n4096 1700000002 carpeta%20nueva");
    EXPECT_EQ(dropDirectorySizesLine(trash, "nothing"), 0);
    ASSERT_EQ(::stat((trash + "/directorysizes").c_str(), &st), 0);
    std::filesystem::remove(trash + "/directorysizes");
    trashed(t, "sin cache", "/home/ana/sin%20cache");
    EXPECT_TRUE(removeTrashEntry(trash + "/files/sin cache").ok());
    EXPECT_FALSE(t.exists(std::string(kTrash) + "/directorysizes"));

    // A cache that is a link is never rewritten through it.
    t.text("outside-cache", "1 2 enlazada\n");
    t.link(std::string(kTrash) + "/directorysizes", t.path("outside-cache"));
    trashed(t, "enlazada", "/home/ana/enlazada");
    EXPECT_TRUE(removeTrashEntry(trash + "/files/enlazada").ok());
    EXPECT_EQ(contents(t.path("outside-cache")), "1 2 enlazada\n");
}

TEST(LinuxTrashEntries, RemovesOrphanHalvesAndLinksAsThemselves)
{
    TestTree t;
    const std::string trash = t.path(kTrash);
    t.text(std::string(kTrash) + "/info/huérfano.trashinfo", "[Trash Info]\nPath=/h/x\n");
    t.file(std::string(kTrash) + "/files/sin info", 5);
    t.file("big/data", 100000);
    t.link(std::string(kTrash) + "/files/enlace", t.path("big"));
    t.text(std::string(kTrash) + "/info/enlace.trashinfo", "[Trash Info]\nPath=/h/enlace\n");
    t.file(std::string(kTrash) + "/files/odd\n\"name\\\xff", 1);
    t.text(std::string(kTrash) + "/info/odd\n\"name\\\xff.trashinfo", "[Trash Info]\nPath=/h/o\n");

    for (const auto& c : listTrashEntries(trash))
        EXPECT_TRUE(removeTrashEntry(c.path).ok()) << c.path;
    EXPECT_TRUE(std::filesystem::is_empty(trash + "/files"));
    EXPECT_TRUE(std::filesystem::is_empty(trash + "/info"));
    EXPECT_TRUE(t.exists("big/data"));

    // Gone since it was listed: reported, nothing else touched.
    EXPECT_EQ(removeTrashEntry(trash + "/files/vanished").error, ENOENT);
    EXPECT_EQ(removeTrashEntry(trash + "/info/vanished.trashinfo").error, ENOENT);
}

TEST(LinuxTrashEntries, RefusesPathsThatAreNotTrashEntries)
{
    TestTree t;
    trashed(t, "a", "/h/a", "vol/.Trash-1000");
    trashed(t, "a", "/h/a", "vol/.Trash/1000");
    trashed(t, "a", "/h/a", "real/Trash");
    t.link("linked/Trash", t.path("real/Trash"));
    t.link("vol2/.Trash", t.path("vol/.Trash"));
    t.dir("half/Trash/info");
    t.link("half/Trash/files", t.path("real/Trash/files"));
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

TEST(LinuxTrashEntries, AnEntryThatCannotBeRemovedKeepsItsInfo)
{
    TestTree t;
    const std::string trash = t.path(kTrash);
    trashed(t, "carpeta/", "/h/carpeta");
    t.file(std::string(kTrash) + "/files/carpeta/bloqueado/x", 1);
    t.protect(std::string(kTrash) + "/files/carpeta/bloqueado");

    const RemoveOutcome out = removeTrashEntry(trash + "/files/carpeta");
    EXPECT_FALSE(out.ok());
    EXPECT_TRUE(t.exists(std::string(kTrash) + "/info/carpeta.trashinfo"));
    const auto listed = listTrashEntries(trash);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].path, trash + "/files/carpeta");
}

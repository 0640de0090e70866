#include "engine/locations/linux/DirectorySizes.h"
#include "engine/locations/linux/TrashEntries.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

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
        sorted({{".hidden-no-info", f(".hidden-no-info")}, {"\xff\xfe", f("\xff\xfe")},
            {"bad", f("bad")}, {"caf\xc3\xa9 100%", f("caf\xc3\xa9 100%")}, {"enlace", f("enlace")},
            {"fifo", f("fifo")}, // a FIFO for an info file is never waited on
            {"gone!", trash + "/info/gone.trashinfo"}, {"informe.pdf", f("informe.2.pdf")},
            {"informe.pdf", f("informe.pdf")}, {"new\nline", f("new\nline")},
            {"nogroup", f("nogroup")}, {"q\"uo\\te", f("q\"uo\\te")}}));
    // Orphan .trashinfo files come after the entries, so they never hide one.
    EXPECT_EQ(listTrashEntries(trash).back().path, trash + "/info/gone.trashinfo");
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
    // No temporary file is left beside the cache.
    std::vector<std::string> top;
    for (const auto& e : std::filesystem::directory_iterator(trash))
        top.push_back(e.path().filename());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"directorysizes", "files", "info"}));

    // The cache is replaced whole, never rewritten in place; a cache naming nothing
    // removed is left as it is, and a missing one is fine.
    struct stat st { };
    ASSERT_EQ(::stat(t.path(sizes).c_str(), &st), 0);
    const ino_t before = st.st_ino;
    EXPECT_TRUE(removeTrashEntry(trash + "/files/otra").ok());
    EXPECT_EQ(t.read(sizes), "garbage without fields\n1 2 bad%zz\n4096 1700000002 carpeta%20nueva");
    ASSERT_EQ(::stat(t.path(sizes).c_str(), &st), 0);
    EXPECT_NE(st.st_ino, before);
    EXPECT_EQ(dropDirectorySizesLine(trash, "nothing"), 0);
    std::filesystem::remove(t.path(sizes));
    trashed(t, "sin cache", "/home/ana/sin%20cache");
    EXPECT_TRUE(removeTrashEntry(trash + "/files/sin cache").ok());
    EXPECT_FALSE(t.exists(sizes));

    // A cache that is a link is never rewritten through it.
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

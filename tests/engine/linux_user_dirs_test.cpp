#include "engine/locations/linux/UserDirs.h"

#include "support/RunTool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace tidvale::linuxdesk;

namespace {

const std::string kSpanish = "# This file is written by xdg-user-dirs-update\n"
                             "# If you want to change or add directories, just edit the line\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n"
                             "XDG_DOWNLOAD_DIR=\"$HOME/Descargas\"\n"
                             "XDG_TEMPLATES_DIR=\"$HOME/Plantillas\"\n"
                             "XDG_PUBLICSHARE_DIR=\"$HOME/P\xc3\xba"
                             "blico\"\n"
                             "XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n"
                             "XDG_MUSIC_DIR=\"$HOME/M\xc3\xbasica\"\n"
                             "XDG_PICTURES_DIR=\"$HOME/Im\xc3\xa1genes\"\n"
                             "XDG_VIDEOS_DIR=\"$HOME/V\xc3\xad"
                             "deos\"\n";

std::vector<std::string> under(const std::string& home, const std::vector<std::string>& names)
{
    std::vector<std::string> out;
    for (const auto& n : names)
        out.push_back(home + "/" + n);
    return out;
}

} // namespace

TEST(LinuxUserDirs, ReadsTheDesktopsNamesAndDefaultsWhatIsMissing)
{
    TestTree t;
    const std::string home = t.dir("ana");
    const std::vector<std::string> english
        = under(home, {"Downloads", "Documents", "Desktop", "Pictures", "Videos", "Music"});
    EXPECT_EQ(personalFolders(home, "").inOrder(), english); // no file at all

    t.text("ana/.config/user-dirs.dirs", kSpanish);
    const PersonalFolders es = personalFolders(home + "/", "");
    EXPECT_EQ(es.downloads, home + "/Descargas");
    EXPECT_EQ(es.inOrder(),
        under(home,
            {"Descargas", "Documentos", "Escritorio", "Im\xc3\xa1genes",
                "V\xc3\xad"
                "deos",
                "M\xc3\xbasica"}));
    // XDG_CONFIG_HOME wins when absolute; a relative one is ignored.
    t.text("conf/user-dirs.dirs", "XDG_MUSIC_DIR=\"/srv/m\xc3\xbasica/\"\n");
    EXPECT_EQ(personalFolders(home, t.path("conf")).music, "/srv/m\xc3\xbasica");
    EXPECT_EQ(personalFolders(home, t.path("conf")).downloads, home + "/Downloads");
    EXPECT_EQ(personalFolders(home, "conf").downloads, home + "/Descargas");
    t.dir("folder-not-file/user-dirs.dirs");
    EXPECT_EQ(personalFolders(home, t.path("folder-not-file")).inOrder(), english);
}

TEST(LinuxUserDirs, ReadsValuesAsTheShellWouldAndRefusesOtherForms)
{
    const std::string h = "/home/ana";
    const std::pair<std::string, std::string> cases[]
        = {{"XDG_DOWNLOAD_DIR=\"$HOME/Mis \\\"Descargas\\\"\"", h + "/Mis \"Descargas\""},
            {"XDG_DOWNLOAD_DIR=\"$HOME/a\\\\b \\$x \\`c\\`\"", h + "/a\\b $x `c`"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/kept\\n\"", h + "/kept\\n"}, // not an escape in "…"
            {"XDG_DOWNLOAD_DIR=\"/srv/compartido/\"", "/srv/compartido"},
            {"  XDG_DOWNLOAD_DIR=\"$HOME/sangrado\"  # nota\r", h + "/sangrado"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/uno\"\nXDG_DOWNLOAD_DIR=\"$HOME/dos\"", h + "/dos"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/uno\"\nXDG_DOWNLOAD_DIR=\"$HOME\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME\"", h + "/Downloads"}, // disabled
            {"XDG_DOWNLOAD_DIR=\"$HOME/\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOMEWORK/x\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/$USER\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/`rm -rf x`\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"Descargas\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=$HOME/sin-comillas", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/sin cerrar", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/a\"basura", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"\"", h + "/Downloads"},
            {"# XDG_DOWNLOAD_DIR=\"$HOME/comentado\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR_OLD=\"$HOME/otra\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/\xff\xfe\"", h + "/\xff\xfe"},
            {std::string("XDG_DOWNLOAD_DIR=\"$HOME/a\0b\"", 28), h + "/Downloads"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseUserDirs(text, h).downloads, expected) << text;
    EXPECT_EQ(parseUserDirs("XDG_DOWNLOAD_DIR=\"$HOME/d\"", "/").downloads, "/d");
}

// xdg-user-dir sources the file with the shell, so it is the reference for how
// a value reads (it prints $HOME for a folder the file does not name, which is
// why only named folders are compared).
TEST(LinuxUserDirs, AgreesWithXdgUserDir)
{
    if (!hasTool("xdg-user-dir"))
        GTEST_SKIP() << "xdg-user-dir (xdg-user-dirs) is not installed";
    TestTree t;
    const std::string home = t.dir("ana");
    t.text("ana/.config/user-dirs.dirs",
        kSpanish
            + "XDG_DOCUMENTS_DIR=\"$HOME/Mis \\\"docs\\\" \\$HOME \\`x\\` caf\xc3\xa9\"\n"
              "XDG_MUSIC_DIR=\"/srv/m\xc3\xbasica compartida\"\n");
    const PersonalFolders mine = personalFolders(home, "");
    const std::pair<const char*, std::string> keys[]
        = {{"DOWNLOAD", mine.downloads}, {"DOCUMENTS", mine.documents}, {"DESKTOP", mine.desktop},
            {"PICTURES", mine.pictures}, {"VIDEOS", mine.videos}, {"MUSIC", mine.music}};
    for (const auto& [key, folder] : keys) {
        const ToolRun run = runTool({"xdg-user-dir", key}, {"HOME=" + home, "XDG_CONFIG_HOME"});
        EXPECT_EQ(run.out, folder + "\n") << key;
    }
}

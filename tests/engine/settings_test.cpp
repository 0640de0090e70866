// The settings file: what a user may write in it, what Tidvale writes, and that a
// damaged file or a link in its place is never overwritten.
#include "engine/browsers/SiteKeep.h"
#include "engine/desktop/SettingsLocation.h"
#include "engine/fs/OwnFiles.h"
#include "engine/settings/SettingsFile.h"
#include "engine/settings/UserSettings.h"

#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace tidvale;

namespace {

struct Damaged {
    const char* text;
    int line;
    const char* says;
};

} // namespace

TEST(SettingsFile, WritesEveryKeyKeepsUnknownOnesAndReadsThemBack)
{
    TestTree t;
    const std::string path = t.path("config/tidvale/tidvale.toml");
    const SettingsRead missing = readSettings(path);
    EXPECT_FALSE(missing.exists);
    EXPECT_FALSE(missing.damage);
    EXPECT_EQ(missing.values, Settings());

    Settings s;
    s.schedule = Schedule::monthly;
    s.scheduleAt = {23, 5};
    s.categories = {"Papelera", "Caché de Usuario"};
    s.trashMaxAgeDays = 30;
    s.keep = {"/home/ana/Proyectos \"viejos\"", "/srv/datos"};
    s.history = true;
    s.notify = false;
    ASSERT_FALSE(writeSettings(path, s));
    EXPECT_EQ(t.mode("config/tidvale"), 0700u);
    EXPECT_EQ(t.mode("config/tidvale/tidvale.toml"), 0600u);

    // A later version's key, and a table, survive a change made by this one.
    t.text("config/tidvale/tidvale.toml",
        t.read("config/tidvale/tidvale.toml") + "futura = 3\n[avanzado]\nhilos = 2\n");
    s.notify = true;
    ASSERT_FALSE(writeSettings(path, s));
    const SettingsRead back = readSettings(path);
    EXPECT_FALSE(back.damage);
    EXPECT_EQ(back.values, s);
    EXPECT_EQ(back.unknownKeys, (std::vector<std::string>{"avanzado", "futura"}));
    EXPECT_NE(t.read("config/tidvale/tidvale.toml").find("hilos = 2"), std::string::npos);
}

// Every kind of damage is told with its line, the defaults are used, and the file is
// replaced only when the user asks to start from the defaults.
TEST(SettingsFile, DamageIsToldWithItsLineAndNeverOverwritten)
{
    const Damaged cases[] = {
        {"schedule = \"daily\"\nnotify = tru\n", 2, "no es TOML válido"},
        {"\n\nschedule = \"hourly\"\n", 3, "«hourly» no es un valor de schedule"},
        {"schedule_at = \"24:00\"\n", 1, "schedule_at es una hora"},
        {"schedule_at = \"3:30\"\n", 1, "schedule_at es una hora"},
        {"categories = [\"Papelera\", \"Descargas\"]\n", 1, "categoría desconocida: «Descargas»"},
        {"categories = \"Papelera\"\n", 1, "categories debe ser una lista"},
        {"trash_max_age_days = -1\n", 1, "trash_max_age_days debe ser un número de días"},
        {"trash_max_age_days = 3.5\n", 1, "trash_max_age_days debe ser un número entero"},
        {"keep = [\"Documentos/x\"]\n", 1, "keep solo admite rutas absolutas"},
        {"keep = [\"/home/ana/../..\"]\n", 1, "keep no admite «..»"},
        {"keep_sites = [\"https://mail.example.org/\"]\n", 1, "keep_sites solo admite dominios"},
        {"history = \"true\"\n", 1, "history debe ser true o false"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TestTree t;
        const std::string path = t.text("tidvale.toml", c.text);
        const SettingsRead read = readSettings(path);
        ASSERT_TRUE(read.damage);
        EXPECT_EQ(read.damage->line, c.line);
        EXPECT_NE(read.damage->message.find(c.says), std::string::npos) << read.damage->message;
        EXPECT_EQ(read.values, Settings());
        EXPECT_TRUE(writeSettings(path, Settings()));
        EXPECT_EQ(t.read("tidvale.toml"), c.text);
        EXPECT_FALSE(writeSettings(path, Settings(), true));
        EXPECT_FALSE(readSettings(path).damage);
    }
}

// What a user types on the command line, one text per list item.
TEST(SettingsFile, ListsAndPathsAsTyped)
{
    Settings s;
    ASSERT_FALSE(setSetting(s, "keep", {"/home/ana/Fotos/", "/srv//"}));
    EXPECT_EQ(s.keep, (std::vector<std::string>{"/home/ana/Fotos", "/srv"}));
    ASSERT_FALSE(setSetting(s, "keep", {"[]"}));
    EXPECT_TRUE(s.keep.empty());
    // A site is matched as cookies name it: lowered, without a leading dot.
    ASSERT_FALSE(setSetting(s, "keep_sites", {"Mail.Example.ORG", ".example.net"}));
    EXPECT_EQ(s.keepSites, (std::vector<std::string>{"mail.example.org", "example.net"}));
    EXPECT_TRUE(isKeptHost(s.keepSites, ".mail.example.org"));
    EXPECT_TRUE(isKeptHost(s.keepSites, "www.example.net"));
    EXPECT_FALSE(isKeptHost(s.keepSites, "badexample.net"));
    ASSERT_FALSE(setSetting(s, "categories", {""}));
    EXPECT_TRUE(s.categories.empty());
    EXPECT_TRUE(setSetting(s, "schedule", {"daily", "weekly"}));
    EXPECT_TRUE(setSetting(s, "idioma", {"es"}));
    EXPECT_EQ(s.schedule, Schedule::off);
}

// Only the user's own folder, and never through a link: a link in the file's place
// (a dotfile kept elsewhere) is left as it is, and so is what it points to.
TEST(OwnFiles, NeverWritesThroughALinkNorInAnotherUsersFolder)
{
    TestTree t;
    t.text("elsewhere/dotfile.toml", "notify = false\n");
    t.dir("config/tidvale");
    t.link("config/tidvale/tidvale.toml", t.path("elsewhere/dotfile.toml"));
    EXPECT_TRUE(writeSettings(t.path("config/tidvale/tidvale.toml"), Settings()));
    EXPECT_EQ(t.read("elsewhere/dotfile.toml"), "notify = false\n");
    EXPECT_EQ(readSettings(t.path("config/tidvale/tidvale.toml")).values.notify, false);

    if (::geteuid() == 0) { // only root can give a folder away
        t.dir("shared");
        ASSERT_EQ(::chown(t.path("shared").c_str(), 65534, 65534), 0);
        EXPECT_TRUE(writeOwnFile(t.path("shared"), "x", "y"));
        EXPECT_FALSE(t.exists("shared/x"));
    }

    ASSERT_FALSE(removeOwnFile(t.path("config/tidvale"), "tidvale.toml"));
    EXPECT_FALSE(t.exists("config/tidvale/tidvale.toml"));
    EXPECT_TRUE(t.exists("elsewhere/dotfile.toml"));
    EXPECT_FALSE(removeOwnFile(t.path("nowhere"), "tidvale.toml"));
}

// Where the file lives: the config folder a variable names is a claim, checked like
// every such folder; the Mac's is fixed.
TEST(UserSettings, TheFileLivesInTheCheckedConfigFolder)
{
    TestContext t{linuxPlaces()};
    const std::string home = t.home();
    const struct {
        std::string xdgConfigHome;
        std::string path; // "" when refused
    } cases[] = {
        {"", home + "/.config/tidvale/tidvale.toml"},
        {"relativa", home + "/.config/tidvale/tidvale.toml"},
        {t.tree.dir("elsewhere"), t.tree.path("elsewhere") + "/tidvale/tidvale.toml"},
        {home, ""},
        {home + "/Documents", ""},
        {"/", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xdgConfigHome);
        t.setEnv("XDG_CONFIG_HOME", c.xdgConfigHome);
        const UserSettings user = userSettings(t.context, false);
        EXPECT_EQ(user.path, c.path);
        EXPECT_EQ(user.refusal.empty(), !c.path.empty()) << user.refusal;
    }
    EXPECT_EQ(userSettings(t.context, true).path,
        home + "/Library/Application Support/Tidvale/tidvale.toml");
}

// Reading and editing desktop entry files.
#include "engine/desktop/DesktopEntry.h"

#include <gtest/gtest.h>

using namespace tidvale::linuxdesk;

TEST(DesktopEntry, ReadsTheMainGroupAsTheRulesSay)
{
    const auto e = DesktopEntry::parse("# comment\r\n\n[Desktop Entry]\r\n"
                                       "Name = Notas\\sy tareas \r\n"
                                       "Name[es]=Notas\\\\y\\ntareas\n"
                                       "OnlyShowIn=GNOME;KDE\\;X;;XFCE\n"
                                       "Hidden=false\nHidden=True\n"
                                       "[Desktop Action nueva]\nName=Otra\nExec=otra\n");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->string("Name"), "Notas y tareas");
    EXPECT_EQ(e->localeString("Name", "es"), "Notas\\y\ntareas");
    EXPECT_EQ(e->localeString("Name", "fr"), "Notas y tareas");
    EXPECT_EQ(e->list("OnlyShowIn"), (std::vector<std::string>{"GNOME", "KDE;X", "XFCE"}));
    EXPECT_TRUE(e->boolean("Hidden")); // the last line of a key wins
    EXPECT_FALSE(e->has("Exec"));      // only the main group counts
    EXPECT_EQ(e->string("Missing"), "");

    for (const char* broken : {"Name=x\n[Desktop Entry]\n", "[Desktop Entry]\njust words\n",
             "[Desktop Entry]\n[Desktop Entry]\n", "[Other]\nName=x\n", "", "\xff\xfe\x00"}) {
        EXPECT_FALSE(DesktopEntry::parse(broken)) << broken;
    }
}

TEST(DesktopEntry, SettingAKeyKeepsEveryOtherLine)
{
    EXPECT_EQ(withDesktopEntryKey("# mine\n[Desktop Entry]\r\nHidden=false\nName=A\n Hidden = no\n"
                                  "[Desktop Action x]\nHidden=false\nHiddenX=1\n",
                  "Hidden", "true"),
        "# mine\n[Desktop Entry]\r\nHidden=true\nName=A\n[Desktop Action x]\nHidden=false\n"
        "HiddenX=1\n");
    // No line ending at the end, and no main group at all.
    EXPECT_EQ(
        withDesktopEntryKey("[Desktop Entry]", "Hidden", "true"), "[Desktop Entry]\nHidden=true\n");
    EXPECT_EQ(
        withDesktopEntryKey("Hidden=false\nName=x\n[Other]\nHidden=false\n", "Hidden", "true"),
        "[Desktop Entry]\nHidden=true\nName=x\n[Other]\nHidden=false\n");
    const auto e
        = DesktopEntry::parse(withDesktopEntryKey("[Desktop Entry]\nName=A", "Hidden", "true"));
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->boolean("Hidden"));
    EXPECT_EQ(e->string("Name"), "A");
}

// The notification a scheduled clean ends with, as a stand-in notification service on
// a private bus receives it.
#include "platform/Notifier.h"

#include "support/FakeNotifications.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace tidvale;

TEST(FreedesktopNotifier, SendsNotifyOnTheSessionBus)
{
    TestTree tree;
    PrivateBus bus{tree.root()};
    if (bus.address().empty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    const platform::Notification n{"Limpieza programada terminada", "Se liberaron 1,2 GB."};
    EXPECT_TRUE(platform::systemNotifier(bus.address(), "")->notify(n)); // nobody listens

    FakeNotifications service(bus.address());
    ASSERT_TRUE(service.owned());
    EXPECT_FALSE(platform::systemNotifier(bus.address(), "")->notify(n));
    // A service started by the user manager may have only the runtime folder's bus.
    tree.link("runtime/bus", tree.path("socket"));
    EXPECT_FALSE(platform::systemNotifier("", tree.path("runtime"))->notify(n));
    const auto shown = service.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].app, "Tidvale");
    EXPECT_EQ(shown[1].title, n.title);
    EXPECT_EQ(shown[1].body, n.body);
    EXPECT_EQ(shown[1].desktopEntry, "tidvale");
    EXPECT_TRUE(platform::systemNotifier("", tree.path("nothing"))->notify(n));
}

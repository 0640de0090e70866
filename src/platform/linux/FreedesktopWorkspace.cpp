#include "platform/Workspace.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace tidvale::platform {
namespace {

const char* const kFileManager = "org.freedesktop.FileManager1";

std::string parentFolder(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file URI built by GIO, which percent-escapes every byte that needs it, so names
// with spaces, quotes, newlines or invalid UTF-8 reach the file manager intact.
std::string fileUri(const std::string& path)
{
    GFile* file = g_file_new_for_path(path.c_str());
    char* uri = g_file_get_uri(file);
    std::string result = uri ? uri : "";
    g_free(uri);
    g_object_unref(file);
    return result;
}

bool launchDefault(const std::string& path)
{
    return g_app_info_launch_default_for_uri(fileUri(path).c_str(), nullptr, nullptr);
}

// The file manager's window on the holding folder is the answer whenever the desktop
// offers no better one; it never opens the item itself.
bool openContainingFolder(const std::string& path)
{
    return launchDefault(parentFolder(path));
}

// Whether a file manager answers on the bus now, or D-Bus can start one.
bool fileManagerOnBus(GDBusConnection* bus)
{
    auto ask = [bus](const char* method, GVariant* args, const char* reply) -> GVariant* {
        return g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus", method, args, G_VARIANT_TYPE(reply), G_DBUS_CALL_FLAGS_NONE,
            2000, nullptr, nullptr);
    };
    bool found = false;
    if (GVariant* owned = ask("NameHasOwner", g_variant_new("(s)", kFileManager), "(b)")) {
        gboolean has = FALSE;
        g_variant_get(owned, "(b)", &has);
        found = has;
        g_variant_unref(owned);
    }
    if (GVariant* names = found ? nullptr : ask("ListActivatableNames", nullptr, "(as)")) {
        GVariantIter* it = nullptr;
        const gchar* name = nullptr;
        g_variant_get(names, "(as)", &it);
        while (g_variant_iter_next(it, "&s", &name))
            found = found || std::string(name) == kFileManager;
        g_variant_iter_free(it);
        g_variant_unref(names);
    }
    return found;
}

// Sends one org.freedesktop.FileManager1 request. The call is asynchronous so a file
// manager that must first be started never blocks the window; when no file manager is
// on the bus, or it refuses, the containing folder is opened instead. Only what is
// known at once can be answered: with no file manager on the bus and no application
// for folders, the request is refused.
bool askFileManager(const char* method, const std::string& path)
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus)
        return openContainingFolder(path);
    if (!fileManagerOnBus(bus)) {
        g_object_unref(bus);
        return openContainingFolder(path);
    }
    GVariantBuilder uris;
    g_variant_builder_init(&uris, G_VARIANT_TYPE("as"));
    g_variant_builder_add(&uris, "s", fileUri(path).c_str());
    auto* fallback = new std::string(path);
    g_dbus_connection_call(
        bus, kFileManager, "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1", method,
        g_variant_new("(ass)", &uris, ""), nullptr, G_DBUS_CALL_FLAGS_NONE, 10000, nullptr,
        [](GObject* source, GAsyncResult* res, gpointer data) {
            auto* target = static_cast<std::string*>(data);
            GError* error = nullptr;
            GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), res, &error);
            if (reply)
                g_variant_unref(reply);
            if (error) {
                g_error_free(error);
                openContainingFolder(*target);
            }
            delete target;
        },
        fallback);
    g_object_unref(bus);
    return true;
}

class FreedesktopWorkspace final : public Workspace {
public:
    bool reveal(const std::string& path) override { return askFileManager("ShowItems", path); }

    bool showInformation(const std::string& path) override
    {
        return askFileManager("ShowItemProperties", path);
    }

    // Opening is asked for the item itself: showing its folder instead would answer a
    // different request, so a file with no application stays unopened.
    bool openWithDefaultApplication(const std::string& path) override
    {
        return launchDefault(path);
    }

    bool launchApplication(const std::string& path) override
    {
        const bool isDesktopEntry
            = path.size() > 8 && path.compare(path.size() - 8, 8, ".desktop") == 0;
        if (isDesktopEntry) {
            if (GDesktopAppInfo* app = g_desktop_app_info_new_from_filename(path.c_str())) {
                const gboolean ok = g_app_info_launch(G_APP_INFO(app), nullptr, nullptr, nullptr);
                g_object_unref(app);
                if (ok)
                    return true;
            }
        }
        return launchDefault(path) || openContainingFolder(path);
    }

    bool openFolder(const std::string& folder) override { return launchDefault(folder); }
};

} // namespace

std::shared_ptr<Workspace> systemWorkspace()
{
    return std::make_shared<FreedesktopWorkspace>();
}

} // namespace tidvale::platform

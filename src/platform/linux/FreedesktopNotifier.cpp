// Notifications through the freedesktop.org service (org.freedesktop.Notifications) on
// the session bus, which every Linux desktop provides.
#include "platform/Notifier.h"

#include <gio/gio.h>
#include <unistd.h>

namespace tidvale::platform {
namespace {

// A notification service that does not answer in this time never will; a scheduled
// clean must still end.
constexpr int kCallTimeoutMs = 10000;

std::string takeMessage(GError* error)
{
    std::string text = error && error->message ? error->message : "error desconocido";
    if (error)
        g_error_free(error);
    return text;
}

class FreedesktopNotifier final : public Notifier {
public:
    FreedesktopNotifier(std::string sessionBus, std::string runtimeFolder)
        : sessionBus_(std::move(sessionBus))
        , runtimeFolder_(std::move(runtimeFolder))
    {
    }

    std::optional<std::string> notify(const Notification& notification) override
    {
        std::string address = sessionBus_;
        // A systemd user service may lack the variable; its session bus is then the
        // socket in the runtime folder, where dbus-user-session puts it.
        if (address.empty() && !runtimeFolder_.empty()
            && ::access((runtimeFolder_ + "/bus").c_str(), F_OK) == 0)
            address = "unix:path=" + runtimeFolder_ + "/bus";
        if (address.empty())
            return "No hay bus de sesión al que enviar la notificación.";
        GError* error = nullptr;
        GDBusConnection* bus = g_dbus_connection_new_for_address_sync(address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        if (!bus)
            return "No se pudo conectar con el bus de sesión (" + takeMessage(error) + ").";
        GVariantBuilder hints;
        g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
        // Lets the desktop show the application's own name and icon.
        g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string("tidvale"));
        GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.Notifications",
            "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Notify",
            g_variant_new("(susssasa{sv}i)", "Tidvale", 0u, "tidvale", notification.title.c_str(),
                notification.body.c_str(), nullptr, &hints, -1),
            G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &error);
        std::optional<std::string> failure;
        if (reply)
            g_variant_unref(reply);
        else
            failure = "El servicio de notificaciones no respondió (" + takeMessage(error) + ").";
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
        g_object_unref(bus);
        return failure;
    }

private:
    std::string sessionBus_;
    std::string runtimeFolder_;
};

} // namespace

std::shared_ptr<Notifier> systemNotifier(
    const std::string& sessionBus, const std::string& runtimeFolder)
{
    return std::make_shared<FreedesktopNotifier>(sessionBus, runtimeFolder);
}

} // namespace tidvale::platform

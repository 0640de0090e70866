#pragma once

// A stand-in for the desktop's notification service (org.freedesktop.Notifications) on
// a private bus, served from a thread of its own. It records each Notify call.
#include "support/PrivateBus.h"

#include <gio/gio.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeNotifications {
public:
    struct Shown {
        std::string app, title, body, desktopEntry;
    };

    explicit FakeNotifications(const std::string& address)
    {
        std::promise<bool> owned;
        auto ready = owned.get_future();
        thread_ = std::thread([this, address, owned = std::move(owned)]() mutable {
            GMainContext* context = g_main_context_new();
            g_main_context_push_thread_default(context);
            loop_ = g_main_loop_new(context, FALSE);
            GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(
                "<node><interface name='org.freedesktop.Notifications'><method name='Notify'>"
                "<arg type='s'/><arg type='u'/><arg type='s'/><arg type='s'/><arg type='s'/>"
                "<arg type='as'/><arg type='a{sv}'/><arg type='i'/>"
                "<arg type='u' direction='out'/></method></interface></node>",
                nullptr);
            GDBusConnection* bus = g_dbus_connection_new_for_address_sync(address.c_str(),
                GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                    | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr);
            bool ok = bus
                && g_dbus_connection_register_object(bus, "/org/freedesktop/Notifications",
                    info->interfaces[0], &vtable_, this, nullptr, nullptr);
            GVariant* reply = ok
                ? g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                    "org.freedesktop.DBus", "RequestName",
                    g_variant_new("(su)", "org.freedesktop.Notifications", 4u),
                    G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr)
                : nullptr;
            guint32 answer = 0;
            if (reply) {
                g_variant_get(reply, "(u)", &answer);
                g_variant_unref(reply);
            }
            owned.set_value(answer == 1);
            g_main_loop_run(loop_);
            if (bus)
                g_object_unref(bus);
            g_dbus_node_info_unref(info);
            g_main_loop_unref(loop_);
            g_main_context_pop_thread_default(context);
            g_main_context_unref(context);
        });
        owned_ = ready.get();
    }
    ~FakeNotifications()
    {
        g_main_loop_quit(loop_);
        thread_.join();
    }
    bool owned() const { return owned_; }
    std::vector<Shown> shown()
    {
        std::lock_guard g(m_);
        return shown_;
    }

private:
    static void onCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
        GVariant* params, GDBusMethodInvocation* invocation, gpointer data)
    {
        auto* self = static_cast<FakeNotifications*>(data);
        const gchar *app = "", *title = "", *body = "", *entry = "";
        g_variant_get_child(params, 0, "&s", &app);
        g_variant_get_child(params, 3, "&s", &title);
        g_variant_get_child(params, 4, "&s", &body);
        GVariant* hints = g_variant_get_child_value(params, 6);
        g_variant_lookup(hints, "desktop-entry", "&s", &entry);
        {
            std::lock_guard g(self->m_);
            self->shown_.push_back({app, title, body, entry});
        }
        g_variant_unref(hints);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 7u));
    }

    std::thread thread_;
    std::mutex m_;
    bool owned_ = false;
    GMainLoop* loop_ = nullptr;
    GDBusInterfaceVTable vtable_{onCall, nullptr, nullptr, {}};
    std::vector<Shown> shown_;
};

#pragma once

// A stand-in for the desktop's notification service (org.freedesktop.Notifications) on
// a private bus. It records each Notify call as the client sent it.
#include "support/PrivateBus.h"

#include <gio/gio.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeNotifications {
public:
    struct Shown {
        std::string app;
        std::string icon;
        std::string title;
        std::string body;
        std::string desktopEntry; // the "desktop-entry" hint
    };

    explicit FakeNotifications(const std::string& address)
        : address_(address)
    {
        thread_ = std::thread([this] { run(); });
        std::unique_lock g(m_);
        ready_.wait(g, [this] { return started_; });
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
        const gchar *app = nullptr, *icon = nullptr, *title = nullptr, *body = nullptr;
        guint32 replaces = 0;
        gint32 timeout = 0;
        GVariantIter* actions = nullptr;
        GVariant* hints = nullptr;
        g_variant_get(params, "(&su&s&s&sas@a{sv}i)", &app, &replaces, &icon, &title, &body,
            &actions, &hints, &timeout);
        const gchar* entry = "";
        g_variant_lookup(hints, "desktop-entry", "&s", &entry);
        {
            std::lock_guard g(self->m_);
            self->shown_.push_back({app, icon, title, body, entry});
        }
        g_variant_iter_free(actions);
        g_variant_unref(hints);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 7u));
    }

    void run()
    {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        loop_ = g_main_loop_new(context, FALSE);
        info_ = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.freedesktop.Notifications'><method name='Notify'>"
            "<arg type='s' direction='in'/><arg type='u' direction='in'/>"
            "<arg type='s' direction='in'/><arg type='s' direction='in'/>"
            "<arg type='s' direction='in'/><arg type='as' direction='in'/>"
            "<arg type='a{sv}' direction='in'/><arg type='i' direction='in'/>"
            "<arg type='u' direction='out'/></method></interface></node>",
            nullptr);
        bus_ = g_dbus_connection_new_for_address_sync(address_.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        if (bus_) {
            g_dbus_connection_register_object(bus_, "/org/freedesktop/Notifications",
                info_->interfaces[0], &vtable_, this, nullptr, nullptr);
            GVariant* reply = g_dbus_connection_call_sync(bus_, "org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                g_variant_new("(su)", "org.freedesktop.Notifications", 4u), G_VARIANT_TYPE("(u)"),
                G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
            if (reply) {
                guint32 answer = 0;
                g_variant_get(reply, "(u)", &answer);
                owned_ = answer == 1;
                g_variant_unref(reply);
            }
        }
        {
            std::lock_guard g(m_);
            started_ = true;
        }
        ready_.notify_all();
        g_main_loop_run(loop_);
        if (bus_)
            g_object_unref(bus_);
        g_dbus_node_info_unref(info_);
        g_main_loop_unref(loop_);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    std::string address_;
    std::thread thread_;
    std::mutex m_;
    std::condition_variable ready_;
    bool started_ = false;
    bool owned_ = false;
    GMainLoop* loop_ = nullptr;
    GDBusConnection* bus_ = nullptr;
    GDBusNodeInfo* info_ = nullptr;
    GDBusInterfaceVTable vtable_{onCall, nullptr, nullptr, {}};
    std::vector<Shown> shown_;
};

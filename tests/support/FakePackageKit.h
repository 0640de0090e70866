#pragma once

// A stand-in for the PackageKit service on a private bus, answering as the real one
// does: a transaction object per CreateTransaction, results as Package signals, then
// Finished and Destroy. It records every call so a test can check the arguments the
// client sent.
#include "support/PrivateBus.h"

#include <gio/gio.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakePackageKit {
public:
    // Resolve answers with these ids (name;version;arch;data) for the names asked.
    std::vector<std::string> installed;
    // A simulated removal answers with these ids as being removed.
    std::vector<std::string> simulatedRemoval;
    // Sent as ErrorCode before Finished(failed) by a real (not simulated) removal.
    std::string removalError;
    // The real removal ends the service mid-transaction, without Finished.
    bool vanishOnRemoval = false;

    explicit FakePackageKit(const std::string& address)
        : address_(address)
    {
        thread_ = std::thread([this] { run(); });
        std::unique_lock g(m_);
        ready_.wait(g, [this] { return started_; });
    }
    ~FakePackageKit()
    {
        g_main_loop_quit(loop_);
        thread_.join();
    }
    bool owned() const { return owned_; }

    // Each call as "Method flags item..." with " deps" when dependencies may go too.
    std::vector<std::string> callTexts()
    {
        std::lock_guard g(m_);
        return calls_;
    }

private:
    static std::vector<std::string> strings(GVariant* array)
    {
        std::vector<std::string> out;
        GVariantIter it;
        const gchar* s = nullptr;
        g_variant_iter_init(&it, array);
        while (g_variant_iter_next(&it, "&s", &s))
            out.push_back(s);
        return out;
    }

    void emit(const std::string& path, const char* signal, GVariant* params)
    {
        g_dbus_connection_emit_signal(bus_, nullptr, path.c_str(),
            "org.freedesktop.PackageKit.Transaction", signal, params, nullptr);
    }

    void finish(const std::string& path, const std::vector<std::string>& ids, guint32 info,
        const std::string& error)
    {
        for (const auto& id : ids)
            emit(path, "Package", g_variant_new("(uss)", info, id.c_str(), "summary"));
        if (!error.empty())
            emit(path, "ErrorCode", g_variant_new("(us)", 4u, error.c_str()));
        emit(path, "Finished", g_variant_new("(uu)", error.empty() ? 1u : 2u, 10u));
        emit(path, "Destroy", nullptr);
    }

    void transactionCall(const std::string& path, const std::string& method, GVariant* params,
        GDBusMethodInvocation* invocation)
    {
        if (method == "SetHints") {
            g_dbus_method_invocation_return_value(invocation, nullptr);
            return;
        }
        guint64 flags = 0;
        g_variant_get_child(params, 0, "t", &flags);
        GVariant* list = g_variant_get_child_value(params, 1);
        const std::vector<std::string> items = strings(list);
        g_variant_unref(list);
        std::string text = method + " " + std::to_string(flags);
        for (const auto& item : items)
            text += " " + item;
        gboolean deps = FALSE;
        if (method == "RemovePackages")
            g_variant_get_child(params, 2, "b", &deps);
        {
            std::lock_guard g(m_);
            calls_.push_back(text + (deps ? " deps" : ""));
        }
        g_dbus_method_invocation_return_value(invocation, nullptr);
        if (method == "Resolve") {
            std::vector<std::string> found;
            for (const auto& id : installed)
                for (const auto& name : items)
                    if (id.starts_with(name + ";"))
                        found.push_back(id);
            finish(path, found, 1u, "");
        } else if (flags & 4u) {
            finish(path, simulatedRemoval, 13u, "");
        } else if (vanishOnRemoval) {
            g_dbus_connection_close_sync(bus_, nullptr, nullptr);
        } else {
            finish(
                path, removalError.empty() ? items : std::vector<std::string>{}, 13u, removalError);
        }
    }

    static void onCall(GDBusConnection*, const gchar*, const gchar* path, const gchar* interface,
        const gchar* method, GVariant* params, GDBusMethodInvocation* invocation, gpointer data)
    {
        auto* self = static_cast<FakePackageKit*>(data);
        if (std::string(interface) == "org.freedesktop.PackageKit") {
            const std::string tid = "/" + std::to_string(++self->transactions_) + "_fake";
            GError* error = nullptr;
            g_dbus_connection_register_object(self->bus_, tid.c_str(), self->info_->interfaces[1],
                &self->vtable_, self, nullptr, &error);
            if (error)
                g_error_free(error);
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", tid.c_str()));
            return;
        }
        self->transactionCall(path, method, params, invocation);
    }

    void run()
    {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        loop_ = g_main_loop_new(context, FALSE);
        info_ = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.freedesktop.PackageKit'>"
            "<method name='CreateTransaction'><arg type='o' direction='out'/></method>"
            "</interface><interface name='org.freedesktop.PackageKit.Transaction'>"
            "<method name='SetHints'><arg type='as' direction='in'/></method>"
            "<method name='Resolve'><arg type='t' direction='in'/><arg type='as' "
            "direction='in'/></method>"
            "<method name='RemovePackages'><arg type='t' direction='in'/><arg type='as' "
            "direction='in'/><arg type='b' direction='in'/><arg type='b' direction='in'/>"
            "</method></interface></node>",
            nullptr);
        bus_ = g_dbus_connection_new_for_address_sync(address_.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        if (bus_) {
            g_dbus_connection_register_object(bus_, "/org/freedesktop/PackageKit",
                info_->interfaces[0], &vtable_, this, nullptr, nullptr);
            GVariant* reply = g_dbus_connection_call_sync(bus_, "org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                g_variant_new("(su)", "org.freedesktop.PackageKit", 4u), G_VARIANT_TYPE("(u)"),
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
    int transactions_ = 0;
    std::vector<std::string> calls_;
};

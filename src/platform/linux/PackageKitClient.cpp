#include "platform/linux/PackageKitClient.h"

#include <gio/gio.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tidvale::platform {
namespace {

constexpr const char* kService = "org.freedesktop.PackageKit";
constexpr const char* kPath = "/org/freedesktop/PackageKit";
constexpr const char* kTransaction = "org.freedesktop.PackageKit.Transaction";
constexpr uint32_t kExitSuccess = 1;
constexpr uint32_t kExitCancelled = 3;
// A removal waits on the password dialog; nobody is expected to leave it open longer.
constexpr unsigned kTransactionLimitSeconds = 30 * 60;
constexpr int kCallTimeoutMs = 60 * 1000;
const std::string kNoBus
    = "El servicio PackageKit no está disponible: no se pudo conectar con el bus del sistema (";

std::string takeError(GError* error)
{
    std::string text = error && error->message ? error->message : "error desconocido";
    if (error)
        g_error_free(error);
    return text;
}

// A connection of its own with signals delivered to a main context of its own, pushed
// on this thread for the life of the object.
class Session {
public:
    explicit Session(const std::string& address)
        : context_(g_main_context_new())
    {
        g_main_context_push_thread_default(context_);
        GError* error = nullptr;
        gchar* systemAddress = nullptr;
        if (address.empty()) {
            systemAddress = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
            if (!systemAddress) {
                error_ = kNoBus + takeError(error) + ").";
                return;
            }
        }
        bus_ = g_dbus_connection_new_for_address_sync(
            systemAddress ? systemAddress : address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        g_free(systemAddress);
        if (!bus_)
            error_ = kNoBus + takeError(error) + ").";
    }
    ~Session()
    {
        if (bus_) {
            g_dbus_connection_close_sync(bus_, nullptr, nullptr);
            g_object_unref(bus_);
        }
        // Callbacks still queued for this context refer to the finished transaction.
        while (g_main_context_iteration(context_, FALSE)) { }
        g_main_context_pop_thread_default(context_);
        g_main_context_unref(context_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    GDBusConnection* bus() const { return bus_; }
    GMainContext* context() const { return context_; }
    const std::optional<std::string>& error() const { return error_; }

    // A synchronous call; the reply, or the error text in `error`.
    GVariant* call(const char* path, const char* interface, const char* method, GVariant* args,
        const char* replyType, std::string& error, const char* destination = kService) const
    {
        GError* e = nullptr;
        GVariant* reply = g_dbus_connection_call_sync(bus_, destination, path, interface, method,
            args, replyType ? G_VARIANT_TYPE(replyType) : nullptr, G_DBUS_CALL_FLAGS_NONE,
            kCallTimeoutMs, nullptr, &e);
        if (!reply) {
            if (e)
                g_dbus_error_strip_remote_error(e);
            error = takeError(e);
        }
        return reply;
    }
    // The same for a method that answers one string or object path; nothing on failure.
    std::optional<std::string> callForText(const char* path, const char* interface,
        const char* method, GVariant* args, const char* replyType, std::string& error,
        const char* destination = kService) const
    {
        GVariant* reply = call(path, interface, method, args, replyType, error, destination);
        if (!reply)
            return std::nullopt;
        GVariant* text = g_variant_get_child_value(reply, 0);
        std::string value = g_variant_get_string(text, nullptr);
        g_variant_unref(text);
        g_variant_unref(reply);
        return value;
    }

private:
    GMainContext* context_;
    GDBusConnection* bus_ = nullptr;
    std::optional<std::string> error_;
};

// What the signals of one transaction said.
struct Watch {
    PackageKitClient::Outcome outcome;
    std::optional<std::string> errorText;
    std::optional<uint32_t> exit;
    bool done = false;
};

void addPackage(Watch& w, GVariant* entry)
{
    guint32 info = 0;
    const gchar* id = nullptr;
    const gchar* summary = nullptr;
    g_variant_get(entry, "(u&s&s)", &info, &id, &summary);
    w.outcome.packages.push_back({info, id});
}

void onSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
    GVariant* params, gpointer data)
{
    auto& w = *static_cast<Watch*>(data);
    const std::string signal = name;
    if (signal == "Package" && g_variant_is_of_type(params, G_VARIANT_TYPE("(uss)"))) {
        addPackage(w, params);
    } else if (signal == "Packages" && g_variant_is_of_type(params, G_VARIANT_TYPE("(a(uss))"))) {
        GVariant* list = g_variant_get_child_value(params, 0);
        for (gsize i = 0; i < g_variant_n_children(list); ++i) {
            GVariant* entry = g_variant_get_child_value(list, i);
            addPackage(w, entry);
            g_variant_unref(entry);
        }
        g_variant_unref(list);
    } else if (signal == "ErrorCode" && g_variant_is_of_type(params, G_VARIANT_TYPE("(us)"))) {
        guint32 code = 0;
        const gchar* details = nullptr;
        g_variant_get(params, "(u&s)", &code, &details);
        if (!w.errorText) // the first error is the cause; later ones follow from it
            w.errorText = details && *details
                ? std::string(details)
                : "PackageKit informó el error " + std::to_string(code) + ".";
    } else if (signal == "Finished" && g_variant_is_of_type(params, G_VARIANT_TYPE("(uu)"))) {
        guint32 exit = 0;
        guint32 runtime = 0;
        g_variant_get(params, "(uu)", &exit, &runtime);
        w.exit = exit;
        w.done = true;
    } else if (signal == "Destroy") {
        w.done = true;
    }
}

GVariant* stringArray(const std::vector<std::string>& items)
{
    GVariantBuilder b;
    g_variant_builder_init(&b, G_VARIANT_TYPE("as"));
    for (const auto& s : items)
        g_variant_builder_add(&b, "s", s.c_str());
    return g_variant_builder_end(&b);
}

// Creates a transaction, lets `start` call its method, and waits for it to finish,
// collecting what its signals say. The signals are taken only from the service's own
// connection, so no other program on the bus can answer for it.
template <class Start>
PackageKitClient::Outcome runTransaction(
    const std::string& address, const std::string& locale, Start start)
{
    PackageKitClient::Outcome failed;
    Session session(address);
    if (session.error()) {
        failed.error = session.error();
        return failed;
    }
    std::string error;
    const auto created = session.callForText(
        kPath, "org.freedesktop.PackageKit", "CreateTransaction", nullptr, "(o)", error);
    if (!created) {
        failed.error = "PackageKit no pudo empezar la operación: " + error;
        return failed;
    }
    const std::string path = *created;

    const auto owner = session.callForText("/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetNameOwner", g_variant_new("(s)", kService), "(s)", error, "org.freedesktop.DBus");
    if (!owner) {
        failed.error = "El servicio PackageKit no está disponible: " + error;
        return failed;
    }
    const std::string sender = *owner;

    Watch watch;
    const guint subscription
        = g_dbus_connection_signal_subscribe(session.bus(), sender.c_str(), kTransaction, nullptr,
            path.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE, onSignal, &watch, nullptr);
    bool vanished = false;
    const guint nameWatch = g_bus_watch_name_on_connection(
        session.bus(), kService, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
        [](GDBusConnection*, const gchar*, gpointer data) { *static_cast<bool*>(data) = true; },
        &vanished, nullptr);
    bool timedOut = false;
    GSource* timeout = g_timeout_source_new_seconds(kTransactionLimitSeconds);
    g_source_set_callback(
        timeout,
        [](gpointer data) {
            *static_cast<bool*>(data) = true;
            return G_SOURCE_REMOVE;
        },
        &timedOut, nullptr);
    g_source_attach(timeout, session.context());

    std::vector<std::string> hints{"interactive=true", "background=false"};
    if (!locale.empty())
        hints.push_back("locale=" + locale);
    GVariant* hinted = session.call(path.c_str(), kTransaction, "SetHints",
        g_variant_new("(@as)", stringArray(hints)), nullptr, error);
    if (hinted)
        g_variant_unref(hinted); // an older service without a hint still works

    std::optional<std::string> startError;
    if (GVariant* started = start(session, path, error))
        g_variant_unref(started);
    else
        startError = "PackageKit rechazó la operación: " + error;

    while (!startError && !watch.done && !vanished && !timedOut)
        g_main_context_iteration(session.context(), TRUE);

    g_source_destroy(timeout);
    g_source_unref(timeout);
    g_bus_unwatch_name(nameWatch);
    g_dbus_connection_signal_unsubscribe(session.bus(), subscription);

    PackageKitClient::Outcome outcome = std::move(watch.outcome);
    if (startError)
        outcome.error = startError;
    else if (watch.exit == kExitSuccess)
        return outcome;
    else if (watch.errorText)
        outcome.error = watch.errorText;
    else if (watch.exit == kExitCancelled)
        outcome.error = "Se canceló la operación.";
    else if (vanished)
        outcome.error = "El servicio PackageKit terminó antes de completar la operación.";
    else if (timedOut)
        outcome.error = "PackageKit no terminó la operación a tiempo.";
    else
        outcome.error = "PackageKit no pudo completar la operación.";
    return outcome;
}

} // namespace

PackageKitClient::PackageKitClient(std::string busAddress, std::string locale)
    : busAddress_(std::move(busAddress))
    , locale_(std::move(locale))
{
}

std::optional<std::string> PackageKitClient::unavailable() const
{
    Session session(busAddress_);
    if (session.error())
        return session.error();
    std::string error;
    GVariant* names = session.call("/org/freedesktop/DBus", "org.freedesktop.DBus",
        "ListActivatableNames", nullptr, "(as)", error, "org.freedesktop.DBus");
    bool found = false;
    if (names) {
        GVariantIter* it = nullptr;
        const gchar* name = nullptr;
        g_variant_get(names, "(as)", &it);
        while (g_variant_iter_next(it, "&s", &name))
            found = found || std::string(name) == kService;
        g_variant_iter_free(it);
        g_variant_unref(names);
    }
    if (!found) {
        GVariant* owned = session.call("/org/freedesktop/DBus", "org.freedesktop.DBus",
            "NameHasOwner", g_variant_new("(s)", kService), "(b)", error, "org.freedesktop.DBus");
        if (owned) {
            gboolean has = FALSE;
            g_variant_get(owned, "(b)", &has);
            found = has;
            g_variant_unref(owned);
        }
    }
    if (found)
        return std::nullopt;
    return std::string(
        "El servicio PackageKit no está disponible (se instala con el paquete «packagekit»).");
}

PackageKitClient::Outcome PackageKitClient::resolveInstalled(
    const std::vector<std::string>& names) const
{
    return runTransaction(
        busAddress_, locale_, [&](const Session& s, const std::string& path, std::string& error) {
            return s.call(path.c_str(), kTransaction, "Resolve",
                g_variant_new("(t@as)", guint64(kFilterInstalled), stringArray(names)), nullptr,
                error);
        });
}

PackageKitClient::Outcome PackageKitClient::removePackages(
    uint64_t flags, const std::vector<std::string>& ids, bool allowDeps) const
{
    return runTransaction(
        busAddress_, locale_, [&](const Session& s, const std::string& path, std::string& error) {
            return s.call(path.c_str(), kTransaction, "RemovePackages",
                g_variant_new(
                    "(t@asbb)", guint64(flags), stringArray(ids), gboolean(allowDeps), FALSE),
                nullptr, error);
        });
}

std::optional<PackageIdParts> splitPackageId(const std::string& id)
{
    PackageIdParts parts;
    std::string* fields[] = {&parts.name, &parts.version, &parts.arch, &parts.data};
    size_t start = 0;
    for (size_t i = 0; i < 4; ++i) {
        const size_t end = id.find(';', start);
        if ((end == std::string::npos) != (i == 3))
            return std::nullopt;
        *fields[i] = id.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end + 1;
    }
    if (parts.name.empty())
        return std::nullopt;
    return parts;
}

} // namespace tidvale::platform

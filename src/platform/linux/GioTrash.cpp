#include "platform/Trash.h"

#include <gio/gio.h>

namespace tidvale::platform {
namespace {

// GIO implements the freedesktop.org Trash standard with the checks the
// standard asks for (escaped Path= lines, a sticky and non-linked .Trash on
// other volumes, a .Trash-$uid owned by the user) and fails instead of guessing.
class GioTrash final : public Trash {
public:
    TrashResult moveToTrash(const std::string& path) override
    {
        GFile* file = g_file_new_for_path(path.c_str());
        GError* error = nullptr;
        const gboolean ok = g_file_trash(file, nullptr, &error);
        g_object_unref(file);
        TrashResult result;
        result.ok = ok;
        if (!ok) {
            result.error
                = error && error->message ? error->message : "No se pudo mover a la Papelera.";
        }
        if (error)
            g_error_free(error);
        return result;
    }
};

} // namespace

std::shared_ptr<Trash> systemTrash()
{
    return std::make_shared<GioTrash>();
}

} // namespace tidvale::platform

#include "platform/linux/PkexecOutcome.h"

#include <algorithm>

namespace tidvale::platform {
namespace {

bool mentions(std::string_view text, std::string_view what)
{
    return text.find(what) != std::string_view::npos;
}

std::string trimmed(std::string_view s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.remove_suffix(1);
    return std::string(s);
}

} // namespace

std::string pkexecFailureText(int exitStatus, std::string_view standardError)
{
    if (exitStatus == 126)
        return "Se canceló la solicitud de contraseña de administrador.";
    // pkexec's own words: "No authentication agent found." when polkit runs but no agent
    // does, "Error creating textual authentication agent: …" when it also has no
    // terminal to ask on, "Error getting authority: …" when polkit cannot be reached.
    if (mentions(standardError, "authentication agent"))
        return "No hay ningún agente de autenticación para pedir la contraseña de "
               "administrador.";
    if (mentions(standardError, "Error getting authority"))
        return "No se ha podido contactar con el servicio de autorización del sistema "
               "(polkit).";
    if (mentions(standardError, "Cannot run program"))
        return "No se encontró el asistente de administrador de Tidvale.";
    return "No tienes autorización para eliminar estos elementos como administrador.";
}

PrivilegedRunResult interpretPkexecRun(
    int exitCode, std::string_view output, std::string_view standardError, size_t count)
{
    PrivilegedRunResult result;
    result.paths = parsePrivilegedReport(output, count);
    const bool reported = std::any_of(result.paths.begin(), result.paths.end(),
        [](const PrivilegedPathResult& r) { return r.status != PrivilegedStatus::unknown; });
    const int code = exitCode;
    if (!reported && (code == 126 || code == 127)) {
        result.error = pkexecFailureText(code, standardError);
        return result;
    }
    const bool complete = std::none_of(result.paths.begin(), result.paths.end(),
        [](const PrivilegedPathResult& r) { return r.status == PrivilegedStatus::unknown; });
    // Once every path is accounted for, the exit status adds nothing.
    if (!complete) {
        const std::string text = trimmed(standardError);
        result.error = text.empty() ? "Error desconocido" : text;
    }
    return result;
}

} // namespace tidvale::platform

#include "engine/fs/SafeRemove.h"

#include <cerrno>

namespace tidvale {
namespace {

// Why a removal failed, to follow "No se ha podido eliminar “x” ". The system's own
// texts are English and would read oddly in the middle of a Spanish sentence.
const char* reasonFor(int error)
{
    switch (error) {
    case ENOENT:
        return "porque no existe.";
    case EACCES:
    case EPERM:
        return "porque no tienes permiso para acceder a ello.";
    case EBUSY:
        return "porque está en uso.";
    case ETXTBSY:
        return "porque es un programa que se está ejecutando.";
    case EROFS:
        return "porque el volumen es de solo lectura.";
    case EXDEV:
        return "porque contiene otro volumen montado.";
    case kErrorMountPoint:
        return "porque es un punto de montaje.";
    case kErrorOtherVolume:
        return "porque está dentro de otro volumen montado.";
    case kErrorPackageManagerBusy:
        return "porque apt está instalando o descargando paquetes; vuelve a intentarlo cuando "
               "termine.";
    case EAGAIN:
        return "porque cambió mientras se eliminaba.";
    case ENOTEMPTY:
    case EEXIST:
        return "porque no está vacío.";
    case EIO:
        return "porque se produjo un error de lectura o escritura en el disco.";
    case ENOSPC:
        return "porque no queda espacio en el disco.";
    case EDQUOT:
        return "porque se ha superado la cuota de disco.";
    case ENAMETOOLONG:
        return "porque su nombre o su ruta son demasiado largos.";
    case ELOOP:
        return "porque su ruta pasa por un enlace simbólico.";
    case ENOTDIR:
        return "porque una parte de su ruta no es una carpeta.";
    case EISDIR:
        return "porque es una carpeta.";
    case EMFILE:
    case ENFILE:
        return "porque hay demasiados archivos abiertos.";
    case ENOMEM:
        return "porque no hay memoria suficiente.";
    case EINVAL:
        return "porque la ruta no es válida.";
    case EFAULT:
        return "por un error interno.";
    case ESTALE:
        return "porque el volumen de red ya no lo reconoce.";
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
        return "porque el volumen de red no está disponible.";
    case ETIMEDOUT:
        return "porque el volumen no respondió a tiempo.";
    case ENXIO:
    case ENODEV:
        return "porque el dispositivo no está disponible.";
    case ECANCELED:
    case EINTR:
        return "porque se interrumpió la operación.";
    case EOVERFLOW:
    case EFBIG:
        return "porque es demasiado grande para el sistema.";
    default:
        return nullptr;
    }
}

} // namespace

std::string describeRemoveError(int error, const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const std::string name = p.substr(p.rfind('/') == std::string::npos ? 0 : p.rfind('/') + 1);
    const std::string lead = "No se ha podido eliminar \u201c" + name + "\u201d ";
    if (const char* reason = reasonFor(error))
        return lead + reason;
    return lead + "por un error del sistema (código " + std::to_string(error) + ").";
}

} // namespace tidvale

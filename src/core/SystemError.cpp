#include "core/SystemError.h"

#include <cerrno>
#include <cstring>

namespace hz {

std::string SystemErrorReason(int err)
{
    switch (err) {
    case ENOENT: return "Datei oder Ordner nicht gefunden";
    case EACCES:
    case EPERM: return "Keine Berechtigung";
    case EISDIR: return "Es ist ein Ordner";
    case ENOTDIR: return "Ein Teil des Pfades ist kein Ordner";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "Der Datenträger ist voll";
    case EROFS: return "Der Datenträger ist schreibgeschützt";
    case ENAMETOOLONG: return "Der Dateiname ist zu lang";
    case ELOOP: return "Zu viele symbolische Verknüpfungen";
    case EIO: return "Ein-/Ausgabefehler des Datenträgers";
    case EPIPE: return "Das lesende Programm hat die Pipe geschlossen";
    case ENXIO: return "Das Gerät ist nicht vorhanden";
    default: return std::strerror(err);
    }
}

} // namespace hz

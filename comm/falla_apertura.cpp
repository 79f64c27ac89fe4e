#include "falla_apertura.h"

namespace comm {

std::string MotivoFalla(FallaApertura falla) {
  switch (falla) {
    case FallaApertura::NoExiste:
      return "el puerto no existe";
    case FallaApertura::EnUso:
      return "el puerto está en uso por otro programa";
    case FallaApertura::SinPermiso:
      return "no hay permiso para abrir el puerto: el usuario no está en el grupo dialout";
    case FallaApertura::Configuracion:
      return "el puerto no admite esa velocidad";
    default:
      return "el puerto no se pudo abrir";
  }
}

}  // namespace comm

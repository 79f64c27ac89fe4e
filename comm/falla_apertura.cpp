#include "falla_apertura.h"

std::string MotivoFalla(FallaApertura falla) {
  switch (falla) {
    case FallaApertura::NoExiste:
      return "el puerto no existe";
    case FallaApertura::EnUso:
      return "el puerto está en uso o no hay permiso para abrirlo";
    case FallaApertura::Configuracion:
      return "el puerto no admite esa configuración";
    default:
      return "el puerto no se pudo abrir";
  }
}

#include "nombre_puerto.h"

#include "ajustes.h"

namespace {

std::string& Fijado() {
  static std::string dispositivo;
  return dispositivo;
}

}  // namespace

void FijarDispositivo(const std::string& dispositivo) {
  Fijado() = dispositivo;
}

std::string NombrePuerto(long numero) {
  if (!Fijado().empty()) return Fijado();
#ifdef _WIN32
  return "COM" + std::to_string(numero);
#else
  const std::string elegido = LeerIni("Puertos", "Com" + std::to_string(numero), "");
  return elegido.empty() ? "/dev/ttyS" + std::to_string(numero - 1) : elegido;
#endif
}

#include "nombre_puerto.h"

#include "ajustes.h"

std::string NombrePuerto(long numero) {
#ifdef _WIN32
  return "COM" + std::to_string(numero);
#else
  const std::string elegido = LeerIni("Puertos", "Com" + std::to_string(numero), "");
  return elegido.empty() ? "/dev/ttyS" + std::to_string(numero - 1) : elegido;
#endif
}

#include "nombre_puerto.h"

#include "ajustes.h"
#include "nombres.h"

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
  std::string elegido = LeerIni("Puertos", "Com" + std::to_string(numero), "");
  if (!elegido.empty()) return elegido;
#ifdef _WIN32
  return "COM" + std::to_string(numero);
#else
  return "/dev/ttyS" + std::to_string(numero - 1);
#endif
}

long NumeroCom(const std::string& nombre) {
  const std::string cifras = nombre.size() > 3 ? nombre.substr(3) : "";
  if (!IgualesSinMayusculas(nombre.substr(0, 3), "COM") || cifras.empty() || cifras.size() > 3 ||
      cifras.front() == '0' || cifras.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  const long numero = std::stol(cifras);
  return numero <= kUltimoPuerto ? numero : 0;
}

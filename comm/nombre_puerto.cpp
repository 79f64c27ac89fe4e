#include "nombre_puerto.h"

#include <utility>

#include "nombres.h"

using namespace almacen;

namespace comm {

std::string NombrePorDefecto(long numero) {
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

MapaPuertos::MapaPuertos(Ajustes ajustes) : ajustes_(std::move(ajustes)) {}

MapaPuertos MapaPuertos::Fijo(std::string dispositivo) {
  MapaPuertos mapa{Ajustes(std::filesystem::path())};
  mapa.fijo_ = std::move(dispositivo);
  return mapa;
}

std::optional<std::string> MapaPuertos::Asignado(long numero) const {
  if (!fijo_.empty()) return std::nullopt;
  std::string dispositivo = ajustes_.LeerIni("Puertos", "Com" + std::to_string(numero), "");
  if (dispositivo.empty()) return std::nullopt;
  return dispositivo;
}

std::string MapaPuertos::Dispositivo(long numero) const {
  if (!fijo_.empty()) return fijo_;
  return Asignado(numero).value_or(NombrePorDefecto(numero));
}

}  // namespace comm

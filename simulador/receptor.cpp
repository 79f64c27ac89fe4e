#include "receptor.h"

#include "crc.h"

namespace simulador {

namespace {

constexpr size_t kLargoPeticion = 8;
// Ninguna trama ni orden de línea es más larga; más bytes sin cerrar son ruido.
constexpr size_t kLargoMaximo = 256;

bool LeeOEscribe(const std::string& bytes) {
  return bytes[1] == 3 || bytes[1] == 6;
}

}  // namespace

std::optional<Peticion> Receptor::Siguiente() {
  while (!pendiente_.empty()) {
    // Primero la trama: con el ID 58 una petición también empieza con ":".
    if (pendiente_.size() >= kLargoPeticion &&
        ControlValido(pendiente_.substr(0, kLargoPeticion))) {
      return Tomar(Clase::Modbus, kLargoPeticion);
    }
    if (pendiente_[0] == ':') {
      const size_t fin = pendiente_.find("\r\n");
      if (fin != std::string::npos) return Tomar(Clase::Orden, fin + 2);
    } else if (pendiente_.size() >= kLargoPeticion && LeeOEscribe(pendiente_)) {
      pendiente_.erase(0, kLargoPeticion);  // control erróneo: el indicador no contesta
      continue;
    }
    if (pendiente_.size() > kLargoMaximo) pendiente_.clear();
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<Peticion> Receptor::CerrarPorSilencio() {
  std::optional<Peticion> trama;
  if (pendiente_.size() >= 4 && !LeeOEscribe(pendiente_) && ControlValido(pendiente_)) {
    trama = Peticion{Clase::Modbus, pendiente_};
  }
  pendiente_.clear();
  return trama;
}

Peticion Receptor::Tomar(Clase clase, size_t largo) {
  Peticion peticion{clase, pendiente_.substr(0, largo)};
  pendiente_.erase(0, largo);
  return peticion;
}

}  // namespace simulador

#include "bus.h"

#include <utility>

namespace {

constexpr uint8_t kDifusion = 0;

uint8_t Destino(const Peticion& peticion) {
  return static_cast<uint8_t>(peticion.bytes[0]);
}

}  // namespace

Linea::Linea(const std::vector<uint8_t>& ids, Modo modo, std::string setup)
    : modo_(modo), setup_(std::move(setup)) {
  for (const uint8_t id : ids) indicadores_.emplace_back(id, modo.excepcion, modo.negar_lectura);
}

Indicador* Linea::Buscar(uint8_t id) {
  for (Indicador& indicador : indicadores_) {
    if (indicador.Id() == id) return &indicador;
  }
  return nullptr;
}

bool Linea::Dirigida(const Peticion& peticion) {
  if (peticion.clase == Clase::Linea) return !modo_.solo_registros;
  return !modo_.solo_linea && (Destino(peticion) == kDifusion || Buscar(Destino(peticion)));
}

std::string Linea::Atender(const Peticion& peticion) {
  if (peticion.clase == Clase::Linea) {
    const bool contesta = peticion.bytes == ":M\r\n" && !indicadores_.front().Callado();
    return contesta ? setup_ : std::string();
  }
  if (Destino(peticion) == kDifusion) return Difundir(peticion);
  Indicador& indicador = *Buscar(Destino(peticion));
  return indicador.Callado() ? std::string() : indicador.Atender(peticion.bytes, peticion.guardar);
}

std::string Linea::Difundir(const Peticion& peticion) {
  const Indicador* portavoz = Buscar(kDifusion);
  if (!portavoz && modo_.contestar_difusion) portavoz = &indicadores_.front();
  std::string respuesta;
  for (Indicador& indicador : indicadores_) {
    if (indicador.Callado()) continue;
    // Todos guardan; la respuesta de los demás no sale a la línea.
    std::string suya = indicador.Atender(peticion.bytes, peticion.guardar);
    if (&indicador == portavoz) respuesta = std::move(suya);
  }
  return respuesta;
}

#include "bus.h"

#include <utility>

namespace simulador {

namespace {

constexpr uint8_t kDifusion = 0;

uint8_t IdDestino(const Peticion& peticion) {
  return static_cast<uint8_t>(peticion.bytes[0]);
}

}  // namespace

Bus::Bus(const std::vector<uint8_t>& ids, Modo modo, std::string setup)
    : modo_(modo), setup_(std::move(setup)) {
  for (const uint8_t id : ids) indicadores_.emplace_back(id, modo.excepcion, modo.negar_lectura);
}

Indicador* Bus::Buscar(uint8_t id) {
  for (Indicador& indicador : indicadores_) {
    if (indicador.Id() == id) return &indicador;
  }
  return nullptr;
}

bool Bus::Dirigida(const Peticion& peticion) {
  if (peticion.clase == Clase::Orden) return !modo_.solo_modbus;
  return !modo_.solo_ordenes && (IdDestino(peticion) == kDifusion || Buscar(IdDestino(peticion)));
}

std::string Bus::Atender(const Peticion& peticion) {
  if (peticion.clase == Clase::Orden) {
    const bool contesta = peticion.bytes == ":M\r\n" && !indicadores_.front().Callado();
    return contesta ? setup_ : std::string();
  }
  if (IdDestino(peticion) == kDifusion) return Difundir(peticion);
  Indicador& indicador = *Buscar(IdDestino(peticion));
  return indicador.Callado() ? std::string() : indicador.Atender(peticion.bytes, peticion.guardar);
}

std::string Bus::Difundir(const Peticion& peticion) {
  const Indicador* portavoz = Buscar(kDifusion);
  if (!portavoz && modo_.contestar_difusion) portavoz = &indicadores_.front();
  std::string respuesta;
  for (Indicador& indicador : indicadores_) {
    if (indicador.Callado()) continue;
    // Todos guardan; la respuesta de los demás no sale al bus.
    std::string suya = indicador.Atender(peticion.bytes, peticion.guardar);
    if (&indicador == portavoz) respuesta = std::move(suya);
  }
  return respuesta;
}

}  // namespace simulador

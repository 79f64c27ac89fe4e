#include "busqueda.h"

#include "sondeo.h"
#include "traza.h"

namespace comm {

namespace {

// Pone la velocidad en el puerto abierto; false si no la admite.
bool PonerVelocidad(PuertoControl& comm1, long baudios, Traza* traza) {
  const bool puesta = comm1.SetSettings(std::to_string(baudios) + ",n,8,1");
  if (traza) {
    traza->Anotar((puesta ? "pasa a " : "no se pudo pasar a ") + std::to_string(baudios) +
                  " baudios");
  }
  return puesta;
}

void Avisar(const AvisosBusqueda& avisos, const std::string& etiqueta, float valor) {
  if (avisos.progreso) avisos.progreso(etiqueta, valor);
}

}  // namespace

ResultadoBusqueda Buscar(PuertoControl& comm1, const PlanBusqueda& plan, Traza* traza,
                         EcoDelPuerto eco, const AvisosBusqueda& avisos) {
  ResultadoBusqueda resultado;
  for (const long baudios : plan.velocidades) {
    Avisar(avisos, "Orden M a " + std::to_string(baudios), 0);
    if (PonerVelocidad(comm1, baudios, traza) && OyeLaOrden(comm1, traza, eco)) {
      resultado.oyenOrden.push_back(baudios);
    }
  }
  resultado.barridas = resultado.oyenOrden.empty() ? plan.velocidades : resultado.oyenOrden;

  const std::size_t total = resultado.barridas.size() * plan.ids.size();
  std::size_t hechos = 0;
  for (const long baudios : resultado.barridas) {
    if (!PonerVelocidad(comm1, baudios, traza)) {
      hechos += plan.ids.size();
      continue;
    }
    for (const long id : plan.ids) {
      Avisar(avisos, std::to_string(baudios) + " baudios, ID " + std::to_string(id),
             100.0f * static_cast<float>(hechos++) / static_cast<float>(total));
      if (!ContestaElId(comm1, static_cast<std::uint8_t>(id), traza, eco)) continue;
      resultado.hallados.push_back({baudios, id});
      if (avisos.hallado) avisos.hallado(resultado.hallados.back());
    }
  }
  return resultado;
}

}  // namespace comm

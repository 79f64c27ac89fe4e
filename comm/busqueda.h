#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ecos.h"
#include "puerto_control.h"

namespace comm {

class Traza;

// Búsqueda de los indicadores de una línea: su ID y su velocidad. Solo lee: nada se escribe en
// ningún indicador.

struct Hallazgo {
  long baudios;
  long id;
};

struct PlanBusqueda {
  std::vector<long> velocidades;  // en baudios, en el orden en que se prueban
  std::vector<long> ids;          // de 1 a 255
};

struct ResultadoBusqueda {
  std::vector<long> oyenOrden;  // las velocidades a las que contestó la orden M
  std::vector<long> barridas;   // las velocidades en las que se probó cada ID
  std::vector<Hallazgo> hallados;
};

struct AvisosBusqueda {
  std::function<void(const Hallazgo&)> hallado;             // en cuanto contesta
  std::function<void(const std::string&, float)> progreso;  // qué se prueba y cuánto va, 0 a 100
};

// La orden M no lleva dirección: una por velocidad dice dónde escucha alguien, y solo allí se
// prueba cada ID. Si no contesta a ninguna (indicadores que solo hablan Modbus), se prueba cada
// ID a cada velocidad. Con el puerto abierto; lo deja a la última velocidad probada. El eco de
// la línea, si lo hay, se reconoce y nunca se toma por respuesta.
ResultadoBusqueda Buscar(PuertoControl& comm1, const PlanBusqueda& plan, Traza* traza,
                         EcoDelPuerto eco, const AvisosBusqueda& avisos);

}  // namespace comm

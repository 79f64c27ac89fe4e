#pragma once

#include <string>

#include "consola.h"
#include "ecos.h"
#include "opciones.h"
#include "puerto_control.h"

namespace comm {
class Traza;
}  // namespace comm

namespace ordenes {

// --buscar en el puerto ya abierto: una línea "ID n a V baudios" en la salida por cada
// indicador que contesta; el avance y el resumen, con las opciones que lo usan (`comoPuerto`,
// p. ej. "--puerto 3"), en la de errores. Devuelve 0 si contestó alguno, 1 si no.
int CorrerBusqueda(const Orden& orden, const std::string& comoPuerto, comm::PuertoControl& puerto,
                   comm::Traza* traza, comm::EcoDelPuerto eco, const Consola& consola);

}  // namespace ordenes

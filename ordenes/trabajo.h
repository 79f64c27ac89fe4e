#pragma once

#include <string>

#include "consola.h"
#include "opciones.h"

namespace ordenes {

// --subir, --leer o --conectar para cada ID de la orden, en turno, con el puerto abierto una
// sola vez; al final, una tabla con el resultado de cada uno. `membrete` es el de --subir, con
// su NUL. Devuelve 0 si todos salieron bien, 1 si no. --buscar, en el mismo puerto abierto.
int CorrerTrabajo(const Orden& orden, const std::string& membrete, const Consola& consola);

}  // namespace ordenes

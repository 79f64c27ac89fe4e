#pragma once

#include "ajustes.h"
#include "peticion.h"

namespace carga {

// Puerto, velocidad e ID guardados en "Global" ("Comm", "Baudios", "ID_1"); lo que no vale
// para la ventana, su valor por defecto.
comm::Seleccion SeleccionGuardada(const almacen::Ajustes& ajustes);

// Guarda la elección en esas mismas claves; true si las tres quedaron guardadas.
bool GuardarSeleccion(const almacen::Ajustes& ajustes, const comm::Seleccion& eleccion);

}  // namespace carga

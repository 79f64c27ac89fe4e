#pragma once

#include "ajustes.h"
#include "peticion.h"

// Puerto, velocidad e ID guardados en "Global" ("Comm", "Baudios", "ID_1"); lo que no vale
// para la ventana, su valor por defecto.
Seleccion SeleccionGuardada(const Ajustes& ajustes);

// Guarda la elección en esas mismas claves; true si las tres quedaron guardadas.
bool GuardarSeleccion(const Ajustes& ajustes, const Seleccion& eleccion);

#pragma once

#include <string>

#include "ajustes.h"

namespace carga {

// Valor entero de un ajuste guardado, aceptado solo dentro de [minimo, maximo]. Un texto
// que no es un número o queda fuera del intervalo da `defecto`, igual que un ajuste ausente.
long AjusteEntero(const almacen::Ajustes& ajustes, const std::string& seccion,
                  const std::string& clave, long defecto, long minimo, long maximo);

}  // namespace carga

#pragma once

#include <string>

#include "codificacion.h"

// Un archivo UTF-16 como lo guarda el Bloc de notas: marca y unidades en el orden de
// `codificacion` (LE o BE).
inline std::string Utf16(almacen::Codificacion codificacion, const std::u16string& unidades) {
  std::string bytes;
  for (char16_t u : u"\uFEFF" + unidades) {
    const char alto = static_cast<char>(u >> 8), bajo = static_cast<char>(u & 0xFF);
    bytes += codificacion == almacen::Codificacion::Utf16Le ? std::string{bajo, alto}
                                                            : std::string{alto, bajo};
  }
  return bytes;
}

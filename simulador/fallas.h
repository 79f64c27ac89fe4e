#pragma once

#include <cstdint>
#include <string>

#include "opciones.h"
#include "receptor.h"

// Las averías de línea que se piden con las opciones: respuestas perdidas, corrompidas,
// cortadas o rodeadas de basura.
class Fallas {
 public:
  explicit Fallas(const Opciones& opciones);

  // Lo que sale a la línea por la petición número `numero` (desde 1) cuya respuesta sana es
  // `respuesta`; vacío si no se contesta.
  std::string Aplicar(long numero, Clase clase, std::string respuesta);

 private:
  bool Pierde(long numero) const;
  std::string Basura(long cantidad);

  const Opciones& opciones_;
  long con_control_ = 0;  // respuestas de registros enviadas, para --corromper
  uint32_t azar_ = 0x9E3779B9;
};

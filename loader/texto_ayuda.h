#pragma once

namespace carga {

// Guía del operador que muestra el panel de ayuda: UTF-8, cada línea terminada en CR LF.
extern const char kTextoAyuda[];

}  // namespace carga

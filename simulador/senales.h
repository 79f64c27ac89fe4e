#pragma once

#include <vector>

namespace simulador {

// SIGTERM, SIGINT, SIGUSR1 y SIGUSR2 llegan por un tubo que se vigila con poll(), junto al
// pseudoterminal.
class Senales {
 public:
  // Lanza std::system_error si no puede instalar los manejadores.
  Senales();
  int Descriptor() const;
  // Las señales llegadas desde la última vez, en orden.
  std::vector<int> Recibidas();
};

}  // namespace simulador

#pragma once

#include <string>

namespace comm {

// Traza de la comunicación para el técnico: una línea por suceso (puerto abierto, petición,
// respuesta, veredicto). Quien la recibe le pone la hora y la guarda; sin traza, nadie la arma.
class Traza {
 public:
  virtual ~Traza() = default;
  virtual void Anotar(const std::string& suceso) = 0;
};

}  // namespace comm

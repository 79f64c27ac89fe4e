#pragma once

#include <termios.h>

#include <memory>
#include <optional>
#include <string>

#include "pty.h"

namespace simulador {

// El adaptador que el programa ve: un pseudoterminal y, si se pidió, el enlace que lo nombra.
// Desenchufarlo es como quitar un adaptador USB: el programa ve su puerto colgado y la ruta deja
// de existir; al enchufarlo vuelve con otro esclavo bajo el mismo enlace.
class Enchufe {
 public:
  // Lanza std::system_error si no puede.
  Enchufe(speed_t velocidad, std::string enlace);

  bool Puesto() const { return pty_ != nullptr; }
  // Solo con el enchufe puesto.
  Pty& Actual() { return *pty_; }
  const Pty& Actual() const { return *pty_; }

  void Desenchufar();
  // Lanza std::system_error si no puede.
  void Enchufar();

 private:
  speed_t velocidad_;
  std::string enlace_;  // vacío: sin enlace
  std::unique_ptr<Pty> pty_;
  std::optional<Enlace> enlazado_;
};

}  // namespace simulador

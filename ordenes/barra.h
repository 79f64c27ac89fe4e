#pragma once

#include <ostream>
#include <string>

namespace ordenes {

// Avance de una tarea en la terminal: una sola línea que se redibuja. Si la salida de errores
// no es una terminal, no escribe nada.
class Barra {
 public:
  Barra(std::ostream& salida, bool terminal) : salida_(salida), terminal_(terminal) {}

  void Mostrar(const std::string& etiqueta, float valor);
  // Borra la línea, para que lo siguiente empiece limpio.
  void Borrar();

 private:
  std::ostream& salida_;
  bool terminal_;
  std::size_t ancho_ = 0;
};

// La salida de errores de este proceso es una terminal.
bool ErroresEnTerminal();

}  // namespace ordenes

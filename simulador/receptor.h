#pragma once

#include <optional>
#include <string>

namespace simulador {

// Una trama Modbus (función 3, 6 u otra) o una orden de línea (":M" CR LF).
enum class Clase { Modbus, Orden };

struct Peticion {
  Clase clase;
  std::string bytes;  // completa: con sus bytes de control, o con ":" al principio y CR LF al final
  bool guardar = true;  // falso: una escritura que el indicador averiado contesta y no guarda
};

// Separa en peticiones los bytes que llegan del programa. Una petición de función 3 o 6 tiene
// siempre 8 bytes; una orden de línea empieza con ":" y termina en CR LF; las demás tramas solo
// se reconocen al callar el bus. Lo que no puede ser una petición se descarta.
class Receptor {
 public:
  void Agregar(const std::string& bytes) { pendiente_ += bytes; }
  bool Vacio() const { return pendiente_.empty(); }

  // La próxima petición completa, si ya llegó.
  std::optional<Peticion> Siguiente();

  // Tras un silencio: lo que queda es una trama de otra función con su control, o se descarta.
  std::optional<Peticion> CerrarPorSilencio();

 private:
  Peticion Tomar(Clase clase, size_t largo);

  std::string pendiente_;
};

}  // namespace simulador

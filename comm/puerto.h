#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace comm {

// Lo que las transferencias usan del control del puerto serie: texto de bytes que entra y sale,
// la cuenta de recibidos, una espera que bloquea y el reloj monótono del puerto. Cada byte 0-255
// pasa sin cambios. Un puerto cerrado o caído no da nada (ni bytes, cuenta 0) y sus esperas
// igual terminan en su plazo.
class Puerto {
 public:
  using Reloj = std::chrono::steady_clock;

  virtual ~Puerto() = default;

  // InputLen = 0 y luego Input: toma y quita todos los bytes del búfer.
  virtual std::string Input() = 0;
  // Output: envía todo el texto de bytes, en orden.
  virtual void Output(const std::string& datos) = 0;
  // InBufferCount: bytes recibidos que esperan en el búfer.
  virtual std::size_t InBufferCount() = 0;
  // Bloquea hasta que haya al menos `n` bytes en el búfer o el reloj llegue a `limite`, lo que
  // ocurra antes. No procesa eventos de la interfaz.
  virtual void Esperar(std::size_t n, Reloj::time_point limite) = 0;

  virtual Reloj::time_point Ahora() = 0;
  // Cuándo llegó el último byte (Reloj::time_point{} antes del primero).
  virtual Reloj::time_point UltimaRecepcion() = 0;
  // Velocidad de la línea en baudios; 0 si no se sabe.
  virtual long Baudios() = 0;
};

}  // namespace comm

#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// What the transfers use of the serial-port control: byte text in and out, the receive
// count, a blocking wait and the port's monotonic clock. Every byte 0-255 passes unchanged.
// A port that is closed or failing answers with nothing (no bytes, count 0) and waits
// still end at their deadline.
class Puerto {
 public:
  using Reloj = std::chrono::steady_clock;

  virtual ~Puerto() = default;

  // InputLen = 0, then Input: takes and removes every buffered byte.
  virtual std::string Input() = 0;
  // Output: transmits the whole byte text, in order.
  virtual void Output(const std::string& datos) = 0;
  // InBufferCount: received bytes waiting in the buffer.
  virtual std::size_t InBufferCount() = 0;
  // Blocks until at least `n` bytes are buffered or the clock reaches `limite`,
  // whichever comes first. Processes no user-interface events.
  virtual void Esperar(std::size_t n, Reloj::time_point limite) = 0;

  virtual Reloj::time_point Ahora() = 0;
  // When the last byte was received (Reloj::time_point{} before any).
  virtual Reloj::time_point UltimaRecepcion() = 0;
  // Line speed in baud; 0 when unknown.
  virtual long Baudios() = 0;
};

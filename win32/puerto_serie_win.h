#pragma once

#include <string>

#include "puerto_con_ajustes.h"

// El control del puerto serie sobre la API de comunicaciones de Windows: \\.\COM<n>, lectura
// bloqueante con plazos del controlador y un búfer propio de lo ya recibido. Un puerto cerrado
// o caído no recibe ni envía nada, y sus esperas duermen hasta el plazo.
class PuertoSerieWin : public comm::PuertoConAjustes {
 public:
  PuertoSerieWin();
  ~PuertoSerieWin() override;
  PuertoSerieWin(const PuertoSerieWin&) = delete;
  PuertoSerieWin& operator=(const PuertoSerieWin&) = delete;

  bool PortOpen() const override;
  bool SetPortOpen(bool abrir) override;

  std::string Input() override;
  void Output(const std::string& datos) override;
  std::size_t InBufferCount() override;
  void Esperar(std::size_t n, Reloj::time_point limite) override;

 private:
  bool AplicarLinea(const comm::AjustesLinea& linea) override;
  bool AplicarRts(bool alto) override;
  bool Plazos(unsigned long intervaloMs, unsigned long totalMs);
  std::size_t Leer(std::size_t n);
  void Recoger();
  void Cerrar();

  void* manejador_;  // HANDLE; INVALID_HANDLE_VALUE cerrado
  std::string recibidos_;
};

#pragma once

#include <string>

#include "ajustes_linea.h"
#include "puerto_control.h"

// El control del puerto serie sobre la API de comunicaciones de Windows: \\.\COM<n>, lectura
// bloqueante con plazos del controlador y un búfer propio de lo ya recibido. Un puerto cerrado
// o caído no recibe ni envía nada, y sus esperas duermen hasta el plazo.
class PuertoSerieWin : public PuertoControl {
 public:
  PuertoSerieWin();
  ~PuertoSerieWin() override;
  PuertoSerieWin(const PuertoSerieWin&) = delete;
  PuertoSerieWin& operator=(const PuertoSerieWin&) = delete;

  long CommPort() const { return commPort_; }
  bool SetCommPort(long numero) override;
  const std::string& Settings() const { return settings_; }
  bool SetSettings(const std::string& texto) override;
  // Con XON/XOFF se perderían los bytes 0x11 y 0x13.
  bool SetHandshaking(int modo) override;
  bool SetRTSEnable(bool alto) override;
  bool PortOpen() const override;
  bool SetPortOpen(bool abrir) override;
  std::string ErrorApertura() const override { return errorApertura_; }
  // Dispositivo de la última apertura ("COM3").
  const std::string& Dispositivo() const { return dispositivo_; }

  std::string Input() override;
  void Output(const std::string& datos) override;
  std::size_t InBufferCount() override;
  void Esperar(std::size_t n, Reloj::time_point limite) override;
  Reloj::time_point Ahora() override { return Reloj::now(); }
  Reloj::time_point UltimaRecepcion() override { return ultimaRecepcion_; }
  long Baudios() override { return linea_.baudios; }

 private:
  bool Configurar(const AjustesLinea& linea);
  bool Plazos(unsigned long intervaloMs, unsigned long totalMs);
  std::size_t Leer(std::size_t n);
  void Recoger();
  void Cerrar();

  void* manejador_;  // HANDLE; INVALID_HANDLE_VALUE cerrado
  long commPort_ = 1;
  std::string settings_ = "9600,n,8,1";
  AjustesLinea linea_;
  bool rts_ = false;
  std::string dispositivo_;
  std::string errorApertura_;
  std::string recibidos_;
  Reloj::time_point ultimaRecepcion_{};
};

#pragma once

#include "puerto_control.h"

namespace ordenes {

// El puerto de la línea de órdenes, que cuenta lo que envía: cada trama o línea enviada es un
// intento, también las repeticiones.
class PuertoContado : public comm::PuertoControl {
 public:
  explicit PuertoContado(comm::PuertoControl& puerto) : puerto_(puerto) {}

  long Envios() const { return envios_; }

  bool SetCommPort(long numero) override { return puerto_.SetCommPort(numero); }
  bool SetDispositivo(const std::string& dispositivo) override {
    return puerto_.SetDispositivo(dispositivo);
  }
  bool SetSettings(const std::string& texto) override { return puerto_.SetSettings(texto); }
  bool SetHandshaking(int modo) override { return puerto_.SetHandshaking(modo); }
  bool SetRTSEnable(bool alto) override { return puerto_.SetRTSEnable(alto); }
  bool PortOpen() const override { return puerto_.PortOpen(); }
  bool SetPortOpen(bool abrir) override { return puerto_.SetPortOpen(abrir); }
  std::string ErrorApertura() const override { return puerto_.ErrorApertura(); }

  std::string Input() override { return puerto_.Input(); }
  void Output(const std::string& datos) override {
    ++envios_;
    puerto_.Output(datos);
  }
  std::size_t InBufferCount() override { return puerto_.InBufferCount(); }
  void Esperar(std::size_t n, Reloj::time_point limite) override { puerto_.Esperar(n, limite); }
  Reloj::time_point Ahora() override { return puerto_.Ahora(); }
  Reloj::time_point UltimaRecepcion() override { return puerto_.UltimaRecepcion(); }
  long Baudios() override { return puerto_.Baudios(); }

 private:
  comm::PuertoControl& puerto_;
  long envios_ = 0;
};

}  // namespace ordenes

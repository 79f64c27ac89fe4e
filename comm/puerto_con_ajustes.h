#pragma once

#include <string>

#include "ajustes_linea.h"
#include "puerto_control.h"

namespace comm {

// Lo del control del puerto serie que es igual en cada plataforma: número, ajustes de la línea,
// RTS, el motivo de la última apertura fallida y el reloj. Cada plataforma pone la línea y RTS
// en su dispositivo, lo abre, lo cierra y mueve los bytes.
class PuertoConAjustes : public PuertoControl {
 public:
  long CommPort() const { return commPort_; }
  bool SetCommPort(long numero) override;
  bool SetDispositivo(const std::string& dispositivo) override;
  const std::string& Settings() const { return settings_; }
  bool SetSettings(const std::string& texto) override;
  // Con XON/XOFF se perderían los bytes 0x11 y 0x13.
  bool SetHandshaking(int modo) override { return modo == 0; }
  bool SetRTSEnable(bool alto) override;
  std::string ErrorApertura() const override { return errorApertura_; }
  // Dispositivo de la última apertura.
  const std::string& Dispositivo() const { return dispositivo_; }
  long Baudios() override { return linea_.baudios; }
  Reloj::time_point Ahora() override { return Reloj::now(); }
  Reloj::time_point UltimaRecepcion() override { return ultimaRecepcion_; }

 protected:
  // Pone `linea` en el dispositivo, abierto o no; false si no la admite.
  virtual bool AplicarLinea(const AjustesLinea& linea) = 0;
  // Sube o baja RTS en el dispositivo abierto.
  virtual bool AplicarRts(bool alto) = 0;
  // El dispositivo que se abrirá: el puesto con SetDispositivo, o el de siempre del número.
  std::string DispositivoElegido() const;

  AjustesLinea linea_;
  bool rts_ = false;
  std::string dispositivo_;
  std::string errorApertura_;
  Reloj::time_point ultimaRecepcion_{};

 private:
  long commPort_ = 1;
  std::string elegido_;
  std::string settings_ = "9600,n,8,1";
};

}  // namespace comm

#pragma once

#include <QSerialPort>
#include <string>

#include "ajustes_linea.h"
#include "puerto.h"

// El control del puerto serie sobre QSerialPort. Cada propiedad que no se puede poner devuelve
// false y conserva su valor, para que quien la pone se salte el paso y siga. Un puerto cerrado
// o caído no recibe ni envía nada, y sus esperas duermen hasta el plazo.
class PuertoSerie : public Puerto {
 public:
  PuertoSerie();
  PuertoSerie(const PuertoSerie&) = delete;
  PuertoSerie& operator=(const PuertoSerie&) = delete;

  // Número del puerto, de 1 a 255; solo con el puerto cerrado.
  long CommPort() const { return commPort_; }
  bool SetCommPort(long numero);
  // "velocidad,paridad,datos,parada", por ejemplo "9600,n,8,1".
  const std::string& Settings() const { return settings_; }
  bool SetSettings(const std::string& texto);
  // Solo 0: sin control de flujo (con XON/XOFF se perderían los bytes 0x11 y 0x13).
  bool SetHandshaking(int modo);
  bool SetRTSEnable(bool alto);
  bool PortOpen() const { return serie_.isOpen(); }
  bool SetPortOpen(bool abrir);
  // Dispositivo de la última apertura.
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
  std::size_t Recibidos() const;
  void Recoger();
  void Vigilar();

  QSerialPort serie_;
  long commPort_ = 1;
  std::string settings_ = "9600,n,8,1";
  AjustesLinea linea_;
  bool rts_ = false;
  std::string dispositivo_;
  Reloj::time_point ultimaRecepcion_{};
};

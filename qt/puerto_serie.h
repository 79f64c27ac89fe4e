#pragma once

#include <QSerialPort>
#include <string>

#include "ajustes_linea.h"
#include "puerto_control.h"

// El control del puerto serie sobre QSerialPort. Un puerto cerrado o caído no recibe ni envía
// nada, y sus esperas duermen hasta el plazo.
class PuertoSerie : public PuertoControl {
 public:
  PuertoSerie();
  PuertoSerie(const PuertoSerie&) = delete;
  PuertoSerie& operator=(const PuertoSerie&) = delete;

  long CommPort() const { return commPort_; }
  bool SetCommPort(long numero) override;
  const std::string& Settings() const { return settings_; }
  bool SetSettings(const std::string& texto) override;
  // Con XON/XOFF se perderían los bytes 0x11 y 0x13.
  bool SetHandshaking(int modo) override;
  bool SetRTSEnable(bool alto) override;
  bool PortOpen() const override { return serie_.isOpen(); }
  bool SetPortOpen(bool abrir) override;
  std::string ErrorApertura() const override { return errorApertura_; }
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
  std::string errorApertura_;
  Reloj::time_point ultimaRecepcion_{};
};

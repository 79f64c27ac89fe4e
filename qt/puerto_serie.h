#pragma once

#include <QSerialPort>
#include <string>

#include "puerto_con_ajustes.h"

// El control del puerto serie sobre QSerialPort. Un puerto cerrado o caído no recibe ni envía
// nada, y sus esperas duermen hasta el plazo.
class PuertoSerie : public comm::PuertoConAjustes {
 public:
  PuertoSerie();
  PuertoSerie(const PuertoSerie&) = delete;
  PuertoSerie& operator=(const PuertoSerie&) = delete;

  bool PortOpen() const override { return serie_.isOpen(); }
  bool SetPortOpen(bool abrir) override;

  std::string Input() override;
  void Output(const std::string& datos) override;
  std::size_t InBufferCount() override;
  void Esperar(std::size_t n, Reloj::time_point limite) override;

 private:
  bool AplicarLinea(const comm::AjustesLinea& linea) override;
  bool AplicarRts(bool alto) override;
  std::size_t Recibidos() const;
  void Recoger();
  void Vigilar();

  QSerialPort serie_;
};

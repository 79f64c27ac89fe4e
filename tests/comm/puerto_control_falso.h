#pragma once

#include <string>

#include "puerto_control.h"
#include "puerto_falso.h"

// El control del puerto sobre un PuertoFalso: anota cómo se configuró y si se abrió.
class PuertoControlFalso : public comm::PuertoControl {
 public:
  PuertoFalso linea;
  long commPort = 0;
  std::string dispositivo;
  std::string settings;
  int aperturas = 0;
  long baudios = 9600;
  std::string error;  // no vacío: el puerto no abre, por esto

  bool SetCommPort(long numero) override { return commPort = numero, true; }
  bool SetDispositivo(const std::string& nombre) override { return dispositivo = nombre, true; }
  bool SetSettings(const std::string& texto) override { return settings = texto, true; }
  bool SetHandshaking(int) override { return true; }
  bool SetRTSEnable(bool) override { return true; }
  bool PortOpen() const override { return abierto_; }
  bool SetPortOpen(bool abrir) override {
    aperturas += abrir ? 1 : 0;
    abierto_ = abrir && error.empty();
    return abierto_ == abrir;
  }
  std::string ErrorApertura() const override { return error; }
  std::string Input() override { return linea.Input(); }
  void Output(const std::string& datos) override { linea.Output(datos); }
  std::size_t InBufferCount() override { return linea.InBufferCount(); }
  void Esperar(std::size_t n, Reloj::time_point limite) override { linea.Esperar(n, limite); }
  Reloj::time_point Ahora() override { return linea.Ahora(); }
  Reloj::time_point UltimaRecepcion() override { return linea.UltimaRecepcion(); }
  long Baudios() override { return baudios; }

 private:
  bool abierto_ = false;
};

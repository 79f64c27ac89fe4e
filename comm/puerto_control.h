#pragma once

#include <string>

#include "puerto.h"

namespace comm {

// El control del puerto serie completo: lo que el diálogo configura antes de abrir, además de lo
// que usan las transferencias. Cada propiedad que no se puede poner devuelve false y conserva su
// valor, para que quien la pone se salte el paso y siga.
class PuertoControl : public Puerto {
 public:
  // Número del puerto, de 1 a 255; solo con el puerto cerrado. Vuelve al dispositivo por
  // defecto de ese número.
  virtual bool SetCommPort(long numero) = 0;
  // El dispositivo que el número nombra en esta ejecución (ver MapaPuertos); solo con el puerto
  // cerrado.
  virtual bool SetDispositivo(const std::string& dispositivo) = 0;
  // "velocidad,paridad,datos,parada", por ejemplo "9600,n,8,1".
  virtual bool SetSettings(const std::string& texto) = 0;
  // Solo 0: sin control de flujo.
  virtual bool SetHandshaking(int modo) = 0;
  virtual bool SetRTSEnable(bool alto) = 0;
  virtual bool PortOpen() const = 0;
  virtual bool SetPortOpen(bool abrir) = 0;
  // Por qué falló la última apertura, en castellano; vacío si abrió.
  virtual std::string ErrorApertura() const = 0;
};

}  // namespace comm

#pragma once

#include <functional>
#include <string>

#include "puerto.h"

// Hooks into the dialog that runs the job.
struct Avance {
  std::function<void(float)> progreso;    // ProgBar value, 0 to 100
  std::function<void()> procesarEventos;  // process pending events once
  std::function<bool()> cancelado;        // xCancel
};

// Register transfers over an open port: Modbus RTU functions 3 and 6, three attempts per
// request, 2000 ms deadline from the moment the request was written.
class Transferencia {
 public:
  Transferencia(Puerto& comm1, Avance avance);

  // Reads `longitud` registers from `direccion` (decimal texts) in blocks of 8. Returns two
  // characters per register; a failed or cancelled job returns the blocks read before.
  std::string Leer(const std::string& direccion, const std::string& longitud);
  // Writes `dato` two characters per register from `direccion`; pads `dato` to an even
  // length with NUL. Returns the echoed text, or empty text on any failure or cancel.
  std::string Escribir(const std::string& direccion, std::string& dato);

  // One exchange each: the decoded reply, or empty text.
  std::string RxD(int id, int direccion, int longitud);
  std::string TxD(int id, int direccion, const std::string& dato);

 private:
  Puerto& comm1_;
  Avance avance_;
};

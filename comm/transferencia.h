#pragma once

#include <functional>
#include <string>

#include "puerto.h"

class Traza;

// Ganchos hacia el diálogo que corre el trabajo.
struct Avance {
  std::function<void(float)> progreso;    // valor de ProgBar, 0 a 100
  std::function<void()> procesarEventos;  // procesa una vez los eventos pendientes
  std::function<bool()> cancelado;        // xCancel
  Traza* traza = nullptr;                 // nada: sin traza
};

// Register transfers over an open port: Modbus RTU functions 3 and 6, three attempts per
// request, 2000 ms deadline from the moment the request was written.
class Transferencia {
 public:
  // `id`: dirección de esclavo de todas las peticiones; fuera de 0 a 255 no se envía nada.
  Transferencia(Puerto& comm1, long id, Avance avance);

  // Reads `longitud` registers from `direccion` (decimal texts) in blocks of 8. Returns two
  // characters per register; a failed or cancelled job returns the blocks read before.
  std::string Leer(const std::string& direccion, const std::string& longitud);
  // Writes `dato` two characters per register from `direccion`; pads `dato` to an even
  // length with NUL. Returns the echoed text, or empty text on any failure or cancel.
  std::string Escribir(const std::string& direccion, std::string& dato);

  // One exchange each: the decoded reply, or empty text. `intento` (1 a 3) solo va a la traza.
  std::string RxD(int id, int direccion, int longitud, int intento = 1);
  std::string TxD(int id, int direccion, const std::string& dato, int intento = 1);

 private:
  Puerto& comm1_;
  long id_;
  Avance avance_;
};

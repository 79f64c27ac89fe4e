#pragma once

#include <string>

#include "motivo.h"

namespace comm {

class Ecos;
class Traza;

// La mayor dirección de esclavo: el ID va de 0 a 255.
inline constexpr long kUltimoId = 255;

// Puerto, velocidad e ID con que se habla al indicador: lo que el operador ve en pantalla.
struct Seleccion {
  long puerto = 0;    // "Com1" es 1; 0 sin elección
  long baudios = -1;  // posición en la lista: 1200 · 2^baudios; -1 sin elección
  long id = 0;        // 0 a kUltimoId
};

// Registro de una petición al diálogo "Comunicando": xFnc "R" lee registros, "T" los escribe,
// "C" envía una orden de línea. Los números viajan como texto decimal.
struct Peticion {
  std::string xFnc;
  std::string xDire;
  std::string xLong;
  std::string xDato;
  std::string xText;
  bool xOK = false;
  bool xCancel = false;
  Motivo motivo;  // cómo terminó; xOK y xDato salen de él

  Seleccion seleccion;
  std::string dispositivo;  // el que nombra linea.puerto; vacío: el de siempre de ese número
  Traza* traza = nullptr;   // nada: sin traza
  Ecos* ecos = nullptr;     // lo sabido del eco de cada línea; nada: se aprende en cada petición
};

}  // namespace comm

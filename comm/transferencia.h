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

// Transferencias de registros por un puerto abierto: funciones 3 y 6 de Modbus RTU, tres
// intentos por petición y 2000 ms de plazo desde que se escribió la petición.
class Transferencia {
 public:
  // `id`: dirección de esclavo de todas las peticiones; fuera de 0 a 255 no se envía nada.
  Transferencia(Puerto& comm1, long id, Avance avance);

  // Lee `longitud` registros desde `direccion` (textos decimales) en bloques de 8. Devuelve dos
  // caracteres por registro; si falla o se cancela, los bloques leídos hasta entonces.
  std::string Leer(const std::string& direccion, const std::string& longitud);
  // Escribe `dato` de a dos caracteres por registro desde `direccion`, completado con NUL hasta
  // un largo par. Devuelve el texto de los ecos, o vacío ante cualquier falla o cancelación.
  std::string Escribir(const std::string& direccion, std::string& dato);

  // Un intercambio cada una: la respuesta decodificada, o texto vacío. `intento` (1 a 3) solo va
  // a la traza.
  std::string RxD(long id, long direccion, long longitud, int intento = 1);
  std::string TxD(long id, long direccion, const std::string& dato, int intento = 1);

 private:
  Puerto& comm1_;
  long id_;
  Avance avance_;
};

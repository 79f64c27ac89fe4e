#pragma once

#include <functional>
#include <string>

#include "ecos.h"
#include "intercambio.h"
#include "motivo.h"
#include "puerto.h"
#include "tramas.h"

namespace comm {

class Traza;

// Un intento con la línea en silencio antes y, con `traza`, anotado como intento `intento` de
// `intentos`: lo recibido y su examen. Lo que muestre del eco de la línea queda en `eco`.
Intento IntentoAnotado(Puerto& comm1, const PeticionModbus& peticion, int intento, int intentos,
                       Traza* traza, EcoDelPuerto& eco, PrimerByte primerByte = std::nullopt);

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
  // `id`: dirección de esclavo de todas las peticiones; fuera de 0 a 255 no se envía nada. En
  // una línea con eco, cada respuesta se espera detrás del eco de su petición.
  Transferencia(Puerto& comm1, long id, Avance avance, EcoDelPuerto eco = {});

  // Lee `longitud` registros desde `direccion` (textos decimales) en bloques de 8: dos
  // caracteres por registro. Si falla o se cancela, trae los bloques leídos hasta entonces y el
  // motivo del que falló.
  Entrega Leer(const std::string& direccion, const std::string& longitud);
  // Escribe `dato` de a dos caracteres por registro desde `direccion`, completado con NUL hasta
  // un largo par. Trae el texto de los ecos, o nada y el motivo ante una falla o cancelación.
  Entrega Escribir(const std::string& direccion, std::string& dato);

  // Un intercambio cada una: la respuesta decodificada y cómo terminó. `intento` (1 a 3) solo va
  // a la traza.
  Entrega RxD(long id, long direccion, long longitud, int intento = 1);
  Entrega TxD(long id, long direccion, const std::string& dato, int intento = 1);

 private:
  // Un intercambio: silencio en la línea, petición y lo que trajo su respuesta.
  Entrega Intercambio(const PeticionModbus& peticion, int intento);

  Puerto& comm1_;
  long id_;
  Avance avance_;
  EcoDelPuerto eco_;
};

}  // namespace comm

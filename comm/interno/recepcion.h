#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tramas.h"

namespace comm {

// Lo recibido tras una petición Modbus, partido en tramas. RTU no marca dónde acaba una trama:
// se parte por los largos posibles (el de la respuesta esperada, el de una excepción, 8 y el
// que dice la cuenta de bytes) y se toma como trama el que trae bytes de control correctos.
// Los bytes que no forman trama quedan como basura y se saltan de a uno.

struct Trozo {
  std::size_t desde;
  std::size_t largo;
  Juicio juicio;
};

struct Examen {
  // Lo recibido decide el intento: la respuesta aceptada o una excepción del esclavo (el último
  // trozo), o una trama con la cabecera de la respuesta y los bytes de control mal (llegó
  // estropeada).
  bool terminado = false;
  std::string datos;          // texto de la respuesta aceptada; vacío si no la hay
  std::size_t faltan = 0;     // sin terminar: bytes que aún deben llegar para que pueda haberla
  std::vector<Trozo> trozos;  // todo lo recibido, en orden
};

Examen Examinar(const PeticionModbus& peticion, std::string_view recibido);

}  // namespace comm

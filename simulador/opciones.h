#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct Opciones {
  bool ayuda = false;
  uint8_t id = 1;
  std::vector<std::pair<uint16_t, uint16_t>> registros;  // registro, valor
  bool solo_linea = false;
  std::optional<std::string> setup;
  std::chrono::milliseconds retardo{0};
  std::optional<long> baudios;  // marca el ritmo de las respuestas
  long perder = 0;              // 0: no pierde ninguna
  std::optional<long> perder_desde;
  long corromper = 0;  // 0: no corrompe ninguna
  bool excepcion = false;
  long basura = 0;
  long ruido = 0;
  std::optional<long> parcial;
  std::optional<long> cerrar_tras;
  std::optional<std::chrono::milliseconds> vida;
  std::string volcado;   // vacío: no se escribe
  std::string membrete;  // vacío: no se escribe
  std::string enlace;    // vacío: no se crea
  bool mudo = false;
};

struct OpcionInvalida : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Lee la línea de órdenes; lanza OpcionInvalida con un mensaje para el operador.
Opciones LeerOpciones(int argc, char** argv);

// El texto de --help.
const char* Ayuda();

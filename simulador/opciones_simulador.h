#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace simulador {

// Un --registro: sin ID, vale para todos los indicadores del bus.
struct Asignacion {
  std::optional<uint8_t> id;
  uint16_t registro;
  uint16_t valor;
};

struct Opciones {
  bool ayuda = false;
  std::vector<uint8_t> ids{1};  // los indicadores del bus, en el orden dado
  std::vector<uint8_t> callados;
  std::vector<Asignacion> asignaciones;
  bool solo_ordenes = false;  // --solo-linea
  bool solo_modbus = false;   // --solo-registros
  bool contestar_difusion = false;
  std::optional<std::string> setup;
  std::chrono::milliseconds retardo{0};
  std::optional<long> baudios;     // marca el ritmo de las respuestas
  bool eco_del_bus = false;        // --eco-linea: el bus devuelve lo que envía el programa
  bool semiduplex = false;         // lo que se envía mientras un indicador contesta choca
  std::string archivo_colisiones;  // vacío: no se escribe
  bool una_velocidad = false;      // oye solo a la velocidad de --baudios
  // Las averías de "una de cada K": 0, ninguna.
  long perder = 0;
  std::optional<long> perder_desde;
  long corromper = 0;
  long eco_otro_valor = 0;
  long eco_otro_registro = 0;
  long otro_id = 0;
  long eco_tardio = 0;
  long ignorar_escrituras = 0;
  bool excepcion = false;
  bool negar_lectura = false;
  long basura = 0;
  long ruido = 0;
  std::optional<long> parcial;
  std::optional<long> desenchufar_tras;
  std::optional<std::chrono::milliseconds> volver_tras;
  std::optional<long> cerrar_tras;
  std::optional<std::chrono::milliseconds> vida;
  // Vacíos: no se escriben.
  std::string archivo_volcado;
  std::string archivo_membrete;
  std::string archivo_escrituras;
  std::string enlace;  // vacío: no se crea
  bool mudo = false;
};

struct OpcionInvalida : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Lee la línea de órdenes; lanza OpcionInvalida con un mensaje para el operador.
Opciones LeerOpciones(int argc, char** argv);

// El texto de --help.
const char* Ayuda();

}  // namespace simulador

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace comm {

// Tramas Modbus RTU de lectura (función 3) y escritura de un registro (función 6).
// Cada registro lleva dos caracteres: el primero en su byte bajo, el segundo en el alto.

// Cantidad de registros de una petición de lectura: de 1 a 255, el byte bajo del campo.
class Registros {
 public:
  static std::optional<Registros> De(long cantidad);
  std::uint8_t Cantidad() const { return cantidad_; }

 private:
  explicit Registros(std::uint8_t cantidad) : cantidad_(cantidad) {}
  std::uint8_t cantidad_;
};

struct PeticionModbus {
  std::string trama;           // 8 bytes con sus bytes de control
  std::size_t largoRespuesta;  // bytes que debe tener una respuesta aceptable
};

PeticionModbus PeticionLectura(std::uint8_t id, std::uint16_t direccion, Registros registros);
PeticionModbus PeticionEscritura(std::uint8_t id, std::uint16_t direccion, char primero,
                                 char segundo);

// Largo de una respuesta de excepción: esclavo, función + 0x80, código y bytes de control.
constexpr std::size_t kLargoExcepcion = 5;

enum class Veredicto {
  Aceptada,
  ControlErroneo,
  LargoErroneo,
  OtroEsclavo,
  Ajena,  // del esclavo pedido, pero no responde a esta petición (p. ej. un eco viejo)
  Excepcion,
};

struct Juicio {
  Veredicto veredicto;
  int excepcion = 0;  // código, con Veredicto::Excepcion
};

// Una trama recibida frente a su petición. Se acepta solo la respuesta de esa petición: la
// lectura con el esclavo, la función 3 y la cuenta de 2·n bytes; la escritura, su eco byte por
// byte. Una petición al esclavo 0 acepta la respuesta de cualquier dirección.
Juicio Juzgar(const PeticionModbus& peticion, std::string_view trama);

// El texto que trae `respuesta` si Juzgar la acepta (los registros leídos, o los dos
// caracteres del eco); si no, texto vacío.
std::string Aceptar(const PeticionModbus& peticion, std::string_view respuesta);

// Los bytes de control de `trama` coinciden; una trama demasiado larga para crc16 no.
bool ControlCorrecto(std::string_view trama);

// Largo que tendría la trama que empieza con `inicio` si fuera la respuesta o la excepción a
// `peticion`, según esclavo, función y, en una lectura, la cuenta de bytes; 0 si no puede
// serlo. Con solo el primer byte, el más corto de los dos.
std::size_t LargoComoRespuesta(const PeticionModbus& peticion, std::string_view inicio);

}  // namespace comm

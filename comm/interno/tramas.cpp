#include "tramas.h"

#include <algorithm>

#include "crc16.h"

namespace comm {

namespace {

constexpr char kLeer = 3;
constexpr char kEscribir = 6;
constexpr std::size_t kLargoEscritura = 8;

std::size_t LargoLectura(Registros registros) {
  return 2 * std::size_t{registros.Cantidad()} + 5;
}

char Byte(unsigned valor) {
  return static_cast<char>(valor & 0xFF);
}

PeticionModbus Armar(std::uint8_t id, char funcion, std::uint16_t direccion, char alto, char bajo,
                     std::size_t largoRespuesta) {
  std::string trama = {Byte(id), funcion, Byte(direccion >> 8), Byte(direccion), alto, bajo};
  return {trama + crc16(trama), largoRespuesta};
}

// Bytes de la petición que dicen qué respuesta esperar.
char Esclavo(const PeticionModbus& peticion) {
  return peticion.trama[0];
}
char Funcion(const PeticionModbus& peticion) {
  return peticion.trama[1];
}
// Cuenta de bytes de la respuesta a una lectura: 2·n.
char Cuenta(const PeticionModbus& peticion) {
  return Byte(2u * static_cast<unsigned char>(peticion.trama[5]));
}

bool DelEsclavo(const PeticionModbus& peticion, char esclavo) {
  return Esclavo(peticion) == 0 || esclavo == Esclavo(peticion);
}

char FuncionDeExcepcion(const PeticionModbus& peticion) {
  return static_cast<char>(Funcion(peticion) | 0x80);
}

Juicio JuzgarLectura(const PeticionModbus& peticion, std::string_view trama) {
  if (trama[1] != kLeer) return {Veredicto::Ajena};
  if (trama[2] != Cuenta(peticion) || trama.size() != peticion.largoRespuesta) {
    return {Veredicto::LargoErroneo};
  }
  return {Veredicto::Aceptada};
}

// El eco: todo igual a la petición salvo, con el esclavo 0, la dirección y su control.
Juicio JuzgarEscritura(const PeticionModbus& peticion, std::string_view trama) {
  const bool eco = trama.size() == kLargoEscritura &&
                   trama.substr(1, 5) == std::string_view(peticion.trama).substr(1, 5);
  return {eco ? Veredicto::Aceptada : Veredicto::Ajena};
}

}  // namespace

std::optional<Registros> Registros::De(long cantidad) {
  if (cantidad < 1 || cantidad > 255) return std::nullopt;
  return Registros(static_cast<std::uint8_t>(cantidad));
}

PeticionModbus PeticionLectura(std::uint8_t id, std::uint16_t direccion, Registros registros) {
  return Armar(id, kLeer, direccion, 0, Byte(registros.Cantidad()), LargoLectura(registros));
}

PeticionModbus PeticionEscritura(std::uint8_t id, std::uint16_t direccion, char primero,
                                 char segundo) {
  return Armar(id, kEscribir, direccion, segundo, primero, kLargoEscritura);
}

bool ControlCorrecto(std::string_view trama) {
  // Esclavo y función como mínimo; un cuerpo más largo de lo que crc16 admite no se comprueba.
  if (trama.size() < 4 || trama.size() - 2 > kLargoMaximoCrc) return false;
  const std::size_t cuerpo = trama.size() - 2;
  return crc16(std::string(trama.substr(0, cuerpo))) == trama.substr(cuerpo);
}

Juicio Juzgar(const PeticionModbus& peticion, std::string_view trama) {
  if (!ControlCorrecto(trama)) {
    return {trama.size() == peticion.largoRespuesta ? Veredicto::ControlErroneo
                                                    : Veredicto::LargoErroneo};
  }
  if (!DelEsclavo(peticion, trama[0])) return {Veredicto::OtroEsclavo};
  if (trama[1] == FuncionDeExcepcion(peticion)) {
    if (trama.size() != kLargoExcepcion) return {Veredicto::LargoErroneo};
    return {Veredicto::Excepcion, static_cast<unsigned char>(trama[2])};
  }
  return Funcion(peticion) == kEscribir ? JuzgarEscritura(peticion, trama)
                                        : JuzgarLectura(peticion, trama);
}

std::string Aceptar(const PeticionModbus& peticion, std::string_view respuesta) {
  if (Juzgar(peticion, respuesta).veredicto != Veredicto::Aceptada) return {};
  if (Funcion(peticion) == kEscribir) return {respuesta[5], respuesta[4]};
  std::string texto;
  for (std::size_t i = 3; i + 3 < respuesta.size(); i += 2) {
    texto += respuesta[i + 1];
    texto += respuesta[i];
  }
  return texto;
}

std::size_t LargoComoRespuesta(const PeticionModbus& peticion, std::string_view inicio) {
  if (inicio.empty() || !DelEsclavo(peticion, inicio[0])) return 0;
  if (inicio.size() == 1) return std::min(peticion.largoRespuesta, kLargoExcepcion);
  if (inicio[1] == FuncionDeExcepcion(peticion)) return kLargoExcepcion;
  if (inicio[1] != Funcion(peticion)) return 0;
  if (Funcion(peticion) == kLeer && inicio.size() > 2 && inicio[2] != Cuenta(peticion)) return 0;
  return peticion.largoRespuesta;
}

}  // namespace comm

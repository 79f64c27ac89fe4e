#include "indicador.h"

#include "crc.h"

namespace simulador {

namespace {

constexpr uint16_t kPrimerRegistroMembrete = 26;
constexpr unsigned kMaximoPorLectura = 8;

constexpr uint8_t kFuncionIlegal = 1;
constexpr uint8_t kDireccionIlegal = 2;
constexpr uint8_t kValorIlegal = 3;
constexpr uint8_t kFalloDelDispositivo = 4;

unsigned Byte(const std::string& bytes, size_t posicion) {
  return static_cast<unsigned char>(bytes[posicion]);
}

unsigned Palabra(const std::string& bytes, size_t posicion) {
  return Byte(bytes, posicion) << 8 | Byte(bytes, posicion + 1);
}

std::string Excepcion(const std::string& trama, uint8_t codigo) {
  return ConControl(
      {trama[0], static_cast<char>(Byte(trama, 1) | 0x80), static_cast<char>(codigo)});
}

}  // namespace

Indicador::Indicador(uint8_t id, bool excepcion, bool negar_lectura)
    : id_(id), excepcion_(excepcion), negar_lectura_(negar_lectura), registros_(65536, 0) {}

std::string Indicador::Atender(const std::string& trama, bool guardar) {
  const std::string propia =
      Byte(trama, 0) == id_ ? trama : Rehecha(trama, 0, std::string(1, static_cast<char>(id_)));
  if (excepcion_) return Excepcion(propia, kFalloDelDispositivo);
  switch (Byte(propia, 1)) {
    case 3:
      return negar_lectura_ ? Excepcion(propia, kDireccionIlegal) : LeerRegistros(propia);
    case 6:
      return EscribirRegistro(propia, guardar);
    default:
      return Excepcion(propia, kFuncionIlegal);
  }
}

std::string Indicador::LeerRegistros(const std::string& trama) const {
  const unsigned inicio = Palabra(trama, 2);
  const unsigned cantidad = Palabra(trama, 4);
  if (cantidad < 1 || cantidad > kMaximoPorLectura) return Excepcion(trama, kValorIlegal);
  if (inicio + cantidad > registros_.size()) return Excepcion(trama, kDireccionIlegal);

  std::string respuesta{trama[0], trama[1], static_cast<char>(2 * cantidad)};
  for (unsigned r = inicio; r < inicio + cantidad; ++r) {
    respuesta += static_cast<char>(registros_[r] >> 8);
    respuesta += static_cast<char>(registros_[r] & 0xFF);
  }
  return ConControl(respuesta);
}

std::string Indicador::EscribirRegistro(const std::string& trama, bool guardar) {
  if (guardar) registros_[Palabra(trama, 2)] = static_cast<uint16_t>(Palabra(trama, 4));
  return trama;
}

std::string Indicador::Volcado() const {
  std::string bytes;
  bytes.reserve(2 * registros_.size());
  for (const uint16_t valor : registros_) {
    bytes += static_cast<char>(valor & 0xFF);
    bytes += static_cast<char>(valor >> 8);
  }
  return bytes;
}

std::string Indicador::Membrete() const {
  const std::string desde = Volcado().substr(2 * kPrimerRegistroMembrete);
  return desde.substr(0, desde.find('\0'));
}

}  // namespace simulador

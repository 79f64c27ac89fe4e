#include "fallas.h"

#include "crc.h"

namespace simulador {

namespace {

bool EsEscritura(Clase clase, const std::string& trama) {
  return clase == Clase::Modbus && trama.size() == 8 && trama[1] == 6;
}

// Si a la ocasión número `cuenta` le toca la avería de "una de cada `cada`" (0: nunca).
bool Toca(long cada, long cuenta) {
  return cada > 0 && cuenta % cada == 0;
}

std::string Palabra(unsigned valor) {
  return {static_cast<char>(valor >> 8 & 0xFF), static_cast<char>(valor & 0xFF)};
}

unsigned LeerPalabra(const std::string& trama, size_t posicion) {
  return static_cast<unsigned char>(trama[posicion]) << 8 |
         static_cast<unsigned char>(trama[posicion + 1]);
}

// El ID siguiente, sin caer en el 0 de difusión.
char OtroId(char id) {
  return static_cast<char>(static_cast<unsigned char>(id) % 255 + 1);
}

}  // namespace

Fallas::Fallas(const Opciones& opciones) : opciones_(opciones) {}

Peticion Fallas::Desviar(Peticion peticion) {
  if (!EsEscritura(peticion.clase, peticion.bytes)) return peticion;
  ++escrituras_;
  if (Toca(opciones_.ignorar_escrituras, escrituras_)) {
    peticion.guardar = false;
    ++ignoradas_;
  }
  if (Toca(opciones_.eco_otro_registro, escrituras_)) {
    const unsigned registro = LeerPalabra(peticion.bytes, 2);
    peticion.bytes = Rehecha(peticion.bytes, 2, Palabra(registro + 1));
  }
  if (Toca(opciones_.eco_otro_valor, escrituras_)) {
    const unsigned valor = LeerPalabra(peticion.bytes, 4);
    peticion.bytes = Rehecha(peticion.bytes, 4, Palabra(valor + 1));
  }
  return peticion;
}

std::vector<std::string> Fallas::Aplicar(long numero, Clase clase, std::string respuesta) {
  if (respuesta.empty() || Pierde(numero)) return {};
  std::string eco_viejo;
  if (EsEscritura(clase, respuesta)) eco_viejo = EcoViejo(respuesta);
  // Solo las tramas Modbus llevan ID y bytes de control.
  if (clase == Clase::Modbus) {
    ++respuestas_modbus_;
    if (Toca(opciones_.otro_id, respuestas_modbus_)) {
      respuesta = Rehecha(respuesta, 0, std::string(1, OtroId(respuesta[0])));
    }
    if (Toca(opciones_.corromper, respuestas_modbus_)) respuesta.back() ^= 0x01;
  }
  if (opciones_.parcial && respuesta.size() > static_cast<size_t>(*opciones_.parcial)) {
    respuesta.resize(static_cast<size_t>(*opciones_.parcial));
  }
  std::vector<std::string> tramas;
  if (!eco_viejo.empty()) tramas.push_back(eco_viejo);
  tramas.push_back(Basura(opciones_.ruido) + respuesta + Basura(opciones_.basura));
  return tramas;
}

// Con --eco-tardio, el eco de la escritura anterior que toca enviar antes de `eco`; vacío si
// no toca.
std::string Fallas::EcoViejo(const std::string& eco) {
  ++ecos_;
  std::string viejo = ecos_ >= 2 && Toca(opciones_.eco_tardio, ecos_) ? ultimo_eco_ : "";
  ultimo_eco_ = eco;
  return viejo;
}

bool Fallas::Pierde(long numero) const {
  return (opciones_.perder > 0 && numero % opciones_.perder == 0) ||
         (opciones_.perder_desde && numero > *opciones_.perder_desde);
}

std::string Fallas::Basura(long cantidad) {
  std::string bytes;
  for (long i = 0; i < cantidad; ++i) {
    // xorshift32: basura repetible de una ejecución a otra.
    azar_ ^= azar_ << 13;
    azar_ ^= azar_ >> 17;
    azar_ ^= azar_ << 5;
    bytes += static_cast<char>(azar_ & 0xFF);
  }
  return bytes;
}

}  // namespace simulador

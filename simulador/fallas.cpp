#include "fallas.h"

Fallas::Fallas(const Opciones& opciones) : opciones_(opciones) {}

std::string Fallas::Aplicar(long numero, Clase clase, std::string respuesta) {
  if (respuesta.empty() || Pierde(numero)) return {};
  // Solo las tramas de registros llevan bytes de control.
  if (clase == Clase::Registro && opciones_.corromper > 0 &&
      ++con_control_ % opciones_.corromper == 0) {
    respuesta.back() ^= 0x01;
  }
  if (opciones_.parcial && respuesta.size() > static_cast<size_t>(*opciones_.parcial)) {
    respuesta.resize(static_cast<size_t>(*opciones_.parcial));
  }
  return Basura(opciones_.ruido) + respuesta + Basura(opciones_.basura);
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

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "bytes_prueba.h"
#include "puerto_falso.h"

// Indicador de prueba sobre un PuertoFalso: guarda registros y contesta las funciones 3 y 6
// tras `retardo`, y la orden de línea con `bloque`. Cada falla de una línea real se enciende
// aparte.
struct IndicadorFalso {
  std::map<int, std::uint16_t> registros;
  std::set<std::size_t> callar;  // números de petición que no contesta
  std::set<int> ids;             // los que contestan; vacío: cualquiera
  std::chrono::milliseconds retardo{20};
  std::string bloque;       // respuesta a la orden de línea; vacío: no la contesta
  bool eco = false;         // la línea devuelve al instante cada byte enviado
  bool presente = true;     // hay un indicador en la línea
  bool guarda = true;       // false: contesta cada escritura sin guardarla
  bool permiteLeer = true;  // false: contesta cada lectura con la excepción 2

  void Conectar(PuertoFalso& puerto) {
    puerto.responder = [this, &puerto](const std::string& t, std::size_t numero) {
      if (eco) puerto.Llegar(std::chrono::milliseconds(0), t);
      if (!presente || callar.count(numero) != 0) return;
      if (t[0] == ':') {
        if (!bloque.empty()) puerto.Llegar(retardo, bloque);
      } else if (ids.empty() || ids.count(Byte(t, 0)) != 0) {
        puerto.Llegar(retardo, Contestar(t));
      }
    };
  }

  std::string Contestar(const std::string& t) {
    const int direccion = Byte(t, 2) * 256 + Byte(t, 3);
    if (t[1] == 6) {
      if (guarda) registros[direccion] = static_cast<std::uint16_t>(Byte(t, 4) * 256 + Byte(t, 5));
      return t;
    }
    if (!permiteLeer) return ConCrc(t.substr(0, 1) + Bytes({0x83, 0x02}));
    std::string cuerpo = t.substr(0, 2) + static_cast<char>(2 * Byte(t, 5));
    for (int r = direccion; r < direccion + Byte(t, 5); ++r) {
      cuerpo += Bytes({registros[r] >> 8, registros[r] & 0xFF});
    }
    return ConCrc(cuerpo);
  }

  static int Byte(const std::string& t, std::size_t i) { return static_cast<std::uint8_t>(t[i]); }
};

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "crc16.h"
#include "puerto_falso.h"

// Un indicador sobre un PuertoFalso: lecturas (función 3) y escrituras (función 6) de un solo
// banco de registros, a los 10 ms; la orden ":M" con su bloque, si lo tiene. Así cualquier
// secuencia de peticiones ve lo que las anteriores dejaron en el banco.
class IndicadorGuionado {
 public:
  IndicadorGuionado(PuertoFalso& linea, std::uint8_t id) : id_(id) {
    linea.responder = [this, &linea](const std::string& trama, std::size_t) {
      const std::string respuesta = Atender(trama);
      if (!respuesta.empty()) linea.Llegar(std::chrono::milliseconds(10), respuesta);
    };
  }

  bool contestaRegistros = true;  // false: calla ante las tramas de registros
  std::string setup;              // respuesta a ":M" CR LF; vacío: calla
  std::vector<std::uint16_t> banco = std::vector<std::uint16_t>(65536, 0);

  // Los caracteres guardados desde `registro`: dos por registro, el byte bajo primero.
  std::string Texto(std::size_t registro, std::size_t registros) const {
    std::string texto;
    for (std::size_t r = registro; r < registro + registros; ++r) {
      texto += static_cast<char>(banco[r] & 0xFF);
      texto += static_cast<char>(banco[r] >> 8);
    }
    return texto;
  }

  // Guarda `texto` desde `registro` como lo haría una subida.
  void Guardar(std::size_t registro, const std::string& texto) {
    for (std::size_t i = 0; i < texto.size(); i += 2) {
      const unsigned bajo = static_cast<unsigned char>(texto[i]);
      const unsigned alto = i + 1 < texto.size() ? static_cast<unsigned char>(texto[i + 1]) : 0;
      banco[registro + i / 2] = static_cast<std::uint16_t>(alto << 8 | bajo);
    }
  }

 private:
  static unsigned Palabra(const std::string& trama, std::size_t posicion) {
    return static_cast<unsigned char>(trama[posicion]) << 8 |
           static_cast<unsigned char>(trama[posicion + 1]);
  }

  std::string Atender(const std::string& trama) {
    if (trama == ":M\r\n") return setup;
    if (!contestaRegistros || trama.size() != 8 || crc16(trama.substr(0, 6)) != trama.substr(6) ||
        static_cast<std::uint8_t>(trama[0]) != id_) {
      return {};
    }
    const unsigned registro = Palabra(trama, 2);
    if (trama[1] == 6) {
      banco[registro] = static_cast<std::uint16_t>(Palabra(trama, 4));
      return trama;
    }
    const unsigned cantidad = Palabra(trama, 4);
    if (registro + cantidad > banco.size()) return {};
    std::string respuesta{trama[0], trama[1], static_cast<char>(2 * cantidad)};
    for (unsigned r = registro; r < registro + cantidad; ++r) {
      respuesta += static_cast<char>(banco[r] >> 8);
      respuesta += static_cast<char>(banco[r] & 0xFF);
    }
    return respuesta + crc16(respuesta);
  }

  std::uint8_t id_;
};

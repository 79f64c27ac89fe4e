#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "receptor.h"

struct Atencion {
  bool dirigida = false;  // la petición era para este indicador
  std::string respuesta;  // vacía: no contesta
};

// El indicador: su banco de 65536 registros, su bloque de configuración y cómo contesta.
class Indicador {
 public:
  struct Modo {
    uint8_t id = 1;
    bool solo_linea = false;  // no entiende tramas de registros
    bool excepcion = false;   // contesta toda trama con la excepción 04
  };

  Indicador(Modo modo, std::string setup);

  void Escribir(uint16_t registro, uint16_t valor) { registros_[registro] = valor; }
  Atencion Atender(const Peticion& peticion);

  // El banco entero, dos bytes por registro, el bajo primero.
  std::string Volcado() const;
  // Los bytes desde el registro 26 (bajo y luego alto) hasta el primer NUL, sin él.
  std::string Membrete() const;

 private:
  std::string AtenderTrama(const std::string& trama);
  std::string LeerRegistros(const std::string& trama) const;
  std::string EscribirRegistro(const std::string& trama);

  Modo modo_;
  std::string setup_;
  std::vector<uint16_t> registros_;
};

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "indicador.h"
#include "receptor.h"

namespace simulador {

// Los indicadores que comparten el bus RS-485. Una trama al ID 0 es de difusión: la atienden todos
// y solo contesta, con su ID, el portavoz: el indicador de ID 0 o, si se pidió, el primero. Las
// órdenes de línea no llevan dirección; en un bus real contestarían todos a la vez, aquí
// contesta el primero.
class Bus {
 public:
  struct Modo {
    bool solo_ordenes = false;        // no entienden tramas Modbus
    bool solo_modbus = false;         // no entienden órdenes de línea
    bool excepcion = false;           // contestan toda trama con la excepción 04
    bool negar_lectura = false;       // contestan toda lectura con la excepción 02
    bool contestar_difusion = false;  // el primero contesta también al ID 0
  };

  // `ids` no vacía y sin repetidos.
  Bus(const std::vector<uint8_t>& ids, Modo modo, std::string setup);

  std::vector<Indicador>& Indicadores() { return indicadores_; }
  // El indicador de ese ID, o nulo.
  Indicador* Buscar(uint8_t id);

  // Si la petición es para alguien del bus: una orden de línea, una trama para uno de sus
  // IDs o una de difusión.
  bool Dirigida(const Peticion& peticion);
  // Lo que el bus hace con una petición dirigida: vacío si nadie contesta.
  std::string Atender(const Peticion& peticion);

 private:
  std::string Difundir(const Peticion& peticion);

  Modo modo_;
  std::string setup_;
  std::vector<Indicador> indicadores_;
};

}  // namespace simulador

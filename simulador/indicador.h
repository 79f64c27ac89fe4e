#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace simulador {

// Un indicador del bus: su ID, su banco de 65536 registros y cómo contesta una trama.
class Indicador {
 public:
  // Con `excepcion`, contesta toda trama con la excepción 04 y no guarda nada; con
  // `negar_lectura`, toda lectura con la excepción 02.
  Indicador(uint8_t id, bool excepcion, bool negar_lectura);

  uint8_t Id() const { return id_; }
  bool Callado() const { return callado_; }
  void Callar() { callado_ = true; }

  void Escribir(uint16_t registro, uint16_t valor) { registros_[registro] = valor; }

  // Atiende una trama Modbus como dirigida a él: la respuesta lleva su propio ID
  // aunque la trama viniera para el 0. Sin `guardar`, una escritura se contesta sin guardarla.
  std::string Atender(const std::string& trama, bool guardar);

  // El banco entero, dos bytes por registro, el bajo primero.
  std::string Volcado() const;
  // Los bytes desde el registro 26 (bajo y luego alto) hasta el primer NUL, sin él.
  std::string Membrete() const;

 private:
  std::string LeerRegistros(const std::string& trama) const;
  std::string EscribirRegistro(const std::string& trama, bool guardar);

  uint8_t id_;
  bool excepcion_;
  bool negar_lectura_;
  bool callado_ = false;
  std::vector<uint16_t> registros_;
};

}  // namespace simulador

#pragma once

#include <string>

namespace simulador {

// Bytes de control CRC-16/MODBUS: calculados aquí, bit a bit, para que el simulador sea un
// interlocutor independiente del programa que prueba.

// `cuerpo` seguido de sus dos bytes de control, el byte bajo primero.
std::string ConControl(std::string cuerpo);

// Si los dos últimos bytes de `trama` son el control de los anteriores.
bool ControlValido(const std::string& trama);

// `trama` con `bytes` puestos desde `posicion` y su control rehecho.
std::string Rehecha(std::string trama, size_t posicion, const std::string& bytes);

}  // namespace simulador

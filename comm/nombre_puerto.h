#pragma once

#include <optional>
#include <string>

#include "ajustes.h"

namespace comm {

// El número de puerto más alto que el programa admite ("Com255").
inline constexpr long kUltimoPuerto = 255;

// El dispositivo de "Com<n>" que nada nombra: COM<n> en Windows y /dev/ttyS<n-1> en los demás
// sistemas.
std::string NombrePorDefecto(long numero);

// El número de un nombre de Windows "COM<n>" (sin importar mayúsculas), o 0 si no es uno.
long NumeroCom(const std::string& nombre);

// Qué dispositivo nombra cada "ComN" en esta ejecución; cada main elige la regla y la pasa.
class MapaPuertos {
 public:
  // La clave "Com<n>" de la sección "Puertos" de `ajustes`, leída en cada consulta: la ventana
  // la escribe al elegir un adaptador nuevo; sin ella, el nombre por defecto.
  explicit MapaPuertos(almacen::Ajustes ajustes);
  // Un mismo dispositivo para todos los números (la línea de órdenes con --dispositivo); los
  // ajustes no cuentan.
  static MapaPuertos Fijo(std::string dispositivo);

  std::string Dispositivo(long numero) const;
  // El dispositivo que [Puertos] da a `numero`, si tiene clave.
  std::optional<std::string> Asignado(long numero) const;

 private:
  almacen::Ajustes ajustes_;
  std::string fijo_;
};

}  // namespace comm

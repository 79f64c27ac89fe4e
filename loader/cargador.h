#pragma once

#include <cstdint>
#include <string>

#include "ajustes.h"
#include "nombre_puerto.h"
#include "pantalla_carga.h"
#include "puertos_ventana.h"

namespace comm {
class Ecos;
class Traza;
}  // namespace comm

namespace carga {

// Las reglas de la ventana principal, iguales en todas las plataformas: arranque, salida,
// conexión, elección del membrete y subida. La ventana de cada plataforma dibuja, llama a estos
// manejadores desde sus eventos y cumple lo que pide PantallaCarga.
class Cargador {
 public:
  // `ajustes`: el archivo de ajustes de esta ejecución, que también dice qué dispositivo nombra
  // cada "ComN"; `traza` puede faltar; `ecos` dura lo que el programa; `pc` son los puertos de
  // esta PC para la lista.
  Cargador(PantallaCarga& pantalla, almacen::Ajustes ajustes, comm::Traza* traza, comm::Ecos& ecos,
           PuertosPc pc = {});

  void Form_Load();
  void Chk_inicio_Click();
  void Cmd_Salir_Click();
  // Cancel distinto de 0 al entrar termina el programa; si no, rechaza el cierre con un aviso
  // y deja Cancel en 1.
  void Form_Unload(std::int16_t& Cancel);

  void CmdConect_Click();
  int conec();
  void CmdBuscar_Click();
  void buscar();
  void CmdSubir_Click();
  void subir();

  // Membrete aceptado para subir: el contenido del archivo más un NUL, o vacío si no hay.
  std::string Membrete;

 private:
  // Guarda la elección de pantalla, y el adaptador del puerto elegido si aún no tenía clave en
  // [Puertos], y la devuelve para la petición; avisa si no se pudo guardar.
  comm::Seleccion GuardarEleccion();
  comm::Peticion NuevaPeticion(const comm::Seleccion& seleccion) const;

  PantallaCarga& pantalla_;
  almacen::Ajustes ajustes_;
  comm::MapaPuertos mapa_;
  comm::Traza* traza_;
  comm::Ecos& ecos_;
  PuertosPc pc_;
  PuertosVentana puertos_;
};

}  // namespace carga

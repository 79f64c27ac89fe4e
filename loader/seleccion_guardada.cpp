#include "seleccion_guardada.h"

#include "ajuste_entero.h"
#include "nombre_puerto.h"
#include "velocidades.h"

using namespace almacen;
using namespace comm;

namespace carga {

// Los valores guardados fuera de lo que la ventana admite valen como ausentes; -1 en
// "Baudios" y 0 en "Comm" dejan la lista sin elección. La lista de puertos llega al "Comm"
// guardado, así que cualquier puerto que el programa admite es una elección.
Seleccion SeleccionGuardada(const Ajustes& ajustes) {
  return Seleccion{AjusteEntero(ajustes, "Global", "Comm", 1, 0, kUltimoPuerto),
                   AjusteEntero(ajustes, "Global", "Baudios", 3, -1, kVelocidadesVentana - 1),
                   AjusteEntero(ajustes, "global", "ID_1", 1, 0, kUltimoId)};
}

bool GuardarSeleccion(const Ajustes& ajustes, const Seleccion& eleccion) {
  bool guardada = ajustes.IntentarEscribirIni("Global", "Comm", eleccion.puerto);
  guardada = ajustes.IntentarEscribirIni("Global", "Baudios", eleccion.baudios) && guardada;
  return ajustes.IntentarEscribirIni("global", "ID_1", eleccion.id) && guardada;
}

}  // namespace carga

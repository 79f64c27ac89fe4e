#pragma once

#include <functional>
#include <string>

#include "peticion.h"
#include "puerto_control.h"

namespace comm {

// Lo que hace el diálogo "Comunicando" con su petición, igual en todas las ventanas; cada una
// pone la barra, la etiqueta, el botón "Cancelar" y el temporizador.
struct VistaComunicando {
  std::function<void(const std::string&)> estado;  // texto de Label1
  std::function<void(float)> progreso;             // ProgBar, 0 a 100
  std::function<void()> procesarEventos;           // una vez tras cada registro o bloque
};

// Paso de carga: abre el puerto con la selección de la petición, saltándose lo que falle.
void AbrirPuerto(PuertoControl& comm1, const Peticion& peticion);

// La petición sobre el puerto ya abierto, que sigue abierto: la línea de órdenes hace así todas
// las de una ejecución. El resultado queda en motivo, xOK y xDato.
void Despachar(Peticion& peticion, PuertoControl& comm1, const VistaComunicando& vista);

// El temporizador del diálogo da su primer tic a los 100 ms de mostrarlo: la ventana llega a
// dibujarse antes de que la petición la bloquee.
inline constexpr int kMsTimerOn = 100;

// Paso de la petición (primer tic del temporizador): la hace, cierra el puerto y deja la barra
// en 100. El resultado queda en xOK y xDato.
void HacerPeticion(Peticion& peticion, PuertoControl& comm1, const VistaComunicando& vista);

}  // namespace comm

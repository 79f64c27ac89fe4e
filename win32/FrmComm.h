#pragma once

#include <windows.h>

#include "controles.h"
#include "peticion.h"

namespace comm {
class PuertoControl;
}  // namespace comm

// Diálogo "Comunicando": cada vez que se muestra abre el puerto con la selección de la petición,
// hace la petición en el primer tic de su temporizador, cierra el puerto y se cierra solo. Es
// modal sobre su dueño; "Cancelar", Escape o el botón de cierre piden que pare.
class FrmComm {
 public:
  FrmComm(HWND dueno, comm::PuertoControl& comm1);

  // Vuelve cuando la petición terminó; el resultado queda en sus campos xOK y xDato.
  void Mostrar(comm::Peticion& peticion);

  HWND Ventana() const { return ventana_; }
  LRESULT Mensaje(UINT mensaje, WPARAM w, LPARAM l);

 private:
  void Crear();
  void Colocar();
  void Form_Load();
  void TimerOn_Timer();
  void CmdCancel_Click();
  // Reparte un mensaje de la cola; Escape en el diálogo es "Cancelar".
  void Atender(const MSG& msg);
  void ProcesarEventos();

  HWND dueno_;
  comm::PuertoControl& comm1_;
  comm::Peticion* peticion_ = nullptr;
  Letra letra_;
  HWND ventana_ = nullptr;
  HWND Label1 = nullptr;
  HWND ProgBar = nullptr;
  HWND CmdCancel = nullptr;
  bool enCurso_ = false;
  bool terminado_ = false;
};

#pragma once

#include <windows.h>

#include <string>

// Barra de estado de tres paneles: 1 el estado, 2 la fecha y 3 la hora del sistema en sus
// formatos cortos. La ventana dueña le pasa sus tics de reloj (WM_TIMER).
class BarraEstado {
 public:
  BarraEstado(HWND dueno, HFONT letra);

  void Estado(const std::string& texto);
  // Un aviso en el panel 1 por unos segundos; después vuelve el estado.
  void Aviso(const std::string& texto);
  // Atiende un WM_TIMER de la ventana dueña; false si el temporizador no es de la barra.
  bool Tic(UINT_PTR temporizador);

 private:
  void ActualizarFechaHora();
  void MostrarPanel1(const std::wstring& texto);

  HWND dueno_;
  HWND barra_;
  std::wstring estado_;
  bool conAviso_ = false;
};

#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>

#include "barra_estado.h"
#include "cargador.h"
#include "controles.h"
#include "disposicion.h"

namespace comm {
class Ecos;
class PuertoControl;
class Traza;
}  // namespace comm

// Ventana principal en Win32: elección de puerto, velocidad e ID del indicador, panel de ayuda
// y los tres botones de trabajo. Dibuja y reparte eventos; las reglas son las de Cargador.
class frm_Carga : public carga::PantallaCarga {
 public:
  // `ajustes`: los de esta ejecución; `traza` puede faltar; `ecos` dura lo que el programa;
  // `pc` son los puertos de esta PC para la lista.
  frm_Carga(comm::PuertoControl& comm1, almacen::Ajustes ajustes, comm::Ecos& ecos,
            comm::Traza* traza = nullptr, carga::PuertosPc pc = {});
  ~frm_Carga() override;

  void Mostrar(int como);
  HWND Ventana() const { return ventana_; }
  LRESULT Mensaje(UINT mensaje, WPARAM w, LPARAM l);
  // Tab, Mayús+Tab e Intro sobre un botón, como en un diálogo; true si la tecla fue atendida.
  bool Tecla(const MSG& msg);

  // Las listas, la barra del ID y su etiqueta LabelId0.
  comm::Seleccion Eleccion() const override;
  void MostrarPuertos(const std::vector<std::string>& nombres) override;
  void MostrarEleccion(const comm::Seleccion& eleccion) override;
  // Chk_inicio; Frame2 se corre con SetWindowPos.
  bool NoMostrar() const override;
  void MarcarNoMostrar(bool marcada) override;
  void MostrarAyuda(bool visible) override;
  // lblVersion, la barra de estado, Lbl_Fin y los botones de trabajo.
  void Version(const std::string& texto) override;
  void Estado(const std::string& texto) override;
  void Aviso(const std::string& texto) override;
  void MostrarFin(bool visible) override;
  void HabilitarBuscar() override;
  void HabilitarSubir() override;
  // MessageBoxW, GetOpenFileNameW y el diálogo FrmComm.
  void Caja(const std::string& titulo, const std::string& texto, Icono icono) override;
  std::optional<std::filesystem::path> ElegirArchivo(const std::filesystem::path& carpeta) override;
  void Comunicar(comm::Peticion& peticion) override;
  // PostQuitMessage.
  void Terminar() override;

 private:
  void CrearVentana();
  void CrearAyuda();
  void CrearPrincipal();
  void CrearSerie();

  void Click(HWND control);
  void HScrollId0_Scroll(int codigo, int posicion);
  void HScrollId0_Change();
  LRESULT Colores(HDC dc, HWND control);
  template <typename Control, typename Ventana>
  friend std::array<Control, carga::disposicion::kParadasTabulacion>
  carga::disposicion::OrdenTabulacion(const Ventana& v);
  void Tabular(bool atras);

  comm::PuertoControl& comm1_;
  carga::Cargador cargador_;
  Letra letra_;
  Letra letraAyuda_;
  Letra letraDestacada_;
  Letra letraId_;
  std::unique_ptr<BarraEstado> sbStatusBar;
  HWND ventana_ = nullptr;
  HWND foco_ = nullptr;  // el control con foco cuando la ventana dejó de estar activa

  HWND Frame2 = nullptr;
  HWND Text1 = nullptr;
  HWND Chk_inicio = nullptr;
  HWND CmdCerrar = nullptr;
  HWND Frame1 = nullptr;
  HWND Label2 = nullptr;
  HWND fraSerie = nullptr;
  HWND LabelId0 = nullptr;
  HWND HScrollId0 = nullptr;
  HWND ListaPuerto = nullptr;
  HWND ListaBaudios = nullptr;
  HWND Cmd_Salir = nullptr;
  HWND CmdHelp = nullptr;
  HWND Lbl_Fin = nullptr;
  HWND CmdConect = nullptr;
  HWND CmdBuscar = nullptr;
  HWND CmdSubir = nullptr;
  HWND lblVersion = nullptr;
};

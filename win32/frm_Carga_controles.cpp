// Controles de la ventana principal: textos, lugares en twips, letras y orden de tabulación.
#include <algorithm>
#include <iterator>

#include "frm_Carga.h"
#include "texto_ayuda.h"
#include "textos.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

constexpr wchar_t kClase[] = L"frm_Carga";
// Tamaño fijo, sin maximizar.
constexpr DWORD kEstilo =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Un combo se crea con el alto de su lista desplegada: la caja cerrada mide lo que su letra.
constexpr int kRenglonesLista = 9;
constexpr int kMargenCasilla = 90;  // twips entre la casilla y su texto

HWND Boton(HWND contenedor, const char* texto, const Lugar& lugar, HFONT letra) {
  return Control(contenedor, WC_BUTTONW, texto, BS_PUSHBUTTON | WS_TABSTOP, lugar, letra);
}

HWND Etiqueta(HWND contenedor, const char* texto, const Lugar& lugar, HFONT letra) {
  return Control(contenedor, WC_STATICW, texto, SS_LEFT, lugar, letra);
}

HWND Lista(HWND contenedor, const Lugar& lugar, HFONT letra) {
  return Control(contenedor, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                 Lugar{lugar.left, lugar.top, lugar.width, lugar.height * kRenglonesLista}, letra);
}

}  // namespace

void frm_Carga::CrearVentana() {
  RegistrarClase(kClase, Procedimiento<frm_Carga>);

  const SIZE tamano =
      TamanoExterior(disposicion::kAnchoVentana, disposicion::kAltoVentana, kEstilo, 0);
  ventana_ = CreateWindowExW(0, kClase, Ancho(textos::kTitulo).c_str(), kEstilo, CW_USEDEFAULT,
                             CW_USEDEFAULT, tamano.cx, tamano.cy, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);

  CrearAyuda();
  sbStatusBar = std::make_unique<BarraEstado>(ventana_, letra_.get());
  CrearPrincipal();
  // Frame2 tapa a Frame1 cuando se corre a la vista.
  SetWindowPos(Frame2, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  foco_ = CmdConect;
}

void frm_Carga::CrearAyuda() {
  HFONT letra = letra_.get();
  Frame2 = Marco(ventana_, textos::kAyuda, disposicion::Frame2, letra);
  Text1 = Control(Frame2, WC_EDITW, kTextoAyuda,
                  ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                  disposicion::Text1, letraAyuda_.get(), WS_EX_CLIENTEDGE);
  Chk_inicio = Control(Frame2, WC_BUTTONW, textos::kNoMostrar, BS_AUTOCHECKBOX | WS_TABSTOP,
                       disposicion::Chk_inicio, letra);
  CmdCerrar = Boton(Frame2, textos::kCerrar, disposicion::CmdCerrar, letra);
  Ensanchar(Chk_inicio, GetSystemMetrics(SM_CXMENUCHECK) + Px(kMargenCasilla));
}

void frm_Carga::CrearPrincipal() {
  HFONT letra = letra_.get();
  Frame1 = Marco(ventana_, "", disposicion::Frame1, letra);
  Label2 = Control(Frame1, WC_STATICW, textos::kEncabezado, SS_CENTER, disposicion::Label2,
                   letraDestacada_.get());
  CrearSerie();
  Cmd_Salir = Boton(Frame1, textos::kSalir, disposicion::Cmd_Salir, letra);
  CmdHelp = Boton(Frame1, textos::kAyuda, disposicion::CmdHelp, letra);
  Lbl_Fin = Etiqueta(Frame1, textos::kFin, disposicion::Lbl_Fin, letraDestacada_.get());
  ShowWindow(Lbl_Fin, SW_HIDE);
  CmdConect = Boton(Frame1, textos::kConectar, disposicion::CmdConect, letra);
  CmdBuscar = Boton(Frame1, textos::kBuscar, disposicion::CmdBuscar, letra);
  EnableWindow(CmdBuscar, FALSE);
  CmdSubir = Boton(Frame1, textos::kSubir, disposicion::CmdSubir, letra);
  EnableWindow(CmdSubir, FALSE);
  lblVersion = Etiqueta(Frame1, "", disposicion::lblVersion, letra);
}

void frm_Carga::CrearSerie() {
  HFONT letra = letra_.get();
  fraSerie = Marco(Frame1, textos::kSerie, disposicion::fraSerie, letra);
  Ensanchar(Etiqueta(fraSerie, textos::kEtiquetaId, disposicion::Label1, letra), 0);
  LabelId0 = Control(fraSerie, WC_STATICW, "0", SS_CENTER | SS_CENTERIMAGE | WS_BORDER,
                     disposicion::LabelId0, letraId_.get());
  HScrollId0 =
      Control(fraSerie, WC_SCROLLBARW, "", SBS_HORZ | WS_TABSTOP, disposicion::HScrollId0, letra);
  SetScrollRange(HScrollId0, SB_CTL, 0, disposicion::kIdMaximo, FALSE);
  Ensanchar(Etiqueta(fraSerie, textos::kPuerto, disposicion::LblPuerto, letra), 0);
  ListaPuerto = Lista(fraSerie, disposicion::ListaPuerto, letra);
  Ensanchar(Etiqueta(fraSerie, textos::kBaudios, disposicion::LblBaudios, letra), 0);
  ListaBaudios = Lista(fraSerie, disposicion::ListaBaudios, letra);
  for (const char* velocidad : textos::kVelocidades) Agregar(ListaBaudios, velocidad);
}

void frm_Carga::Tabular(bool atras) {
  const auto orden = disposicion::OrdenTabulacion<HWND>(*this);
  const std::size_t cuantos = orden.size();
  std::size_t actual = std::find(orden.begin(), orden.end(), GetFocus()) - orden.begin();
  if (actual == cuantos) actual = atras ? 0 : cuantos - 1;
  for (std::size_t paso = 1; paso <= cuantos; ++paso) {
    HWND siguiente = orden[(actual + (atras ? cuantos - paso : paso)) % cuantos];
    if (IsWindowEnabled(siguiente) && IsWindowVisible(siguiente)) {
      SetFocus(siguiente);
      // Con el teclado en uso se dibuja el recuadro del foco.
      SendMessageW(ventana_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      return;
    }
  }
}

#include "FrmComm.h"

#include <cmath>

#include "comunicacion.h"
#include "textos.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

constexpr wchar_t kClase[] = L"FrmComm";
constexpr UINT_PTR kTimerOn = 1;
constexpr DWORD kEstilo = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kEstiloExtendido = WS_EX_DLGMODALFRAME;

// Centro de `exterior` para una ventana de `tamano`.
POINT Centro(const RECT& exterior, const SIZE& tamano) {
  return POINT{exterior.left + (exterior.right - exterior.left) / 2 - tamano.cx / 2,
               exterior.top + (exterior.bottom - exterior.top) / 2 - tamano.cy / 2};
}

}  // namespace

FrmComm::FrmComm(HWND dueno, PuertoControl& comm1)
    : dueno_(dueno),
      comm1_(comm1),
      letra_(NuevaLetra(disposicion::kLetraVentana, disposicion::kPuntosVentana, false)) {}

void FrmComm::Mostrar(Peticion& peticion) {
  peticion_ = &peticion;
  terminado_ = false;
  Crear();
  Colocar();
  Form_Load();

  EnableWindow(dueno_, FALSE);
  ShowWindow(ventana_, SW_SHOW);
  SetFocus(CmdCancel);
  MSG msg;
  while (!terminado_) {
    const BOOL hay = GetMessageW(&msg, nullptr, 0, 0);
    if (hay == 0) PostQuitMessage(static_cast<int>(msg.wParam));
    if (hay <= 0) break;
    Atender(msg);
  }
  // El dueño se habilita antes de cerrar, para que recupere el foco.
  EnableWindow(dueno_, TRUE);
  DestroyWindow(ventana_);
  ventana_ = nullptr;
  peticion_ = nullptr;
}

void FrmComm::Crear() {
  RegistrarClase(kClase, Procedimiento<FrmComm>);
  const SIZE tamano = TamanoExterior(disposicion::kAnchoComunicando, disposicion::kAltoComunicando,
                                     kEstilo, kEstiloExtendido);
  ventana_ = CreateWindowExW(kEstiloExtendido, kClase, L"", kEstilo, 0, 0, tamano.cx, tamano.cy,
                             dueno_, nullptr, GetModuleHandleW(nullptr), this);
  HFONT letra = letra_.get();
  Label1 = Control(ventana_, WC_STATICW, "", SS_LEFT, disposicion::ComLabel1, letra);
  ProgBar = Control(ventana_, PROGRESS_CLASSW, "", 0, disposicion::ProgBar, letra);
  SendMessageW(ProgBar, PBM_SETRANGE32, 0, 100);
  CmdCancel =
      Control(ventana_, WC_BUTTONW, "", BS_PUSHBUTTON | WS_TABSTOP, disposicion::CmdCancel, letra);
}

// Centrado sobre el dueño: con dos pantallas aparece donde el operador está mirando.
void FrmComm::Colocar() {
  RECT propio;
  GetWindowRect(ventana_, &propio);
  const SIZE tamano{propio.right - propio.left, propio.bottom - propio.top};
  RECT exterior;
  GetWindowRect(dueno_, &exterior);
  const POINT lugar = Centro(exterior, tamano);
  SetWindowPos(ventana_, nullptr, lugar.x, lugar.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmComm::Form_Load() {
  SetWindowTextW(ventana_, Ancho(textos::kComunicando).c_str());
  SetWindowTextW(CmdCancel, Ancho(textos::kCancelar).c_str());
  SetWindowTextW(Label1, Ancho(textos::kEnviando).c_str());
  SendMessageW(ProgBar, PBM_SETPOS, 0, 0);
  AbrirPuerto(comm1_, *peticion_);
  SetTimer(ventana_, kTimerOn, kMsTimerOn, nullptr);
}

void FrmComm::TimerOn_Timer() {
  // Se apaga en su primer tic: una petición por cada vez que se muestra.
  KillTimer(ventana_, kTimerOn);
  enCurso_ = true;
  HacerPeticion(
      *peticion_, comm1_,
      VistaComunicando{
          [this](const std::string& texto) { SetWindowTextW(Label1, Ancho(texto).c_str()); },
          [this](float valor) { SendMessageW(ProgBar, PBM_SETPOS, std::lround(valor), 0); },
          [this] { ProcesarEventos(); }});
  enCurso_ = false;
  terminado_ = true;
}

void FrmComm::CmdCancel_Click() {
  if (enCurso_) peticion_->xCancel = true;
}

void FrmComm::Atender(const MSG& msg) {
  const bool propio = msg.hwnd == ventana_ || IsChild(ventana_, msg.hwnd);
  // Escape, o Intro sobre "Cancelar" como en un diálogo.
  const bool cancelar =
      msg.wParam == VK_ESCAPE || (msg.wParam == VK_RETURN && msg.hwnd == CmdCancel);
  if (propio && msg.message == WM_KEYDOWN && cancelar) {
    CmdCancel_Click();
    return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// Lo pendiente, una vez: así un clic en "Cancelar" llega entre registro y registro.
void FrmComm::ProcesarEventos() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Atender(msg);
  }
}

LRESULT FrmComm::Mensaje(UINT mensaje, WPARAM w, LPARAM l) {
  switch (mensaje) {
    case WM_TIMER:
      if (w == kTimerOn) TimerOn_Timer();
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(l) == CmdCancel && HIWORD(w) == BN_CLICKED) CmdCancel_Click();
      return 0;
    case WM_CLOSE:
      // Cerrar desde el marco es pedir que pare; el diálogo se cierra solo al acabar.
      CmdCancel_Click();
      return 0;
    default:
      return DefWindowProcW(ventana_, mensaje, w, l);
  }
}

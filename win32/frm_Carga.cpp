#include "frm_Carga.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "FrmComm.h"
#include "textos.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

// Más que MAX_PATH: la carpeta del programa puede estar en una ruta larga.
constexpr std::size_t kLargoRuta = 32768;

UINT Icono(PantallaCarga::Icono icono) {
  switch (icono) {
    case PantallaCarga::Icono::Critico:
      return MB_ICONERROR;
    case PantallaCarga::Icono::Exclamacion:
      return MB_ICONWARNING;
    case PantallaCarga::Icono::Ninguno:
      break;
  }
  return 0;
}

// Posición `posicion` de la lista, o ninguna si no existe.
void Elegir(HWND lista, long posicion) {
  const LRESULT cuantos = SendMessageW(lista, CB_GETCOUNT, 0, 0);
  const bool existe = posicion >= 0 && posicion < cuantos;
  SendMessageW(lista, CB_SETCURSEL,
               existe ? static_cast<WPARAM>(posicion) : static_cast<WPARAM>(-1), 0);
}

long Elegido(HWND lista) {
  return static_cast<long>(SendMessageW(lista, CB_GETCURSEL, 0, 0));
}

LRESULT Fondo(HDC dc, int color) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(color));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(color));
}

}  // namespace

frm_Carga::frm_Carga(PuertoControl& comm1, Ajustes ajustes, Ecos& ecos, Traza* traza, PuertosPc pc)
    : comm1_(comm1),
      cargador_(*this, std::move(ajustes), traza, ecos, std::move(pc)),
      letra_(NuevaLetra(disposicion::kLetraVentana, disposicion::kPuntosVentana, false)),
      letraAyuda_(NuevaLetra(disposicion::kLetraVentana, disposicion::kPuntosAyuda, false)),
      letraDestacada_(NuevaLetra(disposicion::kLetraVentana, disposicion::kPuntosDestacado, true)),
      letraId_(NuevaLetra(disposicion::kLetraId, disposicion::kPuntosId, true)) {
  CrearVentana();
  cargador_.Form_Load();
}

frm_Carga::~frm_Carga() {
  // Sin el objeto, los mensajes del cierre van al procedimiento por defecto.
  SetWindowLongPtrW(ventana_, GWLP_USERDATA, 0);
  DestroyWindow(ventana_);
}

void frm_Carga::Mostrar(int como) {
  ShowWindow(ventana_, como);
  UpdateWindow(ventana_);
  SetFocus(CmdConect);
}

bool frm_Carga::Tecla(const MSG& msg) {
  const bool propia = msg.hwnd == ventana_ || IsChild(ventana_, msg.hwnd);
  if (msg.message != WM_KEYDOWN || !propia) return false;
  if (msg.wParam == VK_TAB) {
    Tabular(GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  const HWND botones[] = {CmdConect, CmdBuscar, CmdSubir, Cmd_Salir, CmdHelp, CmdCerrar};
  if (msg.wParam == VK_RETURN && std::count(std::begin(botones), std::end(botones), msg.hwnd)) {
    SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

Seleccion frm_Carga::Eleccion() const {
  return Seleccion{Elegido(ListaPuerto) + 1, Elegido(ListaBaudios),
                   GetScrollPos(HScrollId0, SB_CTL)};
}

void frm_Carga::MostrarPuertos(const std::vector<std::string>& nombres) {
  SendMessageW(ListaPuerto, CB_RESETCONTENT, 0, 0);
  for (const std::string& nombre : nombres) Agregar(ListaPuerto, nombre.c_str());
}

void frm_Carga::MostrarEleccion(const Seleccion& eleccion) {
  Elegir(ListaPuerto, eleccion.puerto - 1);
  Elegir(ListaBaudios, eleccion.baudios);
  SetScrollPos(HScrollId0, SB_CTL,
               static_cast<int>(std::clamp(eleccion.id, 0L, long{disposicion::kIdMaximo})), TRUE);
  HScrollId0_Change();
}

bool frm_Carga::NoMostrar() const {
  return SendMessageW(Chk_inicio, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Un cambio de la casilla desde el programa cuenta como el del operador: se guarda.
void frm_Carga::MarcarNoMostrar(bool marcada) {
  if (marcada == NoMostrar()) return;
  SendMessageW(Chk_inicio, BM_SETCHECK, marcada ? BST_CHECKED : BST_UNCHECKED, 0);
  cargador_.Chk_inicio_Click();
}

void frm_Carga::MostrarAyuda(bool visible) {
  const int left = visible ? 0 : disposicion::kAyudaOculta;
  SetWindowPos(Frame2, nullptr, Px(left), Px(disposicion::Frame2.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frm_Carga::Version(const std::string& texto) {
  SetWindowTextW(lblVersion, Ancho(texto).c_str());
}

void frm_Carga::Estado(const std::string& texto) {
  sbStatusBar->Estado(texto);
}

void frm_Carga::Aviso(const std::string& texto) {
  sbStatusBar->Aviso(texto);
}

void frm_Carga::MostrarFin(bool visible) {
  ShowWindow(Lbl_Fin, visible ? SW_SHOW : SW_HIDE);
}

void frm_Carga::HabilitarBuscar() {
  EnableWindow(CmdBuscar, TRUE);
}

void frm_Carga::HabilitarSubir() {
  EnableWindow(CmdSubir, TRUE);
}

void frm_Carga::Caja(const std::string& titulo, const std::string& texto, Icono icono) {
  MessageBoxW(ventana_, Ancho(texto).c_str(), Ancho(titulo).c_str(), MB_OK | ::Icono(icono));
}

std::optional<std::filesystem::path> frm_Carga::ElegirArchivo(
    const std::filesystem::path& carpeta) {
  const std::wstring inicial = carpeta.wstring();
  // Una sola entrada: descripción y patrón, cada uno terminado en NUL, y un NUL más al final.
  const std::wstring filtro =
      Ancho(textos::kFiltroNombre) + L'\0' + Ancho(textos::kFiltroPatron) + L'\0';
  // La carpeta en lpstrFile: desde Windows 7, lpstrInitialDir pierde ante la última carpeta
  // usada, y una ruta en lpstrFile no.
  std::wstring archivo = inicial + L'\\';
  archivo.resize(kLargoRuta, L'\0');
  OPENFILENAMEW datos{};
  datos.lStructSize = sizeof datos;
  datos.hwndOwner = ventana_;
  datos.lpstrFilter = filtro.c_str();
  datos.lpstrFile = archivo.data();
  datos.nMaxFile = static_cast<DWORD>(archivo.size());
  datos.lpstrInitialDir = inicial.c_str();
  // Sin OFN_NOCHANGEDIR el diálogo deja la carpeta actual donde se eligió el archivo.
  datos.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&datos)) return std::nullopt;
  return std::filesystem::path(archivo.c_str());
}

void frm_Carga::Comunicar(Peticion& peticion) {
  FrmComm dialogo(ventana_, comm1_);
  dialogo.Mostrar(peticion);
}

// Sin más eventos de la ventana: el bucle de mensajes termina con el WM_QUIT.
void frm_Carga::Terminar() {
  ShowWindow(ventana_, SW_HIDE);
  PostQuitMessage(0);
}

LRESULT frm_Carga::Mensaje(UINT mensaje, WPARAM w, LPARAM l) {
  switch (mensaje) {
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED) Click(reinterpret_cast<HWND>(l));
      return 0;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(l) == HScrollId0) HScrollId0_Scroll(LOWORD(w), HIWORD(w));
      return 0;
    case WM_CTLCOLORSTATIC:
      return Colores(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_TIMER:
      sbStatusBar->Tic(w);
      return 0;
    case WM_ACTIVATE:
      // La ventana no es un diálogo: guarda y devuelve el foco ella misma.
      if (LOWORD(w) == WA_INACTIVE) {
        HWND foco = GetFocus();
        if (IsChild(ventana_, foco)) foco_ = foco;
      } else if (IsWindow(foco_)) {
        SetFocus(foco_);
      }
      return 0;
    case WM_CLOSE: {
      // Cerrar desde el marco, el menú o Alt+F4: Form_Unload lo rechaza con su aviso.
      std::int16_t cancel = 0;
      cargador_.Form_Unload(cancel);
      return 0;
    }
    case WM_QUERYENDSESSION: {
      // Apagar o cerrar la sesión se rechaza igual, salvo cuando Windows no deja elegir.
      if ((l & ENDSESSION_CRITICAL) != 0) return TRUE;
      std::int16_t cancel = 0;
      cargador_.Form_Unload(cancel);
      return cancel == 0;
    }
    default:
      return DefWindowProcW(ventana_, mensaje, w, l);
  }
}

void frm_Carga::Click(HWND control) {
  if (control == CmdHelp) MostrarAyuda(true);
  if (control == CmdCerrar) MostrarAyuda(false);
  if (control == Chk_inicio) cargador_.Chk_inicio_Click();
  if (control == Cmd_Salir) cargador_.Cmd_Salir_Click();
  if (control == CmdConect) cargador_.CmdConect_Click();
  if (control == CmdBuscar) cargador_.CmdBuscar_Click();
  if (control == CmdSubir) cargador_.CmdSubir_Click();
}

// Flechas, clics y Re Pág/Av Pág mueven el ID; el arrastre lo cambia solo al soltar.
void frm_Carga::HScrollId0_Scroll(int codigo, int posicion) {
  const int antes = GetScrollPos(HScrollId0, SB_CTL);
  int valor = antes;
  switch (codigo) {
    case SB_LINELEFT:
      valor -= 1;
      break;
    case SB_LINERIGHT:
      valor += 1;
      break;
    case SB_PAGELEFT:
      valor -= disposicion::kPasoPaginaId;
      break;
    case SB_PAGERIGHT:
      valor += disposicion::kPasoPaginaId;
      break;
    case SB_LEFT:
      valor = 0;
      break;
    case SB_RIGHT:
      valor = disposicion::kIdMaximo;
      break;
    case SB_THUMBPOSITION:
      valor = posicion;
      break;
    default:
      return;
  }
  valor = std::clamp(valor, 0, disposicion::kIdMaximo);
  if (valor == antes) return;
  SetScrollPos(HScrollId0, SB_CTL, valor, TRUE);
  HScrollId0_Change();
}

void frm_Carga::HScrollId0_Change() {
  SetWindowTextW(LabelId0, std::to_wstring(GetScrollPos(HScrollId0, SB_CTL)).c_str());
}

// Título y "FINALIZADO con EXITO" en azul; el ID sobre el color de texto resaltado; la ayuda
// sobre fondo de texto aunque sea de solo lectura.
LRESULT frm_Carga::Colores(HDC dc, HWND control) {
  if (control == Label2 || control == Lbl_Fin) {
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  if (control == LabelId0) return Fondo(dc, COLOR_HIGHLIGHTTEXT);
  if (control == Text1) return Fondo(dc, COLOR_WINDOW);
  return DefWindowProcW(ventana_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

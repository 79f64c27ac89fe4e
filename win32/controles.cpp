#include "controles.h"

#include <cmath>

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

constexpr wchar_t kClaseMarco[] = L"Marco";

int PuntosPorPulgada() {
  static const int ppp = [] {
    HDC pantalla = GetDC(nullptr);
    const int valor = GetDeviceCaps(pantalla, LOGPIXELSX);
    ReleaseDC(nullptr, pantalla);
    return valor;
  }();
  return ppp;
}

// Un marco reenvía a su contenedor los avisos y pedidos de color de sus controles, para que una
// sola ventana los atienda. Su recuadro queda debajo de cada control que se le agrega.
LRESULT CALLBACK ProcMarco(HWND marco, UINT mensaje, WPARAM w, LPARAM l) {
  switch (mensaje) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetParent(marco), mensaje, w, l);
    case WM_PARENTNOTIFY:
      if (LOWORD(w) == WM_CREATE) {
        auto recuadro = reinterpret_cast<HWND>(GetWindowLongPtrW(marco, GWLP_USERDATA));
        if (recuadro)
          SetWindowPos(recuadro, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return 0;
    default:
      return DefWindowProcW(marco, mensaje, w, l);
  }
}

}  // namespace

int Px(int twips) {
  return MulDiv(twips, PuntosPorPulgada(), 1440);
}

Letra NuevaLetra(const char* familia, double puntos, bool negrita) {
  LOGFONTW datos{};
  datos.lfHeight = -static_cast<LONG>(std::lround(puntos * PuntosPorPulgada() / 72.0));
  datos.lfWeight = negrita ? FW_BOLD : FW_NORMAL;
  datos.lfCharSet = DEFAULT_CHARSET;
  datos.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(datos.lfFaceName, Ancho(familia).c_str(), LF_FACESIZE);
  return Letra(CreateFontIndirectW(&datos));
}

HWND Control(HWND contenedor, const wchar_t* clase, const std::string& texto, DWORD estilo,
             const Lugar& lugar, HFONT letra, DWORD estiloExtendido) {
  HWND control = CreateWindowExW(estiloExtendido, clase, Ancho(texto).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | estilo, Px(lugar.left),
                                 Px(lugar.top), Px(lugar.width), Px(lugar.height), contenedor,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(letra), FALSE);
  return control;
}

HWND Marco(HWND contenedor, const std::string& titulo, const Lugar& lugar, HFONT letra) {
  RegistrarClase(kClaseMarco, ProcMarco);
  // Sin WS_CLIPCHILDREN: el recuadro lo cubre entero y no pinta su interior, así que el
  // fondo del marco se pinta también debajo de él.
  HWND marco = CreateWindowExW(WS_EX_CONTROLPARENT, kClaseMarco, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Px(lugar.left),
                               Px(lugar.top), Px(lugar.width), Px(lugar.height), contenedor,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND recuadro =
      Control(marco, L"BUTTON", titulo, BS_GROUPBOX, Lugar{0, 0, lugar.width, lugar.height}, letra);
  SetWindowLongPtrW(marco, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(recuadro));
  return marco;
}

int AnchoTexto(HWND control, const std::wstring& texto) {
  HDC dc = GetDC(control);
  HGDIOBJ anterior =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE medida{};
  GetTextExtentPoint32W(dc, texto.c_str(), static_cast<int>(texto.size()), &medida);
  SelectObject(dc, anterior);
  ReleaseDC(control, dc);
  return medida.cx;
}

void Agregar(HWND lista, const std::string& texto) {
  SendMessageW(lista, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Ancho(texto).c_str()));
}

void Ensanchar(HWND control, int agregado) {
  std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  texto.resize(static_cast<std::size_t>(
      GetWindowTextW(control, texto.data(), static_cast<int>(texto.size()))));
  RECT rect;
  GetWindowRect(control, &rect);
  const int ancho = AnchoTexto(control, texto) + agregado;
  if (ancho > rect.right - rect.left)
    SetWindowPos(control, nullptr, 0, 0, ancho, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RegistrarClase(const wchar_t* nombre, WNDPROC proc) {
  WNDCLASSW clase{};
  if (GetClassInfoW(GetModuleHandleW(nullptr), nombre, &clase)) return;
  clase.lpfnWndProc = proc;
  clase.hInstance = GetModuleHandleW(nullptr);
  clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  clase.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  clase.lpszClassName = nombre;
  RegisterClassW(&clase);
}

SIZE TamanoExterior(int ancho, int alto, DWORD estilo, DWORD estiloExtendido) {
  RECT rect{0, 0, Px(ancho), Px(alto)};
  AdjustWindowRectEx(&rect, estilo, FALSE, estiloExtendido);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

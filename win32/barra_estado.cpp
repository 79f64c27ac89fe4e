#include "barra_estado.h"

#include "controles.h"
#include "pantalla_carga.h"
#include "textos.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

constexpr UINT_PTR kReloj = 1;
constexpr UINT_PTR kFinAviso = 2;
// Cada segundo: la hora corta cambia de minuto en minuto y así nunca queda atrasada.
constexpr UINT kMsReloj = 1000;
constexpr int kMargenPanel = 150;  // twips a cada lado del texto de fecha y hora

// Fecha u hora corta de Windows (GetDateFormatW o GetTimeFormatW, que se llaman igual).
using Formato = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int);

std::wstring Formatear(Formato formato, DWORD opciones, const SYSTEMTIME& ahora) {
  wchar_t texto[80];
  const int largo = formato(LOCALE_USER_DEFAULT, opciones, &ahora, nullptr, texto, 80);
  return std::wstring(texto, largo > 0 ? static_cast<std::size_t>(largo - 1) : 0);
}

}  // namespace

BarraEstado::BarraEstado(HWND dueno, HFONT letra)
    : dueno_(dueno),
      // Sin acomodarse sola al borde: su lugar en twips es el de la tabla.
      barra_(Control(dueno, STATUSCLASSNAMEW, "", CCS_NORESIZE | CCS_NOPARENTALIGN,
                     disposicion::sbStatusBar, letra)) {
  Estado(textos::kEstado);
  ActualizarFechaHora();
  SetTimer(dueno_, kReloj, kMsReloj, nullptr);
}

void BarraEstado::Estado(const std::string& texto) {
  estado_ = Ancho(texto);
  if (!conAviso_) MostrarPanel1(estado_);
}

void BarraEstado::Aviso(const std::string& texto) {
  conAviso_ = true;
  MostrarPanel1(Ancho(texto));
  SetTimer(dueno_, kFinAviso, PantallaCarga::kMsAviso, nullptr);
}

bool BarraEstado::Tic(UINT_PTR temporizador) {
  if (temporizador == kReloj) {
    ActualizarFechaHora();
  } else if (temporizador == kFinAviso) {
    KillTimer(dueno_, kFinAviso);
    conAviso_ = false;
    MostrarPanel1(estado_);
  } else {
    return false;
  }
  return true;
}

// Los paneles 2 y 3 miden lo que su texto; el 1 ocupa el resto.
void BarraEstado::ActualizarFechaHora() {
  SYSTEMTIME ahora;
  GetLocalTime(&ahora);
  const std::wstring fecha = Formatear(GetDateFormatW, DATE_SHORTDATE, ahora);
  const std::wstring hora = Formatear(GetTimeFormatW, TIME_NOSECONDS, ahora);
  RECT rect;
  GetClientRect(barra_, &rect);
  const int anchoHora = AnchoTexto(barra_, hora) + 2 * Px(kMargenPanel);
  const int anchoFecha = AnchoTexto(barra_, fecha) + 2 * Px(kMargenPanel);
  const int bordes[3] = {rect.right - anchoFecha - anchoHora, rect.right - anchoHora, -1};
  SendMessageW(barra_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(bordes));
  SendMessageW(barra_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(fecha.c_str()));
  SendMessageW(barra_, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(hora.c_str()));
}

void BarraEstado::MostrarPanel1(const std::wstring& texto) {
  SendMessageW(barra_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(texto.c_str()));
}

#include "puerto_serie_win.h"

#include <windows.h>
// clang-format off
#include <mmsystem.h>
// clang-format on

#include <algorithm>

#include "falla_apertura.h"
#include "plazo.h"

using namespace comm;

namespace {

// Entregar unos pocos bytes al controlador es inmediato; el plazo solo evita quedar colgado de
// un controlador que no los toma.
constexpr DWORD kEntregaMs = 100;
// Tras el primer byte, un silencio así devuelve la lectura antes del plazo. Si aún faltan
// bytes se vuelve a leer lo que queda: partir la respuesta no cambia el resultado.
constexpr DWORD kSilencioMs = 5;
// Una espera larga se hace en tramos, y entre tramos se mira si el puerto sigue ahí: wine
// gira dentro de una lectura sobre una línea cortada en vez de fallar.
constexpr int kTramoMs = 100;
// Lo más que se pide al controlador de una vez.
constexpr std::size_t kTrozo = 4096;

BYTE Paridad(char letra) {
  switch (letra) {
    case 'e':
      return EVENPARITY;
    case 'o':
      return ODDPARITY;
    case 'm':
      return MARKPARITY;
    case 's':
      return SPACEPARITY;
    default:
      return NOPARITY;
  }
}

FallaApertura Falla(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FallaApertura::NoExiste;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return FallaApertura::EnUso;
    default:
      return FallaApertura::Otra;
  }
}

// El prefijo \\.\ hace falta desde COM10 y no estorba en los demás; un nombre de [Puertos]
// que ya lo trae queda como está.
std::wstring Ruta(const std::string& dispositivo) {
  const std::wstring ancho(dispositivo.begin(), dispositivo.end());
  return ancho.rfind(L"\\\\", 0) == 0 ? ancho : L"\\\\.\\" + ancho;
}

HANDLE Manejador(void* manejador) {
  return static_cast<HANDLE>(manejador);
}

}  // namespace

PuertoSerieWin::PuertoSerieWin() : manejador_(INVALID_HANDLE_VALUE) {}

PuertoSerieWin::~PuertoSerieWin() {
  Cerrar();
}

bool PuertoSerieWin::AplicarRts(bool alto) {
  return EscapeCommFunction(Manejador(manejador_), alto ? SETRTS : CLRRTS);
}

bool PuertoSerieWin::PortOpen() const {
  return manejador_ != INVALID_HANDLE_VALUE;
}

bool PuertoSerieWin::SetPortOpen(bool abrir) {
  if (!abrir) {
    Cerrar();
    return true;
  }
  if (PortOpen()) return false;
  dispositivo_ = DispositivoElegido();
  manejador_ = CreateFileW(Ruta(dispositivo_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!PortOpen()) {
    errorApertura_ = MotivoFalla(Falla(GetLastError()));
    return false;
  }
  // Con el reloj de 15,6 ms de Windows, el silencio de 3,5 caracteres y los plazos de pocos ms
  // del controlador durarían un tic; Cerrar lo devuelve.
  timeBeginPeriod(1);
  // Los ajustes guardados con el puerto cerrado se aplican al abrir; si no valen, no abre.
  if (!AplicarLinea(linea_) || !Plazos(MAXDWORD, 0)) {
    Cerrar();
    errorApertura_ = MotivoFalla(FallaApertura::Configuracion);
    return false;
  }
  errorApertura_.clear();
  ultimaRecepcion_ = {};
  return true;
}

std::string PuertoSerieWin::Input() {
  Recoger();
  std::string datos;
  datos.swap(recibidos_);
  return datos;
}

void PuertoSerieWin::Output(const std::string& datos) {
  if (!PortOpen()) return;
  DWORD escritos = 0;
  // Un plazo vencido devuelve éxito con menos bytes; un fallo es un puerto que ya no está.
  if (!WriteFile(Manejador(manejador_), datos.data(), static_cast<DWORD>(datos.size()), &escritos,
                 nullptr)) {
    Cerrar();
  }
}

std::size_t PuertoSerieWin::InBufferCount() {
  Recoger();
  return recibidos_.size();
}

void PuertoSerieWin::Esperar(std::size_t n, Reloj::time_point limite) {
  Recoger();
  while (PortOpen() && recibidos_.size() < n) {
    const int tramo = std::min(MsHasta(limite), kTramoMs);
    if (tramo == 0 || !Plazos(kSilencioMs, static_cast<DWORD>(tramo))) break;
    const Reloj::time_point mitad = Reloj::now() + std::chrono::milliseconds(tramo / 2);
    // Un controlador que vuelve vacío mucho antes del tramo no se reintenta, para no girar.
    if (Leer(n - recibidos_.size()) == 0 && Reloj::now() < mitad) break;
    Recoger();
  }
  if (!PortOpen() || recibidos_.size() < n) DormirHasta(limite);
}

bool PuertoSerieWin::AplicarLinea(const AjustesLinea& linea) {
  if (!PortOpen()) return true;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(Manejador(manejador_), &dcb)) return false;
  dcb.BaudRate = static_cast<DWORD>(linea.baudios);
  dcb.ByteSize = static_cast<BYTE>(linea.bitsDatos);
  dcb.Parity = Paridad(linea.paridad);
  dcb.StopBits = linea.bitsParada == 2 ? TWOSTOPBITS : ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = linea.paridad != 'n';
  // Sin control de flujo de ningún tipo y sin descartar bytes nulos: todo byte pasa tal cual.
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = rts_ ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = FALSE;
  return SetCommState(Manejador(manejador_), &dcb);
}

// Plazos de lectura del controlador: {MAXDWORD, 0} devuelve al instante lo que haya. La
// escritura tiene lo que tarda la trama en la línea más kEntregaMs.
bool PuertoSerieWin::Plazos(unsigned long intervaloMs, unsigned long totalMs) {
  COMMTIMEOUTS plazos{};
  plazos.ReadIntervalTimeout = intervaloMs;
  plazos.ReadTotalTimeoutConstant = totalMs;
  plazos.WriteTotalTimeoutMultiplier = static_cast<DWORD>(10000 / linea_.baudios + 1);
  plazos.WriteTotalTimeoutConstant = kEntregaMs;
  return SetCommTimeouts(Manejador(manejador_), &plazos);
}

// Lee hasta `n` bytes con los plazos puestos y los agrega al búfer; devuelve cuántos llegaron.
// Un fallo de lectura es un adaptador que ya no está: se cierra, y las esperas duermen.
std::size_t PuertoSerieWin::Leer(std::size_t n) {
  std::string trozo(std::min(n, kTrozo), '\0');
  DWORD leidos = 0;
  if (!ReadFile(Manejador(manejador_), trozo.data(), static_cast<DWORD>(trozo.size()), &leidos,
                nullptr)) {
    Cerrar();
    return 0;
  }
  if (leidos > 0) ultimaRecepcion_ = Reloj::now();
  recibidos_.append(trozo, 0, leidos);
  return leidos;
}

// Pasa al búfer lo que el controlador ya tiene recibido, sin esperar. ClearCommError también
// limpia errores de trama o desborde, que de otro modo detendrían la lectura.
void PuertoSerieWin::Recoger() {
  if (!PortOpen()) return;
  DWORD errores = 0;
  COMSTAT estado{};
  if (!ClearCommError(Manejador(manejador_), &errores, &estado)) {
    Cerrar();
    return;
  }
  if (estado.cbInQue > 0 && Plazos(MAXDWORD, 0)) Leer(estado.cbInQue);
}

void PuertoSerieWin::Cerrar() {
  if (PortOpen()) {
    CloseHandle(Manejador(manejador_));
    timeEndPeriod(1);
  }
  manejador_ = INVALID_HANDLE_VALUE;
  recibidos_.clear();
}

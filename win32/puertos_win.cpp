#include "puertos_win.h"

// clang-format off
#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <map>
#include <string>

#include "controles.h"

using namespace almacen;
using namespace comm;
using namespace carga;
using namespace ordenes;

namespace {

// Texto de un valor REG_SZ, sin el NUL final que el registro suele guardar.
std::wstring Valor(const wchar_t* datos, DWORD bytes) {
  std::wstring texto(datos, bytes / sizeof(wchar_t));
  while (!texto.empty() && texto.back() == L'\0') texto.pop_back();
  return texto;
}

// "COM3" -> "USB Serial Port (COM3)", de los dispositivos de la clase Puertos.
std::map<std::wstring, std::wstring> NombresAmigables() {
  std::map<std::wstring, std::wstring> nombres;
  HDEVINFO lista = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (lista == INVALID_HANDLE_VALUE) return nombres;
  SP_DEVINFO_DATA dispositivo{};
  dispositivo.cbSize = sizeof dispositivo;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(lista, i, &dispositivo); ++i) {
    HKEY clave =
        SetupDiOpenDevRegKey(lista, &dispositivo, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (clave == INVALID_HANDLE_VALUE) continue;
    wchar_t puerto[256];
    DWORD bytes = sizeof puerto;
    DWORD tipo = 0;
    const bool conNombre =
        RegQueryValueExW(clave, L"PortName", nullptr, &tipo, reinterpret_cast<BYTE*>(puerto),
                         &bytes) == ERROR_SUCCESS &&
        tipo == REG_SZ;
    RegCloseKey(clave);
    wchar_t amigable[512];
    if (conNombre && SetupDiGetDeviceRegistryPropertyW(lista, &dispositivo, SPDRP_FRIENDLYNAME,
                                                       nullptr, reinterpret_cast<BYTE*>(amigable),
                                                       sizeof amigable, nullptr)) {
      nombres[Valor(puerto, bytes)] = amigable;
    }
  }
  SetupDiDestroyDeviceInfoList(lista);
  return nombres;
}

}  // namespace

// La lista de puertos la da el registro (también bajo wine); las descripciones, SetupAPI.
std::vector<PuertoDelSistema> PuertosDelSistema() {
  std::vector<PuertoDelSistema> puertos;
  HKEY clave;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &clave) !=
      ERROR_SUCCESS) {
    return puertos;
  }
  const std::map<std::wstring, std::wstring> amigables = NombresAmigables();
  for (DWORD i = 0;; ++i) {
    wchar_t nombre[256];
    DWORD largoNombre = 256;
    wchar_t datos[256];
    DWORD bytes = sizeof datos;
    DWORD tipo = 0;
    if (RegEnumValueW(clave, i, nombre, &largoNombre, nullptr, &tipo,
                      reinterpret_cast<BYTE*>(datos), &bytes) != ERROR_SUCCESS) {
      break;
    }
    if (tipo != REG_SZ) continue;
    const std::wstring com = Valor(datos, bytes);
    const auto amigable = amigables.find(com);
    puertos.push_back({Utf8(com), amigable == amigables.end() ? "" : Utf8(amigable->second)});
  }
  RegCloseKey(clave);
  return puertos;
}

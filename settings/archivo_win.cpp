#include <windows.h>

#include "archivo.h"
#include "nombres.h"
#include "texto_ancho.h"

namespace almacen {

// Las rutas van en UTF-8 y se llaman las funciones anchas: las de 8 bits no abren una carpeta
// cuyo nombre queda fuera de la página de códigos de la PC (un perfil en cirílico o en griego).
namespace {

constexpr wchar_t kNombre[] = L"Brun_Kqt.ini";

// "<carpeta>\", o nada sin carpeta: el nombre suelto.
std::wstring ConSeparador(const std::filesystem::path& carpeta) {
  std::wstring texto = carpeta.wstring();
  if (!texto.empty() && texto.back() != L'\\' && texto.back() != L'/') texto += L'\\';
  return texto;
}

// Vivo mientras no se sepa que terminó: un proceso ajeno que no se deja abrir también cuenta.
bool Vivo(unsigned long proceso) {
  HANDLE abierto = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(proceso));
  if (abierto == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  bool vivo = WaitForSingleObject(abierto, 0) == WAIT_TIMEOUT;
  CloseHandle(abierto);
  return vivo;
}

// Los temporales de escritores muertos antes de renombrar se borran, para que no se acumulen.
void BorrarHuerfanos(const std::wstring& ruta) {
  const std::size_t corte = ruta.find_last_of(L"\\/") + 1;  // 0 sin carpeta
  const std::wstring carpeta = ruta.substr(0, corte);
  WIN32_FIND_DATAW datos;
  HANDLE busqueda = FindFirstFileW((ruta + L".*.tmp").c_str(), &datos);
  if (busqueda == INVALID_HANDLE_VALUE) return;
  do {
    std::optional<unsigned long> proceso =
        ProcesoDeTemporal(Utf8(datos.cFileName), Utf8(ruta.substr(corte)));
    if (proceso && !Vivo(*proceso)) DeleteFileW((carpeta + datos.cFileName).c_str());
  } while (FindNextFileW(busqueda, &datos));
  FindClose(busqueda);
}

}  // namespace

std::filesystem::path RutaNativa(const std::string& ruta) {
  return std::filesystem::path(Ancho(ruta));
}

ArchivoAjustes UbicarAjustes(const std::filesystem::path& carpetaAjustes) {
  const std::wstring carpeta = ConSeparador(carpetaAjustes);
  const std::string ruta = Utf8(carpeta + kNombre);
  WIN32_FIND_DATAW datos;
  HANDLE busqueda = FindFirstFileW((carpeta + kNombre).c_str(), &datos);
  if (busqueda == INVALID_HANDLE_VALUE) return {ruta, false, false};
  FindClose(busqueda);
  // La búsqueda también halla nombres cortos 8.3; solo cuenta el nombre mismo.
  if (!IgualesSinMayusculas(Utf8(datos.cFileName), Utf8(kNombre))) return {ruta, false, false};
  bool oculto = (datos.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  return {Utf8(carpeta + datos.cFileName), true, oculto};
}

bool GuardarArchivo(const std::string& rutaUtf8, const std::string& contenido) {
  const std::wstring ruta = Ancho(rutaUtf8);
  DWORD atributos = GetFileAttributesW(ruta.c_str());
  bool existe = atributos != INVALID_FILE_ATTRIBUTES;
  if (existe && (atributos & FILE_ATTRIBUTE_READONLY) != 0) return false;
  BorrarHuerfanos(ruta);
  // Con el número del proceso: ningún otro escritor vivo puede estar usándolo.
  const std::wstring temporal = Ancho(NombreTemporal(rutaUtf8, GetCurrentProcessId()));
  HANDLE archivo = CreateFileW(temporal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (archivo == INVALID_HANDLE_VALUE) return false;
  DWORD escritos = 0;
  bool escrito = WriteFile(archivo, contenido.data(), static_cast<DWORD>(contenido.size()),
                           &escritos, nullptr) &&
                 escritos == contenido.size() && FlushFileBuffers(archivo);
  CloseHandle(archivo);
  if (!escrito || !MoveFileExW(temporal.c_str(), ruta.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporal.c_str());
    return false;
  }
  if (existe) SetFileAttributesW(ruta.c_str(), atributos);
  return true;
}

}  // namespace almacen

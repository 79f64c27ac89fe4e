#include <windows.h>

#include "archivo.h"
#include "nombres.h"

namespace {

constexpr char kNombre[] = "Brun_Kqt.ini";

// "<carpeta actual>\", o nada si no se puede saber: un nombre suelto ya es relativo a ella.
std::string CarpetaActual() {
  DWORD largo = GetCurrentDirectoryA(0, nullptr);
  std::string carpeta(largo, '\0');
  DWORD copiados = largo == 0 ? 0 : GetCurrentDirectoryA(largo, carpeta.data());
  carpeta.resize(copiados < largo ? copiados : 0);
  if (!carpeta.empty() && carpeta.back() != '\\') carpeta += '\\';
  return carpeta;
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
void BorrarHuerfanos(const std::string& ruta) {
  const std::size_t corte = ruta.find_last_of("\\/") + 1;  // 0 sin carpeta
  const std::string carpeta = ruta.substr(0, corte);
  WIN32_FIND_DATAA datos;
  HANDLE busqueda = FindFirstFileA((ruta + ".*.tmp").c_str(), &datos);
  if (busqueda == INVALID_HANDLE_VALUE) return;
  do {
    std::optional<unsigned long> proceso = ProcesoDeTemporal(datos.cFileName, ruta.substr(corte));
    if (proceso && !Vivo(*proceso)) DeleteFileA((carpeta + datos.cFileName).c_str());
  } while (FindNextFileA(busqueda, &datos));
  FindClose(busqueda);
}

}  // namespace

ArchivoAjustes UbicarAjustes() {
  std::string carpeta = CarpetaActual();
  WIN32_FIND_DATAA datos;
  HANDLE busqueda = FindFirstFileA(kNombre, &datos);
  if (busqueda == INVALID_HANDLE_VALUE) return {carpeta + kNombre, false, false};
  FindClose(busqueda);
  // La búsqueda también halla nombres cortos 8.3; solo cuenta el nombre mismo.
  if (!IgualesSinMayusculas(datos.cFileName, kNombre)) return {carpeta + kNombre, false, false};
  bool oculto = (datos.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  return {carpeta + datos.cFileName, true, oculto};
}

bool GuardarArchivo(const std::string& ruta, const std::string& contenido) {
  DWORD atributos = GetFileAttributesA(ruta.c_str());
  bool existe = atributos != INVALID_FILE_ATTRIBUTES;
  if (existe && (atributos & FILE_ATTRIBUTE_READONLY) != 0) return false;
  BorrarHuerfanos(ruta);
  // Con el número del proceso: ningún otro escritor vivo puede estar usándolo.
  std::string temporal = NombreTemporal(ruta, GetCurrentProcessId());
  HANDLE archivo = CreateFileA(temporal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (archivo == INVALID_HANDLE_VALUE) return false;
  DWORD escritos = 0;
  bool escrito = WriteFile(archivo, contenido.data(), static_cast<DWORD>(contenido.size()),
                           &escritos, nullptr) &&
                 escritos == contenido.size() && FlushFileBuffers(archivo);
  CloseHandle(archivo);
  if (!escrito || !MoveFileExA(temporal.c_str(), ruta.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporal.c_str());
    return false;
  }
  if (existe) SetFileAttributesA(ruta.c_str(), atributos);
  return true;
}

#include <windows.h>

#include "archivo.h"
#include "nombres.h"

namespace {

constexpr char kNombre[] = "Brun_Kqt.ini";

// "<current directory>\", or nothing if it cannot be had: a bare name is relative to it anyway.
std::string CarpetaActual() {
  DWORD largo = GetCurrentDirectoryA(0, nullptr);
  std::string carpeta(largo, '\0');
  DWORD copiados = largo == 0 ? 0 : GetCurrentDirectoryA(largo, carpeta.data());
  carpeta.resize(copiados < largo ? copiados : 0);
  if (!carpeta.empty() && carpeta.back() != '\\') carpeta += '\\';
  return carpeta;
}

}  // namespace

ArchivoAjustes UbicarAjustes() {
  std::string carpeta = CarpetaActual();
  WIN32_FIND_DATAA datos;
  HANDLE busqueda = FindFirstFileA(kNombre, &datos);
  if (busqueda == INVALID_HANDLE_VALUE) return {carpeta + kNombre, false, false};
  FindClose(busqueda);
  // The search also matches short 8.3 names; only the name itself counts.
  if (!IgualesSinMayusculas(datos.cFileName, kNombre)) return {carpeta + kNombre, false, false};
  bool oculto = (datos.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  return {carpeta + datos.cFileName, true, oculto};
}

bool GuardarArchivo(const std::string& ruta, const std::string& contenido) {
  DWORD atributos = GetFileAttributesA(ruta.c_str());
  bool existe = atributos != INVALID_FILE_ATTRIBUTES;
  if (existe && (atributos & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // Named after the process: no other live writer can be using it, a stale one is overwritten.
  std::string temporal = ruta + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
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

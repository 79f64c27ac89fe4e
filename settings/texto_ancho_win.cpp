#include <windows.h>

#include "texto_ancho.h"

namespace almacen {

std::wstring Ancho(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int largo =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring ancho(static_cast<std::size_t>(largo), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), ancho.data(), largo);
  return ancho;
}

std::string Utf8(const std::wstring& texto) {
  if (texto.empty()) return {};
  const int largo = WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(largo), '\0');
  WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), utf8.data(), largo,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace almacen

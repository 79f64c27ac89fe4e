#include "archivo_membrete.h"

#include <fstream>
#include <system_error>

namespace carga {

namespace fs = std::filesystem;

LecturaMembrete Tx(const fs::path& archivo, std::size_t limite) {
  std::error_code ec;
  fs::file_status estado = fs::status(archivo, ec);
  if (estado.type() == fs::file_type::not_found) return {EstadoLectura::Leido, ""};
  // Solo archivos comunes: abrir un FIFO o un dispositivo podría bloquear para siempre.
  if (ec || estado.type() != fs::file_type::regular) return {EstadoLectura::Error, ""};

  std::uintmax_t largo = fs::file_size(archivo, ec);
  if (ec) return {EstadoLectura::Error, ""};
  if (largo > limite) return {EstadoLectura::DemasiadoLargo, ""};
  if (largo == 0) return {EstadoLectura::Leido, ""};

  std::ifstream entrada(archivo, std::ios::binary);
  if (!entrada) return {EstadoLectura::Error, ""};
  std::string texto(limite + 1, '\0');
  entrada.read(texto.data(), static_cast<std::streamsize>(texto.size()));
  if (entrada.bad()) return {EstadoLectura::Error, ""};
  texto.resize(static_cast<std::size_t>(entrada.gcount()));
  if (texto.size() > limite) return {EstadoLectura::DemasiadoLargo, ""};
  return {EstadoLectura::Leido, texto};
}

}  // namespace carga

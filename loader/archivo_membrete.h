#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// Reading the letterhead file chosen by the operator.
enum class EstadoLectura {
  Leido,           // texto holds the whole file (empty for a missing or empty file)
  DemasiadoLargo,  // larger than the limit; not read
  Error,           // not a readable regular file
};

struct LecturaMembrete {
  EstadoLectura estado;
  std::string texto;
};

// The file's bytes unchanged. The size is checked before reading, and never more than
// `limite` + 1 bytes are read, so a huge file or one that grows meanwhile costs nothing.
LecturaMembrete Tx(const std::filesystem::path& archivo, std::size_t limite);

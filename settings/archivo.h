#pragma once

#include <optional>
#include <string>

// The settings file "Brun_Kqt.ini" of the current directory, looked up anew on every call.
struct ArchivoAjustes {
  std::string ruta;  // the file found, or where a first write creates it
  bool existe;
  bool oculto;  // hidden or system (Windows): reads ignore it, writes still go to it
};

ArchivoAjustes UbicarAjustes();

// The file's bytes; nothing when it cannot be read or is over 1 MiB, which no settings file is.
std::optional<std::string> LeerArchivo(const std::string& ruta);

// Replaces the file as a whole: the new content is written beside it and renamed over it, so a
// failure never leaves it half written. The old file's permissions are kept. An unwritable file
// or folder loses the write, and no temporary file is left behind. True when the file holds
// `contenido` afterwards.
bool GuardarArchivo(const std::string& ruta, const std::string& contenido);

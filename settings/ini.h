#pragma once

#include <optional>
#include <string>

// INI text held as bytes: "[section]" header lines and "key=value" lines, with CR LF, LF or CR
// line ends. Section and key names match without regard to ASCII letter case and to blanks or
// tabs around them; only the first section of a name, and the first key of a name within it,
// are read or written. Lines before the first header belong to no section.

// The value of `clave` in `seccion`, without the blanks or tabs around it and without one pair
// of matching quotes around the whole; nothing when the section or the key is absent.
std::optional<std::string> ValorIni(const std::string& texto, const std::string& seccion,
                                    const std::string& clave);

// `texto` with `valor` stored under `clave` in `seccion`: an existing key's line is rewritten
// in place, a new key follows the last non-blank line of its section, a new section is added at
// the end. Every other byte stays as it was. Nothing when the names or the value could not be
// read back as given (a line end anywhere, "=" in the key, a key that would read as a header).
std::optional<std::string> ConValorIni(const std::string& texto, const std::string& seccion,
                                       const std::string& clave, const std::string& valor);

#include "codificacion.h"

#include <string_view>

namespace almacen {

namespace {

constexpr char32_t kRoto = 0xFFFD;

// Los bytes 0x80 a 0x9F de la página 1252; los demás valen lo mismo que en Unicode.
constexpr char32_t k1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CaracterDeByte(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? k1252[byte - 0x80] : byte;
}

char ByteDeCaracter(char32_t caracter) {
  if (caracter < 0x80 || (caracter >= 0xA0 && caracter <= 0xFF)) {
    return static_cast<char>(caracter);
  }
  for (unsigned i = 0; i < 32; ++i) {
    if (k1252[i] == caracter) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AgregarUtf8(std::string& texto, char32_t c) {
  auto byte = [&](char32_t valor) { texto += static_cast<char>(valor); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | c >> 6);
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | c >> 12);
    byte(0x80 | (c >> 6 & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | c >> 18);
    byte(0x80 | (c >> 12 & 0x3F));
    byte(0x80 | (c >> 6 & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

// El carácter que empieza en `i`, y avanza `i`; kRoto y un solo byte si ahí no hay UTF-8.
// Acepta sustitutos sueltos: así vuelven los que vinieron sueltos de un archivo UTF-16.
char32_t SiguienteUtf8(std::string_view texto, std::size_t& i) {
  const unsigned char primero = static_cast<unsigned char>(texto[i++]);
  if (primero < 0x80) return primero;
  if (primero < 0xC2 || primero > 0xF4) return kRoto;
  const int siguen = primero >= 0xF0 ? 3 : primero >= 0xE0 ? 2 : 1;
  char32_t c = primero & (0x3F >> siguen);
  std::size_t j = i;
  for (int k = 0; k < siguen; ++k, ++j) {
    if (j >= texto.size() || (texto[j] & 0xC0) != 0x80) return kRoto;
    c = c << 6 | (texto[j] & 0x3F);
  }
  constexpr char32_t kMinimo[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMinimo[siguen] || c > 0x10FFFF) return kRoto;
  i = j;
  return c;
}

char32_t Unidad(std::string_view archivo, std::size_t i, bool grande) {
  const unsigned char a = static_cast<unsigned char>(archivo[i]);
  const unsigned char b = static_cast<unsigned char>(archivo[i + 1]);
  return grande ? a << 8 | b : b << 8 | a;
}

bool Alto(char32_t unidad) {
  return unidad >= 0xD800 && unidad < 0xDC00;
}
bool Bajo(char32_t unidad) {
  return unidad >= 0xDC00 && unidad < 0xE000;
}

std::string DeUtf16(std::string_view archivo, bool grande) {
  std::string texto;
  for (std::size_t i = 0; i < archivo.size(); i += 2) {
    char32_t c = Unidad(archivo, i, grande);
    if (Alto(c) && i + 3 < archivo.size() && Bajo(Unidad(archivo, i + 2, grande))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (Unidad(archivo, i + 2, grande) - 0xDC00);
      i += 2;
    }
    AgregarUtf8(texto, c);
  }
  return texto;
}

std::string AUtf16(std::string_view texto, bool grande) {
  std::string archivo;
  auto unidad = [&](char32_t u) {
    const char alto = static_cast<char>(u >> 8), bajo = static_cast<char>(u & 0xFF);
    archivo += grande ? alto : bajo;
    archivo += grande ? bajo : alto;
  };
  for (std::size_t i = 0; i < texto.size();) {
    const char32_t c = SiguienteUtf8(texto, i);
    if (c < 0x10000) {
      unidad(c);
    } else {
      unidad(0xD800 + ((c - 0x10000) >> 10));
      unidad(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return archivo;
}

}  // namespace

std::optional<TextoIni> Decodificar(const std::string& archivo) {
  const std::string_view marca = std::string_view(archivo).substr(0, 3);
  for (auto [inicio, codificacion] : {std::pair{"\xFF\xFE", Codificacion::Utf16Le},
                                      std::pair{"\xFE\xFF", Codificacion::Utf16Be}}) {
    if (marca.substr(0, 2) != inicio) continue;
    if (archivo.size() % 2 != 0) return std::nullopt;
    return TextoIni{codificacion, DeUtf16(archivo, codificacion == Codificacion::Utf16Be)};
  }
  return TextoIni{marca == "\xEF\xBB\xBF" ? Codificacion::Utf8 : Codificacion::Bytes, archivo};
}

std::string Codificar(const TextoIni& texto) {
  switch (texto.codificacion) {
    case Codificacion::Utf16Le:
      return AUtf16(texto.texto, false);
    case Codificacion::Utf16Be:
      return AUtf16(texto.texto, true);
    default:
      return texto.texto;
  }
}

std::string TextoDeBytes(Codificacion codificacion, const std::string& bytes) {
  if (codificacion == Codificacion::Bytes) return bytes;
  std::string texto;
  for (char byte : bytes) AgregarUtf8(texto, CaracterDeByte(static_cast<unsigned char>(byte)));
  return texto;
}

std::string BytesDeTexto(Codificacion codificacion, const std::string& texto) {
  if (codificacion == Codificacion::Bytes) return texto;
  std::string bytes;
  for (std::size_t i = 0; i < texto.size();) bytes += ByteDeCaracter(SiguienteUtf8(texto, i));
  return bytes;
}

}  // namespace almacen

#include "codificacion.h"

#include <gtest/gtest.h>

#include <string>

#include "utf16.h"

using namespace almacen;

using namespace std::string_literals;

namespace {

constexpr Codificacion kUtf16[] = {Codificacion::Utf16Le, Codificacion::Utf16Be};

TEST(Decodificar, TellsTheEncodingByItsMark) {
  const std::pair<std::string, Codificacion> casos[] = {
      {"", Codificacion::Bytes},
      {"[A]\r\n\xFF", Codificacion::Bytes},
      {"\xEF\xBB\xBF[A]", Codificacion::Utf8},
      {"\xFF\xFE[\0"s, Codificacion::Utf16Le},
      {"\xFE\xFF\0["s, Codificacion::Utf16Be},
  };
  for (const auto& [archivo, codificacion] : casos) {
    std::optional<TextoIni> texto = Decodificar(archivo);
    ASSERT_TRUE(texto) << archivo;
    EXPECT_EQ(texto->codificacion, codificacion) << archivo;
  }
  EXPECT_EQ(Decodificar("\xEF\xBB\xBF[A]\xFF")->texto, "\xEF\xBB\xBF[A]\xFF");
  EXPECT_EQ(Decodificar(Utf16(Codificacion::Utf16Le, u"[Año]€😀"))->texto,
            "\xEF\xBB\xBF[A\xC3\xB1o]\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(Decodificar, AUtf16FileGoesBackByteForByte) {
  // Sustitutos sueltos, un par partido, ceros y caracteres de fuera de la página 1252.
  const std::u16string textos[] = {u"",
                                   u"[Global]\r\nComm=3.\r\n; año € 中文 😀\r\n",
                                   u"\xD800",
                                   u"a\xDC00z",
                                   u"\xDC00\xD800",
                                   u"\xD83D",
                                   std::u16string(u"\0\x00FF\xFFFF", 3)};
  for (Codificacion codificacion : kUtf16) {
    for (const std::u16string& texto : textos) {
      const std::string archivo = Utf16(codificacion, texto);
      std::optional<TextoIni> leido = Decodificar(archivo);
      ASSERT_TRUE(leido);
      EXPECT_EQ(Codificar(*leido), archivo);
    }
    // Un byte suelto al final no es UTF-16: no se lee, así tampoco se reemplaza.
    EXPECT_EQ(Decodificar(Utf16(codificacion, u"[A]") + "x"), std::nullopt);
  }
}

TEST(BytesDeTexto, EveryByteIsOneCharacterOfCodePage1252) {
  for (Codificacion codificacion : kUtf16) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
      const std::string uno(1, static_cast<char>(byte));
      EXPECT_EQ(BytesDeTexto(codificacion, TextoDeBytes(codificacion, uno)), uno) << byte;
    }
  }
  const std::pair<std::string, std::string> casos[] = {
      {"\xE9", "\xC3\xA9"}, {"\x80", "\xE2\x82\xAC"}, {"\x9F", "\xC5\xB8"},
      {"\x81", "\xC2\x81"}, {"\xA0", "\xC2\xA0"},     {"a\0"s, "a\0"s},
  };
  for (const auto& [bytes, texto] : casos) {
    EXPECT_EQ(TextoDeBytes(Codificacion::Utf8, bytes), texto);
    EXPECT_EQ(BytesDeTexto(Codificacion::Utf16Le, texto), bytes);
  }
}

TEST(BytesDeTexto, WhatHasNoByteReadsAsQuestionMarks) {
  const std::pair<std::string, std::string> casos[] = {
      {"中", "?"},                // sin byte en la página
      {"\xF0\x9F\x98\x80", "?"},  // fuera del plano básico
      {"\xED\xA0\x80", "?"},      // sustituto suelto venido de UTF-16
      {"\xC2\x80", "?"},          // U+0080: 0x80 es el euro
      {"\xC3", "?"},              // cortado
      {"\xC0\x80x", "??x"},       // forma demasiado larga
      {"\xFF\xE9", "??"},         // bytes de 8 bits en un archivo UTF-8
  };
  for (const auto& [texto, bytes] : casos) {
    EXPECT_EQ(BytesDeTexto(Codificacion::Utf8, texto), bytes) << texto;
  }
  EXPECT_EQ(BytesDeTexto(Codificacion::Bytes, "\xFF中"), "\xFF中");
  EXPECT_EQ(TextoDeBytes(Codificacion::Bytes, "\xFF"), "\xFF");
}

}  // namespace

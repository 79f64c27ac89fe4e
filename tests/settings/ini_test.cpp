#include "ini.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace almacen;

using namespace std::string_literals;

namespace {

struct Lectura {
  std::string archivo, seccion, clave;
  std::optional<std::string> valor;
};

TEST(ValorIni, FindsTheFirstMatchingSectionAndKey) {
  const Lectura casos[] = {
      {"[Global]\r\nComm=3.\r\n", "global", "COMM", "3."},
      {"\t[ Global ] \r\n  Comm \t=  3. \t\r\n", "Global", " Comm", "3."},
      {"[Global]\r\nComm=3.\r\n", "Global", "Com", std::nullopt},
      // Solo cuenta la primera sección de un nombre, y en ella la primera clave.
      {"[A]\r\nk=1\r\n[B]\r\nj=2\r\n[a]\r\nj=3\r\n", "A", "j", std::nullopt},
      {"[A]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
      // No se halla una clave de otra sección, ni una anterior a todo encabezado.
      {"[A]\r\n[B]\r\nk=1\r\n", "A", "k", std::nullopt},
      {"k=1\r\n[A]\r\n", "A", "k", std::nullopt},
      // Una línea sin "=" nunca coincide; el primer "=" separa clave y valor.
      {"[A]\r\nk\r\nk=a=b\r\n", "A", "k", "a=b"},
      {"[A\r\nk=1\r\n", "A", "k", std::nullopt},
  };
  for (const Lectura& caso : casos) {
    EXPECT_EQ(ValorIni(caso.archivo, caso.seccion, caso.clave), caso.valor) << caso.archivo;
  }
}

TEST(ValorIni, TrimsBlanksAndOneMatchingPairOfQuotes) {
  const std::pair<std::string, std::string> casos[] = {
      {"k= \t5. \t", "5."},     {"k=\"a b.\"", "a b."},   {"k=' x '", " x "},
      {"k=\"\"", ""},           {"k=\"", "\""},           {"k=\"x'", "\"x'"},
      {"k=\"\"x\"\"", "\"x\""}, {"k=a \"b\"", "a \"b\""},
  };
  for (const auto& [linea, valor] : casos) {
    EXPECT_EQ(ValorIni("[A]\r\n" + linea + "\r\n", "A", "k"), valor) << linea;
  }
}

TEST(ValorIni, ToleratesAnyLineEndAndStrayBytes) {
  EXPECT_EQ(ValorIni("[A]\nx=0\nk=1\n", "A", "k"), "1");
  EXPECT_EQ(ValorIni("[A]\rx=0\rk=1\r", "A", "k"), "1");
  EXPECT_EQ(ValorIni("[A]\r\nk=1", "A", "k"), "1");
  EXPECT_EQ(ValorIni("\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k"), "1");
  EXPECT_EQ(ValorIni("[A]\r\nx=\0\xFF\r\n\xE9=\0\x80\r\n"s, "a", "\xE9"), "\0\x80"s);
}

struct Escritura {
  std::string antes, seccion, clave, valor, despues;
};

TEST(ConValorIni, ChangesOnlyWhatTheWriteNeeds) {
  const Escritura casos[] = {
      // En su sitio: solo se reescribe la línea de la clave, con la clave como estaba.
      {"; x\r\n[Global]\r\n  COMM = 1 \r\nBaudios=3\r\n", "global", "Comm", "7.",
       "; x\r\n[Global]\r\nCOMM=7.\r\nBaudios=3\r\n"},
      {"[A]\r\nk=1\r\nk=2\r\n", "A", "K", "9", "[A]\r\nk=9\r\nk=2\r\n"},
      {"[A]\r\nk=1", "A", "k", "2", "[A]\r\nk=2\r\n"},
      // Lo agregado termina en LF si así termina la primera línea; una reescrita conserva su fin.
      {"; x\n[Global]\n  COMM = 1 \nBaudios=3\n", "global", "Comm", "7.",
       "; x\n[Global]\nCOMM=7.\nBaudios=3\n"},
      {"[A]\nx=1\n[B]\r\n", "a", "k", "v", "[A]\nx=1\nk=v\n[B]\r\n"},
      {"[A]\nk=1\r\n", "a", "k", "v", "[A]\nk=v\r\n"},
      {"[A]\nk=1", "a", "k", "v", "[A]\nk=v\n"},
      {"[A]\nk=1", "b", "k", "v", "[A]\nk=1\n[b]\nk=v\n"},
      {"[A]\r", "b", "k", "v", "[A]\r[b]\r\nk=v\r\n"},
      {"[A]\rx=1\r\n\n", "a", "k", "v", "[A]\rx=1\r\nk=v\r\n\n"},
      // Un valor que ya se lee igual no cambia nada, aunque esté escrito de otro modo.
      {"[A]\nK = \"1.\" \t", "a", "k", "1.", "[A]\nK = \"1.\" \t"},
      // Una clave nueva sigue a la última línea no en blanco de la primera sección del nombre.
      {"[A]\r\nx=1\r\n\r\n \t\r\n[B]\r\n[a]\r\n", "a", "k", "v",
       "[A]\r\nx=1\r\nk=v\r\n\r\n \t\r\n[B]\r\n[a]\r\n"},
      {"[global]\r\n\r\n[B]", "Global", "Comm", "2", "[global]\r\nComm=2\r\n\r\n[B]"},
      {"[A]\r\nx=1", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
      // Una sección que falta va al final, con las mayúsculas de quien escribe.
      {"", "Global", "Comm", "v", "[Global]\r\nComm=v\r\n"},
      {"k=1\r\n", "Global", "k", "v", "k=1\r\n[Global]\r\nk=v\r\n"},
      {"[A]\r\nx=1", "b", "k", "v", "[A]\r\nx=1\r\n[b]\r\nk=v\r\n"},
      {"\xEF\xBB\xBF", "b", "k", "v", "\xEF\xBB\xBF[b]\r\nk=v\r\n"},
      // Los bytes de un archivo editado a mano pasan intactos.
      {"\xEF\xBB\xBF[A]\r\n\xE9=\xFF\0\r\nk=1\r\n"s, "A", "k", "\x80",
       "\xEF\xBB\xBF[A]\r\n\xE9=\xFF\0\r\nk=\x80\r\n"s},
  };
  for (const Escritura& caso : casos) {
    EXPECT_EQ(ConValorIni(caso.antes, caso.seccion, caso.clave, caso.valor), caso.despues)
        << caso.antes;
  }
}

TEST(ConValorIni, WhatIsWrittenReadsBackAsGiven) {
  const std::string valores[] = {
      "", " ", "\t x \t", "\"q\"", "'", "\"a'", "''", "[x]", "a=b;c", "\xFF\0\x80"s, "=",
  };
  for (const std::string& valor : valores) {
    std::optional<std::string> archivo = ConValorIni("[A]\r\nk=1\r\n", "A", "k", valor);
    ASSERT_TRUE(archivo) << valor;
    EXPECT_EQ(ValorIni(*archivo, "A", "k"), valor);
    EXPECT_EQ(ValorIni(*ConValorIni(*archivo, "A", "j", valor), "A", "j"), valor);
  }
  const std::pair<std::string, std::string> nombres[] = {
      {"[x", "x]"}, {" x ", " x "}, {"a]b", ";x"}, {"\xE9", "\xE9"}, {"", ""}};
  for (const auto& [seccion, clave] : nombres) {
    std::optional<std::string> archivo = ConValorIni("", seccion, clave, "v");
    EXPECT_EQ(ValorIni(archivo.value_or(""), seccion, clave), "v") << seccion << clave;
  }
}

TEST(ConValorIni, RefusesWhatWouldNotReadBack) {
  const std::string casos[][3] = {
      {"A", "k", "1\r\n[B]"}, {"A", "k", "1\r"}, {"A", "k", "\n"},  {"A\n", "k", "1"},
      {"A", "k\r", "1"},      {"A", "k=j", "1"}, {"A", "[k]", "1"}, {"A", " [k", "1"},
  };
  for (const auto& [seccion, clave, valor] : casos) {
    EXPECT_EQ(ConValorIni("[A]\r\n", seccion, clave, valor), std::nullopt)
        << seccion << clave << valor;
  }
}

}  // namespace

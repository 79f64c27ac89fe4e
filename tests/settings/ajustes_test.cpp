#include "ajustes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>

#include "carpeta_temporal.h"
#include "utf16.h"

using namespace std::string_literals;

namespace {

const std::string kArchivo = "Brun_Kqt.ini";

using Ajustes = EnCarpetaTemporal;

TEST_F(Ajustes, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite) {
  EXPECT_EQ(LeerIni("global", "Comm", 2), "2");
  EXPECT_EQ(LeerIni("global", "ID_1", "0"), "0");
  EXPECT_TRUE(Entradas().empty());

  EscribirIni("Global", "Baudios", 3);
  EscribirIni("global", "Comm", -12);
  EscribirIni("GLOBAL", "ID_1", "255");
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nBaudios=3.\r\nComm=-12.\r\nID_1=255.\r\n");
  EXPECT_EQ(LeerIni("global", "BAUDIOS", 9), "3");
  EXPECT_EQ(LeerIni("Global", "comm", 2), "-12");

  EscribirIni("global", "Baudios", 0);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nBaudios=0.\r\nComm=-12.\r\nID_1=255.\r\n");
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
}

// En Windows, una carpeta así no se abre con las funciones de 8 bits; los bytes del archivo
// siguen siendo los de 8 bits de siempre.
TEST_F(Ajustes, AFolderNamedInCyrillicAndGreekKeepsItsSettings) {
  const std::filesystem::path carpeta = carpeta_ / std::filesystem::u8path("Весы_Ζυγός");
  std::filesystem::create_directory(carpeta);
  std::filesystem::current_path(carpeta);
  Crear(kArchivo, "[global]\r\nID_1=7.\r\nTexto=A\xF1o.\r\n");
  EXPECT_EQ(LeerIni("Global", "ID_1", 1), "7");
  EXPECT_TRUE(IntentarEscribirIni("global", "Texto",
                                  "Ma\xF1"
                                  "ana"));
  EXPECT_EQ(Contenido(kArchivo),
            "[global]\r\nID_1=7.\r\nTexto=Ma\xF1"
            "ana.\r\n");
  EXPECT_EQ(LeerIni("global", "Texto", ""),
            "Ma\xF1"
            "ana");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta), {}), 1);
}

TEST_F(Ajustes, TheLastStoredCharacterIsAlwaysDropped) {
  EscribirIni("Global", "Vacio", "");
  EXPECT_EQ(LeerIni("Global", "Vacio", "defecto"), "");
  Crear(kArchivo, "[global]\r\nNada=\r\nBlancos= \t \r\nComillas=\"\"\r\nCinco=5\r\n");
  EXPECT_EQ(LeerIni("Global", "Nada", "d"), "d");
  EXPECT_EQ(LeerIni("Global", "Blancos", "d"), "d");
  EXPECT_EQ(LeerIni("Global", "Comillas", "d"), "d");
  EXPECT_EQ(LeerIni("Global", "Cinco", "d"), "");
  EXPECT_EQ(LeerIni("Setup", "Cinco", "d"), "d");
}

TEST_F(Ajustes, LongValuesReadBackCutTo253Characters) {
  EscribirIni("Setup", "1", std::string(300, 'a'));
  EXPECT_EQ(Contenido(kArchivo), "[Setup]\r\n1=" + std::string(300, 'a') + ".\r\n");
  EXPECT_EQ(LeerIni("Setup", "1", ""), std::string(253, 'a'));
  EscribirIni("Setup", "2", std::string(253, 'b'));
  EXPECT_EQ(LeerIni("Setup", "2", ""), std::string(253, 'b'));
}

TEST_F(Ajustes, EveryByteButLineEndsReadsBackAsWritten) {
  std::string todos;
  for (int byte = 0x01; byte <= 0xFF; ++byte) {
    if (byte != '\r' && byte != '\n') todos += static_cast<char>(byte);
  }
  const std::string valores[] = {todos, " blancos ", "\t",      "\"x\"", "'",
                                 "[x]", "a=b;c",     "\0\xFF"s, "."};
  for (const std::string& valor : valores) {
    EscribirIni("Setup", "15", valor);
    EXPECT_EQ(LeerIni("Setup", "15", "defecto"), valor);
  }
}

TEST_F(Ajustes, TheFileIsFoundInTheCurrentDirectoryWhateverItsLetterCase) {
  Crear("BRUN_KQT.INI", "[Global]\r\nComm=3.\r\n");
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "3");
  EscribirIni("Global", "Comm", 5);
  EXPECT_EQ(Entradas(), std::set<std::string>{"BRUN_KQT.INI"});
  EXPECT_EQ(Contenido("BRUN_KQT.INI"), "[Global]\r\nComm=5.\r\n");

  std::filesystem::create_directory("otra");
  std::filesystem::current_path("otra");
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "1");
  EscribirIni("Global", "Comm", 6);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nComm=6.\r\n");
  std::filesystem::current_path(carpeta_);
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "5");
}

TEST_F(Ajustes, AFileThatCannotBeReadGivesDefaultsAndIsNeverReplaced) {
  const std::string enorme = "[Global]\r\nComm=3.\r\n" + std::string(2 << 20, ';');
  Crear(kArchivo, enorme);
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "1");
  EscribirIni("Global", "Comm", 4);
  EXPECT_TRUE(Contenido(kArchivo) == enorme);

  std::filesystem::remove(kArchivo);
  std::filesystem::create_directory(kArchivo);
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "1");
  EscribirIni("Global", "Comm", 4);
  EXPECT_TRUE(std::filesystem::is_directory(kArchivo));
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
}

TEST_F(Ajustes, AUtf16FileIsReadAndWrittenBackInUtf16LosingNothing) {
  const std::u16string antes =
      u"; Configuración: año € 中文 😀\r\n[global]\r\nComm = 3.\r\nID_1=12.\r\n\r\n"
      u"[Setup]\r\n1=x\xD800.\r\n";
  for (Codificacion codificacion : {Codificacion::Utf16Le, Codificacion::Utf16Be}) {
    Crear(kArchivo, Utf16(codificacion, antes));
    EXPECT_EQ(LeerIni("Global", "Comm", 1), "3");
    EXPECT_EQ(LeerIni("Global", "ID_1", "0"), "12");
    EXPECT_EQ(LeerIni("Setup", "1", ""), "x?");

    EXPECT_TRUE(IntentarEscribirIni("Global", "Comm", 5));
    EXPECT_TRUE(IntentarEscribirIni("Global", "Nota", "A\xF1o \x80"));
    EXPECT_TRUE(IntentarEscribirIni("Otra", "k", "v"));
    EXPECT_EQ(Contenido(kArchivo),
              Utf16(codificacion,
                    u"; Configuración: año € 中文 😀\r\n[global]\r\nComm=5.\r\nID_1=12.\r\n"
                    u"Nota=Año €.\r\n\r\n[Setup]\r\n1=x\xD800.\r\n[Otra]\r\nk=v.\r\n"));
    EXPECT_EQ(LeerIni("Global", "Nota", ""), "A\xF1o \x80");
  }
}

TEST_F(Ajustes, AUtf8FileWithItsMarkIsWrittenBackInUtf8) {
  Crear(kArchivo, "\xEF\xBB\xBF; año 中文\r\n[Global]\r\nComm=3.\r\nRoto=\xFF.\r\n");
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "3");
  EXPECT_EQ(LeerIni("Global", "Roto", ""), "?");
  EscribirIni("Global", "Comm", "A\xF1o");
  EXPECT_EQ(Contenido(kArchivo),
            "\xEF\xBB\xBF; año 中文\r\n[Global]\r\nComm=Año.\r\nRoto=\xFF.\r\n");
  EXPECT_EQ(LeerIni("Global", "Comm", ""), "A\xF1o");
}

TEST_F(Ajustes, StoringTheStoredValueLeavesTheFileUntouched) {
  const std::string antes = "[Global]\r\nComm = \"3.\" \r\nMostrar=0.";
  Crear(kArchivo, antes);
  namespace fs = std::filesystem;
  const auto fecha = std::chrono::time_point_cast<fs::file_time_type::duration>(
      std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() -
                                               std::chrono::hours(1)));
  fs::last_write_time(kArchivo, fecha);
  EXPECT_TRUE(IntentarEscribirIni("global", "COMM", 3));
  EXPECT_TRUE(IntentarEscribirIni("Global", "Mostrar", 0));
  // Ya tiene el valor: también es cierto en un archivo de solo lectura.
  const fs::perms escritura =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(kArchivo, escritura, fs::perm_options::remove);
  EXPECT_TRUE(IntentarEscribirIni("Global", "Comm", "3"));
  fs::permissions(kArchivo, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Contenido(kArchivo), antes);
  EXPECT_EQ(fs::last_write_time(kArchivo), fecha);
}

TEST_F(Ajustes, AFileWithBareLineFeedsKeepsThem) {
  Crear(kArchivo, "[Global]\nComm=3.\n");
  EscribirIni("Global", "Comm", 4);
  EscribirIni("Global", "Baudios", 2);
  EscribirIni("Setup", "1", 7);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\nComm=4.\nBaudios=2.\n[Setup]\n1=7.\n");
}

}  // namespace

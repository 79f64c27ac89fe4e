#include "ajustes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>

#include "carpeta_temporal.h"
#include "utf16.h"

using namespace almacen;

using namespace std::string_literals;

namespace {

const std::string kArchivo = "Brun_Kqt.ini";

using AjustesTest = EnCarpetaTemporal;

TEST_F(AjustesTest, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite) {
  EXPECT_EQ(ajustes_.LeerIni("global", "Comm", 2), "2");
  EXPECT_EQ(ajustes_.LeerIni("global", "ID_1", "0"), "0");
  EXPECT_TRUE(Entradas().empty());

  ajustes_.EscribirIni("Global", "Baudios", 3);
  ajustes_.EscribirIni("global", "Comm", -12);
  ajustes_.EscribirIni("GLOBAL", "ID_1", "255");
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nBaudios=3.\r\nComm=-12.\r\nID_1=255.\r\n");
  EXPECT_EQ(ajustes_.LeerIni("global", "BAUDIOS", 9), "3");
  EXPECT_EQ(ajustes_.LeerIni("Global", "comm", 2), "-12");

  ajustes_.EscribirIni("global", "Baudios", 0);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nBaudios=0.\r\nComm=-12.\r\nID_1=255.\r\n");
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
}

// En Windows, una carpeta así no se abre con las funciones de 8 bits; los bytes del archivo
// siguen siendo los de 8 bits de siempre.
TEST_F(AjustesTest, AFolderNamedInCyrillicAndGreekKeepsItsSettings) {
  const std::filesystem::path carpeta = carpeta_ / std::filesystem::u8path("Весы_Ζυγός");
  std::filesystem::create_directory(carpeta);
  std::filesystem::current_path(carpeta);
  const Ajustes ajustes(carpeta);
  Crear(kArchivo, "[global]\r\nID_1=7.\r\nTexto=A\xF1o.\r\n");
  EXPECT_EQ(ajustes.LeerIni("Global", "ID_1", 1), "7");
  EXPECT_TRUE(ajustes.IntentarEscribirIni("global", "Texto",
                                          "Ma\xF1"
                                          "ana"));
  EXPECT_EQ(Contenido(kArchivo),
            "[global]\r\nID_1=7.\r\nTexto=Ma\xF1"
            "ana.\r\n");
  EXPECT_EQ(ajustes.LeerIni("global", "Texto", ""),
            "Ma\xF1"
            "ana");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(carpeta), {}), 1);
}

TEST_F(AjustesTest, TheLastStoredCharacterIsAlwaysDropped) {
  ajustes_.EscribirIni("Global", "Vacio", "");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Vacio", "defecto"), "");
  Crear(kArchivo, "[global]\r\nNada=\r\nBlancos= \t \r\nComillas=\"\"\r\nCinco=5\r\n");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Nada", "d"), "d");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Blancos", "d"), "d");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comillas", "d"), "d");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Cinco", "d"), "");
  EXPECT_EQ(ajustes_.LeerIni("Setup", "Cinco", "d"), "d");
}

TEST_F(AjustesTest, LongValuesReadBackCutTo253Characters) {
  ajustes_.EscribirIni("Setup", "1", std::string(300, 'a'));
  EXPECT_EQ(Contenido(kArchivo), "[Setup]\r\n1=" + std::string(300, 'a') + ".\r\n");
  EXPECT_EQ(ajustes_.LeerIni("Setup", "1", ""), std::string(253, 'a'));
  ajustes_.EscribirIni("Setup", "2", std::string(253, 'b'));
  EXPECT_EQ(ajustes_.LeerIni("Setup", "2", ""), std::string(253, 'b'));
}

TEST_F(AjustesTest, EveryByteButLineEndsReadsBackAsWritten) {
  std::string todos;
  for (int byte = 0x01; byte <= 0xFF; ++byte) {
    if (byte != '\r' && byte != '\n') todos += static_cast<char>(byte);
  }
  const std::string valores[] = {todos, " blancos ", "\t",      "\"x\"", "'",
                                 "[x]", "a=b;c",     "\0\xFF"s, "."};
  for (const std::string& valor : valores) {
    ajustes_.EscribirIni("Setup", "15", valor);
    EXPECT_EQ(ajustes_.LeerIni("Setup", "15", "defecto"), valor);
  }
}

TEST_F(AjustesTest, TheFileIsFoundInItsFolderWhateverItsLetterCaseAndTheCurrentFolder) {
  Crear("BRUN_KQT.INI", "[Global]\r\nComm=3.\r\n");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
  ajustes_.EscribirIni("Global", "Comm", 5);
  EXPECT_EQ(Entradas(), std::set<std::string>{"BRUN_KQT.INI"});
  EXPECT_EQ(Contenido("BRUN_KQT.INI"), "[Global]\r\nComm=5.\r\n");

  std::filesystem::create_directory("otra");
  const Ajustes otra(carpeta_ / "otra");
  EXPECT_EQ(otra.LeerIni("Global", "Comm", 1), "1");
  otra.EscribirIni("Global", "Comm", 6);
  EXPECT_EQ(Contenido("otra/" + kArchivo), "[Global]\r\nComm=6.\r\n");
  // Cambiar de carpeta actual no mueve los ajustes: la carpeta se eligió al crearlos.
  std::filesystem::current_path("otra");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "5");
  EXPECT_EQ(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Comm", 1), "6");
}

TEST_F(AjustesTest, AFileThatCannotBeReadGivesDefaultsAndIsNeverReplaced) {
  const std::string enorme = "[Global]\r\nComm=3.\r\n" + std::string(2 << 20, ';');
  Crear(kArchivo, enorme);
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "1");
  ajustes_.EscribirIni("Global", "Comm", 4);
  EXPECT_TRUE(Contenido(kArchivo) == enorme);

  std::filesystem::remove(kArchivo);
  std::filesystem::create_directory(kArchivo);
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "1");
  ajustes_.EscribirIni("Global", "Comm", 4);
  EXPECT_TRUE(std::filesystem::is_directory(kArchivo));
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
}

TEST_F(AjustesTest, AUtf16FileIsReadAndWrittenBackInUtf16LosingNothing) {
  const std::u16string antes =
      u"; Configuración: año € 中文 😀\r\n[global]\r\nComm = 3.\r\nID_1=12.\r\n\r\n"
      u"[Setup]\r\n1=x\xD800.\r\n";
  for (Codificacion codificacion : {Codificacion::Utf16Le, Codificacion::Utf16Be}) {
    Crear(kArchivo, Utf16(codificacion, antes));
    EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
    EXPECT_EQ(ajustes_.LeerIni("Global", "ID_1", "0"), "12");
    EXPECT_EQ(ajustes_.LeerIni("Setup", "1", ""), "x?");

    EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Comm", 5));
    EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Nota", "A\xF1o \x80"));
    EXPECT_TRUE(ajustes_.IntentarEscribirIni("Otra", "k", "v"));
    EXPECT_EQ(Contenido(kArchivo),
              Utf16(codificacion,
                    u"; Configuración: año € 中文 😀\r\n[global]\r\nComm=5.\r\nID_1=12.\r\n"
                    u"Nota=Año €.\r\n\r\n[Setup]\r\n1=x\xD800.\r\n[Otra]\r\nk=v.\r\n"));
    EXPECT_EQ(ajustes_.LeerIni("Global", "Nota", ""), "A\xF1o \x80");
  }
}

TEST_F(AjustesTest, AUtf8FileWithItsMarkIsWrittenBackInUtf8) {
  Crear(kArchivo, "\xEF\xBB\xBF; año 中文\r\n[Global]\r\nComm=3.\r\nRoto=\xFF.\r\n");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Roto", ""), "?");
  ajustes_.EscribirIni("Global", "Comm", "A\xF1o");
  EXPECT_EQ(Contenido(kArchivo),
            "\xEF\xBB\xBF; año 中文\r\n[Global]\r\nComm=Año.\r\nRoto=\xFF.\r\n");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", ""), "A\xF1o");
}

TEST_F(AjustesTest, StoringTheStoredValueLeavesTheFileUntouched) {
  const std::string antes = "[Global]\r\nComm = \"3.\" \r\nMostrar=0.";
  Crear(kArchivo, antes);
  namespace fs = std::filesystem;
  const auto fecha = std::chrono::time_point_cast<fs::file_time_type::duration>(
      std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() -
                                               std::chrono::hours(1)));
  fs::last_write_time(kArchivo, fecha);
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("global", "COMM", 3));
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Mostrar", 0));
  // Ya tiene el valor: también es cierto en un archivo de solo lectura.
  const fs::perms escritura =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(kArchivo, escritura, fs::perm_options::remove);
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Comm", "3"));
  fs::permissions(kArchivo, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Contenido(kArchivo), antes);
  EXPECT_EQ(fs::last_write_time(kArchivo), fecha);
}

TEST_F(AjustesTest, AFileWithBareLineFeedsKeepsThem) {
  Crear(kArchivo, "[Global]\nComm=3.\n");
  ajustes_.EscribirIni("Global", "Comm", 4);
  ajustes_.EscribirIni("Global", "Baudios", 2);
  ajustes_.EscribirIni("Setup", "1", 7);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\nComm=4.\nBaudios=2.\n[Setup]\n1=7.\n");
}

}  // namespace

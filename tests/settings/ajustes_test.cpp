#include "ajustes.h"

#include <gtest/gtest.h>

#include <string>

#include "carpeta_temporal.h"

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

}  // namespace

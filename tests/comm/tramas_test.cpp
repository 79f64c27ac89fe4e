#include "tramas.h"

#include <gtest/gtest.h>

#include "bytes_prueba.h"
#include "crc16.h"

namespace {

Registros R(long n) {
  return *Registros::De(n);
}
std::string ConCrc(const std::string& cuerpo) {
  return cuerpo + crc16(cuerpo);
}

TEST(Tramas, PeticionesByteAByte) {
  const PeticionModbus lectura = PeticionLectura(1, 26, R(8));
  EXPECT_EQ(lectura.trama, Bytes({0x01, 0x03, 0x00, 0x1A, 0x00, 0x08, 0x65, 0xCB}));
  EXPECT_EQ(lectura.largoRespuesta, 21u);

  const PeticionModbus escritura = PeticionEscritura(1, 26, 'A', 'B');
  EXPECT_EQ(escritura.trama, Bytes({0x01, 0x06, 0x00, 0x1A, 0x42, 0x41, 0x58, 0x9D}));
  EXPECT_EQ(escritura.largoRespuesta, 8u);

  EXPECT_EQ(PeticionLectura(0, 300, R(1)).trama.substr(0, 6),
            Bytes({0x00, 0x03, 0x01, 0x2C, 0x00, 0x01}));
  EXPECT_EQ(PeticionEscritura(255, 0, '\0', '\xFF').trama.substr(0, 6),
            Bytes({0xFF, 0x06, 0x00, 0x00, 0xFF, 0x00}));
  EXPECT_EQ(PeticionLectura(7, 65535, R(255)).trama.substr(0, 6),
            Bytes({0x07, 0x03, 0xFF, 0xFF, 0x00, 0xFF}));
}

TEST(Tramas, CantidadDeRegistrosDe1A255) {
  EXPECT_FALSE(Registros::De(0));
  EXPECT_FALSE(Registros::De(-1));
  EXPECT_FALSE(Registros::De(256));
  EXPECT_EQ(Registros::De(255)->Cantidad(), 255);
}

TEST(Tramas, RespuestasAceptadasSeDecodificanEnOrdenDeTexto) {
  EXPECT_EQ(AceptarLectura(Bytes({0x01, 0x03, 0x02, 0x42, 0x41, 0x48, 0xD4}), R(1)), "AB");
  EXPECT_EQ(AceptarLectura(ConCrc(Bytes({0x01, 0x03, 0x04, 0x42, 0x41, 0x44, 0x43})), R(2)),
            "ABCD");
  // "ABC" rellenado con NUL viaja en dos registros y vuelve igual, NUL incluido.
  EXPECT_EQ(PeticionEscritura(1, 27, 'C', '\0').trama.substr(4, 2), Bytes({0x00, 0x43}));
  EXPECT_EQ(AceptarLectura(ConCrc(Bytes({0x01, 0x03, 0x04, 0x42, 0x41, 0x00, 0x43})), R(2)),
            std::string("ABC\0", 4));

  const std::string eco = PeticionEscritura(1, 26, 'A', 'B').trama;
  EXPECT_EQ(AceptarEscritura(eco), "AB");
}

TEST(Tramas, SoloSeMiranLargoYBytesDeControl) {
  // Otro esclavo, otra función, otra cuenta de bytes u otro eco: se aceptan igual.
  EXPECT_EQ(AceptarLectura(ConCrc(Bytes({0x09, 0x04, 0x77, 0x42, 0x41})), R(1)), "AB");
  EXPECT_EQ(AceptarEscritura(ConCrc(Bytes({0x09, 0x10, 0x12, 0x34, 0x59, 0x5A}))), "ZY");
}

TEST(Tramas, RespuestasRechazadas) {
  const std::string lectura = Bytes({0x01, 0x03, 0x02, 0x42, 0x41, 0x48, 0xD4});
  const std::string escritura = PeticionEscritura(1, 26, 'A', 'B').trama;
  const std::string excepcion3 = ConCrc(Bytes({0x01, 0x83, 0x02}));
  const std::string excepcion6 = ConCrc(Bytes({0x01, 0x86, 0x02}));

  for (const auto& [respuesta, registros] : {std::pair{lectura.substr(0, 6), 1},
                                             {lectura + 'x', 1},
                                             {lectura, 2},
                                             {excepcion3, 1},
                                             {lectura.substr(0, 5) + Bytes({0x49, 0xD4}), 1},
                                             {lectura.substr(0, 5) + Bytes({0x48, 0xD5}), 1},
                                             {lectura.substr(0, 5) + Bytes({0xD4, 0x48}), 1},
                                             {std::string(), 1}}) {
    EXPECT_EQ(AceptarLectura(respuesta, R(registros)), "") << testing::PrintToString(respuesta);
  }
  for (const std::string& respuesta :
       {escritura.substr(0, 7), escritura + '\0', excepcion6,
        escritura.substr(0, 6) + Bytes({0x9D, 0x58}), escritura.substr(0, 7) + '\x9E'}) {
    EXPECT_EQ(AceptarEscritura(respuesta), "") << testing::PrintToString(respuesta);
  }
}

TEST(Tramas, UnaLecturaDemasiadoLargaParaComprobarseSeRechazaSinExcepcion) {
  // 15 registros: el cuerpo de 33 bytes supera lo que admite crc16.
  std::string respuesta = Bytes({0x01, 0x03, 30}) + std::string(30, 'a');
  respuesta += Bytes({0x00, 0x00});
  EXPECT_EQ(AceptarLectura(respuesta, R(15)), "");
  std::string catorce = Bytes({0x01, 0x03, 28}) + std::string(28, 'a');
  EXPECT_EQ(AceptarLectura(ConCrc(catorce), R(14)), std::string(28, 'a'));
}

}  // namespace

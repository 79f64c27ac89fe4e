#include "tramas.h"

#include <gtest/gtest.h>

#include "bytes_prueba.h"
#include "crc16.h"

using namespace comm;

namespace {

Registros R(long n) {
  return *Registros::De(n);
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
  const PeticionModbus uno = PeticionLectura(1, 26, R(1));
  const PeticionModbus dos = PeticionLectura(1, 26, R(2));
  EXPECT_EQ(Aceptar(uno, Bytes({0x01, 0x03, 0x02, 0x42, 0x41, 0x48, 0xD4})), "AB");
  EXPECT_EQ(Aceptar(dos, ConCrc(Bytes({0x01, 0x03, 0x04, 0x42, 0x41, 0x44, 0x43}))), "ABCD");
  // "ABC" rellenado con NUL viaja en dos registros y vuelve igual, NUL incluido.
  EXPECT_EQ(PeticionEscritura(1, 27, 'C', '\0').trama.substr(4, 2), Bytes({0x00, 0x43}));
  EXPECT_EQ(Aceptar(dos, ConCrc(Bytes({0x01, 0x03, 0x04, 0x42, 0x41, 0x00, 0x43}))),
            std::string("ABC\0", 4));

  const PeticionModbus escritura = PeticionEscritura(1, 26, 'A', 'B');
  EXPECT_EQ(Aceptar(escritura, escritura.trama), "AB");
  EXPECT_EQ(Aceptar(escritura, escritura.trama.substr(0, 7)), "");
}

// Cada regla de aceptación, con tramas armadas a mano y sus bytes de control.
TEST(Tramas, SoloSeAceptaLaRespuestaDeLaPeticion) {
  const PeticionModbus lectura = PeticionLectura(1, 26, R(1));          // 01 03 00 1A 00 01
  const PeticionModbus escritura = PeticionEscritura(1, 26, 'A', 'B');  // 01 06 00 1A 42 41
  const PeticionModbus lectura0 = PeticionLectura(0, 26, R(1));
  const PeticionModbus escritura0 = PeticionEscritura(0, 26, 'A', 'B');
  const std::string leida = Bytes({0x01, 0x03, 0x02, 0x42, 0x41, 0x48, 0xD4});
  const std::string eco = escritura.trama;
  using V = Veredicto;
  struct Caso {
    const char* que;
    const PeticionModbus& peticion;
    std::string respuesta;
    V veredicto;
    int excepcion = 0;
  };
  const Caso casos[] = {
      {"lectura fiel", lectura, leida, V::Aceptada},
      {"eco fiel", escritura, eco, V::Aceptada},
      {"lectura de otro esclavo", lectura, ConCrc(Bytes({0x02, 0x03, 0x02, 0x42, 0x41})),
       V::OtroEsclavo},
      {"eco de otro esclavo", escritura, ConCrc(Bytes({0x02, 0x06, 0x00, 0x1A, 0x42, 0x41})),
       V::OtroEsclavo},
      {"al esclavo 0 contesta el 9", lectura0, ConCrc(Bytes({0x09, 0x03, 0x02, 0x42, 0x41})),
       V::Aceptada},
      {"al esclavo 0 hace eco el 9", escritura0,
       ConCrc(Bytes({0x09, 0x06, 0x00, 0x1A, 0x42, 0x41})), V::Aceptada},
      {"lectura con otra función", lectura, ConCrc(Bytes({0x01, 0x04, 0x02, 0x42, 0x41})),
       V::Ajena},
      {"lectura con cuenta 4 para 1 registro", lectura,
       ConCrc(Bytes({0x01, 0x03, 0x04, 0x42, 0x41, 0x44, 0x43})), V::LargoErroneo},
      {"lectura con cuenta 4 y largo de 1 registro", lectura,
       ConCrc(Bytes({0x01, 0x03, 0x04, 0x42, 0x41})), V::LargoErroneo},
      {"eco con otro valor", escritura, ConCrc(Bytes({0x01, 0x06, 0x00, 0x1A, 0x42, 0x42})),
       V::Ajena},
      {"eco de otro registro", escritura, ConCrc(Bytes({0x01, 0x06, 0x00, 0x19, 0x42, 0x41})),
       V::Ajena},
      {"eco de otra función", escritura, ConCrc(Bytes({0x01, 0x10, 0x00, 0x1A, 0x42, 0x41})),
       V::Ajena},
      {"excepción 04 a la escritura", escritura, ConCrc(Bytes({0x01, 0x86, 0x04})), V::Excepcion,
       4},
      {"excepción 02 a la lectura", lectura, ConCrc(Bytes({0x01, 0x83, 0x02})), V::Excepcion, 2},
      {"excepción de otro esclavo", lectura, ConCrc(Bytes({0x05, 0x83, 0x02})), V::OtroEsclavo},
      {"excepción a otra función", lectura, ConCrc(Bytes({0x01, 0x86, 0x02})), V::Ajena},
      {"excepción de largo 6", escritura, ConCrc(Bytes({0x01, 0x86, 0x04, 0x00})), V::LargoErroneo},
      {"control alterado", escritura, eco.substr(0, 7) + '\x9E', V::ControlErroneo},
      {"control con sus bytes al revés", lectura, leida.substr(0, 5) + Bytes({0xD4, 0x48}),
       V::ControlErroneo},
      {"dato alterado", lectura, leida.substr(0, 3) + Bytes({0x43, 0x41, 0x48, 0xD4}),
       V::ControlErroneo},
      {"eco corto", escritura, eco.substr(0, 7), V::LargoErroneo},
      {"eco con un byte de más", escritura, eco + 'x', V::LargoErroneo},
      {"lectura de 1 para una de 2", PeticionLectura(1, 26, R(2)), leida, V::LargoErroneo},
      {"nada", lectura, "", V::LargoErroneo},
      {"dos bytes con el control de nada", lectura, Bytes({0xFF, 0xFF}), V::LargoErroneo},
  };
  for (const Caso& c : casos) {
    const Juicio juicio = Juzgar(c.peticion, c.respuesta);
    EXPECT_EQ(juicio.veredicto, c.veredicto) << c.que;
    EXPECT_EQ(juicio.excepcion, c.excepcion) << c.que;
    EXPECT_EQ(Aceptar(c.peticion, c.respuesta).empty(), c.veredicto != V::Aceptada) << c.que;
  }
}

TEST(Tramas, UnaLecturaDemasiadoLargaParaComprobarseSeRechazaSinExcepcion) {
  // 15 registros: el cuerpo de 33 bytes supera lo que admite crc16.
  std::string respuesta = Bytes({0x01, 0x03, 30}) + std::string(30, 'a');
  respuesta += Bytes({0x00, 0x00});
  EXPECT_EQ(Aceptar(PeticionLectura(1, 0, R(15)), respuesta), "");
  std::string catorce = Bytes({0x01, 0x03, 28}) + std::string(28, 'a');
  EXPECT_EQ(Aceptar(PeticionLectura(1, 0, R(14)), ConCrc(catorce)), std::string(28, 'a'));
}

}  // namespace

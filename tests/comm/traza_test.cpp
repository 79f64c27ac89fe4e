#include "traza.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "ajustes.h"
#include "bytes_prueba.h"
#include "carpeta_temporal.h"
#include "puerto_falso.h"
#include "tramas.h"
#include "transferencia.h"
#include "traza_archivo.h"

using namespace almacen;
using namespace comm;

namespace {

using ms = std::chrono::milliseconds;

struct TrazaEnMemoria : Traza {
  std::vector<std::string> lineas;
  void Anotar(const std::string& suceso) override { lineas.push_back(suceso); }
};

// Escribe "AB" en el registro 26 del esclavo 1 con `responder` como indicador.
std::vector<std::string> Escribir(std::function<void(PuertoFalso&, const std::string&)> responder,
                                  bool cancelar = false) {
  PuertoFalso puerto;
  puerto.responder = [&](const std::string& t, std::size_t) { responder(puerto, t); };
  TrazaEnMemoria traza;
  Avance avance;
  avance.traza = &traza;
  avance.cancelado = [cancelar] { return cancelar; };
  std::string dato = "ABCD";
  Transferencia(puerto, 1, avance).Escribir("26", dato).datos;
  return traza.lineas;
}

TEST(Traza, CadaPeticionRespuestaYVeredictoEsUnaLinea) {
  const auto eco = [](PuertoFalso& p, const std::string& t) { p.Llegar(ms(20), t); };
  EXPECT_EQ(Escribir(eco), (std::vector<std::string>{
                               "-> 01 06 00 1A 42 41 58 9D  intento 1 de 3",
                               "<- 01 06 00 1A 42 41 58 9D  aceptada, a los 20 ms",
                               "-> 01 06 00 1B 44 43 8B 3C  intento 1 de 3",
                               "<- 01 06 00 1B 44 43 8B 3C  aceptada, a los 20 ms",
                           }));
  EXPECT_EQ(Escribir(eco, true), (std::vector<std::string>{
                                     "-> 01 06 00 1A 42 41 58 9D  intento 1 de 3",
                                     "<- 01 06 00 1A 42 41 58 9D  aceptada, a los 20 ms",
                                     "cancelado",
                                 }));

  const auto mudo = [](PuertoFalso&, const std::string&) {};
  EXPECT_EQ(Escribir(mudo), (std::vector<std::string>{
                                "-> 01 06 00 1A 42 41 58 9D  intento 1 de 3",
                                "sin respuesta en 2000 ms",
                                "-> 01 06 00 1A 42 41 58 9D  intento 2 de 3",
                                "sin respuesta en 2000 ms",
                                "-> 01 06 00 1A 42 41 58 9D  intento 3 de 3",
                                "sin respuesta en 2000 ms",
                            }));
}

TEST(Traza, LoQueNoEsLaRespuestaDiceQueEs) {
  const auto primera = [](std::function<void(PuertoFalso&)> llegar) {
    auto lineas = Escribir([&](PuertoFalso& p, const std::string&) { llegar(p); });
    return lineas.at(1);
  };
  const std::string otroValor = ConCrc(Bytes({0x01, 0x06, 0x00, 0x1A, 0x42, 0x42}));
  EXPECT_EQ(primera([&](PuertoFalso& p) { p.Llegar(ms(5), otroValor); }),
            "<- 01 06 00 1A 42 42 18 9C  no es el eco de esta petición, a los 5 ms");
  EXPECT_EQ(primera([&](PuertoFalso& p) {
              p.Llegar(ms(5), ConCrc(Bytes({0x07, 0x06, 0x00, 0x1A, 0x42, 0x41})));
            }),
            "<- 07 06 00 1A 42 41 58 FB  respuesta de otro esclavo, a los 5 ms");
  EXPECT_EQ(primera([&](PuertoFalso& p) {
              p.Llegar(ms(5), ConCrc(Bytes({0x01, 0x86, 0x04})));
            }),
            "<- 01 86 04 43 A3  excepción 4, a los 5 ms");
  EXPECT_EQ(primera([&](PuertoFalso& p) { p.Llegar(ms(5), otroValor.substr(0, 7) + 'x'); }),
            "<- 01 06 00 1A 42 42 18 78  bytes de control erróneos, a los 5 ms");
  EXPECT_EQ(primera([&](PuertoFalso& p) {
              p.Llegar(ms(5), Bytes({0x01, 0x06, 0x00}));
            }),
            "<- 01 06 00  largo erróneo, a los 5 ms");
}

class TrazaArchivoTest : public EnCarpetaTemporal {};

TEST_F(TrazaArchivoTest, LineasConLaHoraLocalAlMilisegundo) {
  TrazaArchivo traza("Brun_Kqt.log");
  traza.Anotar("primera");
  traza.Anotar("-> 01 06");
  const std::regex lineas(
      "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} primera\n"
      "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} -> 01 06\n");
  EXPECT_TRUE(std::regex_match(Contenido("Brun_Kqt.log"), lineas)) << Contenido("Brun_Kqt.log");
}

TEST_F(TrazaArchivoTest, PasadoElTopeElArchivoPasaAPuntoUnoYEmpiezaOtro) {
  const std::string lleno(TrazaArchivo::kTopeTraza - 30, 'x');
  Crear("Brun_Kqt.log", lleno);
  Crear("Brun_Kqt.log.1", "la vez anterior");
  TrazaArchivo traza("Brun_Kqt.log");
  traza.Anotar("cabe");  // 24 de hora + 4 + salto: 29 bytes, justo bajo el tope
  EXPECT_EQ(Contenido("Brun_Kqt.log.1"), "la vez anterior");
  traza.Anotar("ya no");
  EXPECT_EQ(Contenido("Brun_Kqt.log.1").size(), TrazaArchivo::kTopeTraza - 1);
  EXPECT_EQ(Contenido("Brun_Kqt.log").substr(24), "ya no\n");
}

TEST_F(TrazaArchivoTest, SeEnciendeConElAjusteOConLaOpcion) {
  const auto carpeta = std::filesystem::current_path();
  const Ajustes ajustes(carpeta);
  EXPECT_EQ(AbrirTraza(ajustes, false), nullptr);
  ajustes.EscribirIni("Diagnostico", "Traza", "0");
  EXPECT_EQ(AbrirTraza(ajustes, false), nullptr);

  AbrirTraza(ajustes, true)->Anotar("por opción");
  ajustes.EscribirIni("Diagnostico", "Traza", "1");
  EXPECT_NE(Contenido("Brun_Kqt.ini").find("Traza=1."), std::string::npos);
  AbrirTraza(ajustes, false)->Anotar("por ajuste");
  const std::string log = Contenido(carpeta / "Brun_Kqt.log");
  EXPECT_NE(log.find(" por opción\n"), std::string::npos);
  EXPECT_NE(log.find(" por ajuste\n"), std::string::npos);
}

}  // namespace

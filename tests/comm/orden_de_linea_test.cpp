#include "orden_de_linea.h"

#include <gtest/gtest.h>

#include <vector>

#include "bytes_prueba.h"
#include "puerto_falso.h"
#include "sucesos.h"
#include "traza.h"

using namespace comm;

namespace {

using ms = std::chrono::milliseconds;

std::string Bloque(std::size_t largo) {
  std::string bloque;
  for (std::size_t i = 0; i < largo; ++i) bloque += static_cast<char>(i * 7);  // NUL incluido
  return bloque;
}

TEST(LineaDeComando, EnmarcaElComandoConDosPuntosYCrLf) {
  PuertoFalso puerto;
  TRxC(puerto, "M");
  TRxC(puerto, "");
  ASSERT_EQ(puerto.escritos.size(), 2u);
  EXPECT_EQ(puerto.escritos[0].trama, Bytes({0x3A, 0x4D, 0x0D, 0x0A}));
  EXPECT_EQ(puerto.escritos[1].trama, ":\r\n");
}

TEST(LineaDeComando, SoloUnaRespuestaDeExactamente90BytesVale) {
  PuertoFalso puerto;
  std::size_t largo = 0;
  puerto.responder = [&](const std::string&, std::size_t) {
    puerto.Llegar(ms(300), Bloque(largo));
  };

  largo = 90;
  EXPECT_EQ(TRxC(puerto, "M").datos, Bloque(90));
  EXPECT_EQ(puerto.Ahora() - puerto.escritos.back().cuando, ms(300));

  largo = 89;
  EXPECT_EQ(TRxC(puerto, "M").datos, "");
  EXPECT_EQ(puerto.Ahora() - puerto.escritos.back().cuando, ms(2000));

  largo = 92;
  EXPECT_EQ(TRxC(puerto, "M").datos, "");
  EXPECT_EQ(puerto.escritos.size(), 3u);
}

TEST(LineaDeComando, LoRecibidoAntesDelEnvioNoEntraEnLaRespuesta) {
  PuertoFalso puerto;
  puerto.Llegar(ms(0), "viejo");
  puerto.responder = [&](const std::string&, std::size_t) { puerto.Llegar(ms(50), Bloque(90)); };
  EXPECT_EQ(TRxC(puerto, "M").datos, Bloque(90));
}

TEST(LineaDeComando, LaTrazaAnotaLaOrdenLoRecibidoYElVeredicto) {
  struct : Traza {
    std::vector<std::string> lineas;
    void Anotar(const std::string& suceso) override { lineas.push_back(suceso); }
  } traza;
  PuertoFalso puerto;
  std::string respuesta;
  puerto.responder = [&](const std::string&, std::size_t) { puerto.Llegar(ms(50), respuesta); };
  for (const std::size_t largo : {90, 3, 0}) {
    respuesta = std::string(largo, 'A');
    TRxC(puerto, "M", &traza);
  }
  const std::string noventa = "<- " + Hex(std::string(90, 'A')) + "  aceptada";
  EXPECT_EQ(traza.lineas, (std::vector<std::string>{
                              "-> 3A 4D 0D 0A  orden de línea", noventa,
                              "-> 3A 4D 0D 0A  orden de línea", "<- 41 41 41  largo erróneo",
                              "-> 3A 4D 0D 0A  orden de línea", "sin respuesta en 2000 ms"}));
}

// Lo que vuelve de la orden dice cómo terminó: los 90 bytes, nada, solo su eco, o otro largo.
TEST(LineaDeComando, CadaRespuestaDiceComoTermino) {
  struct Caso {
    const char* que;
    bool eco;
    std::string llega;
    std::string texto;
  };
  const std::vector<Caso> casos = {
      {"el bloque", false, Bloque(90), "aceptada"},
      {"el bloque tras el eco", true, Bloque(90), "aceptada"},
      {"nada", false, "", "sin respuesta"},
      {"solo el eco", true, "", "solo volvió el eco de la línea"},
      {"un trozo del eco", false, ":M", "solo volvió el eco de la línea"},
      {"corta", false, Bloque(37), "respuesta de 37 bytes, no de 90"},
      {"corta tras el eco", true, Bloque(37), "respuesta de 37 bytes, no de 90"},
  };
  for (const Caso& c : casos) {
    PuertoFalso puerto;
    puerto.responder = [&](const std::string& orden, std::size_t) {
      if (c.eco) puerto.Llegar(ms(0), orden);
      puerto.Llegar(ms(50), c.llega);
    };
    const Entrega respuesta = TRxC(puerto, "M");
    EXPECT_EQ(TextoMotivo(respuesta.motivo), c.texto) << c.que;
    EXPECT_EQ(respuesta.datos, respuesta.motivo.Exito() ? Bloque(90) : "") << c.que;
  }
}

}  // namespace

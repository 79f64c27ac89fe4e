#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "simulador_en_marcha.h"

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

const std::string kEscribirAB = Hex("01 06 00 1A 42 41 58 9D");
const std::string kEscribirDCEn27 = Hex("01 06 00 1B 44 43 8B 3C");
const std::string kLeer2Desde26 = Hex("01 03 00 1A 00 02 E5 CC");

std::string Bytes(const std::vector<Puerto::Llegada>& llegadas) {
  std::string bytes;
  for (const auto& llegada : llegadas) bytes += llegada.byte;
  return bytes;
}

// El bus devuelve lo enviado antes de la respuesta, haya o no quien conteste.
TEST(SimuladorDosHilos, ElEcoDelBusPrecedeALaRespuestaYSaleSinIndicador) {
  struct Caso {
    std::vector<std::string> opciones;
    bool contesta;
  };
  for (const Caso& caso : {Caso{{"--eco-linea"}, true}, Caso{{"--eco-linea", "--mudo"}, false},
                           Caso{{"--eco-linea", "--id", "1,2", "--callar", "1,2"}, false}}) {
    SimuladorEnMarcha sim(caso.opciones);
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(16), caso.contesta ? kEscribirAB + kEscribirAB : kEscribirAB)
        << caso.opciones.back();
    puerto.Enviar(":M\r\n");
    const std::string orden = puerto.Recibir(94);
    EXPECT_EQ(orden.substr(0, 4), ":M\r\n");
    EXPECT_EQ(orden.size(), caso.contesta ? 94u : 4u);
    EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  }
}

// Con --baudios, el eco de cada byte llega al final de su carácter, y la respuesta 3,5
// caracteres después del último.
TEST(SimuladorDosHilos, ConBaudiosElEcoVaAlRitmoDelBus) {
  SimuladorEnMarcha sim({"--eco-linea", "--baudios", "1200"});
  const auto caracter = microseconds(10'000'000 / 1200);
  Puerto puerto(sim.Esclavo());
  const auto enviada = std::chrono::steady_clock::now();
  puerto.Enviar(kEscribirAB);
  const auto llegadas = puerto.RecibirConHoras(16);
  ASSERT_EQ(Bytes(llegadas), kEscribirAB + kEscribirAB);
  for (size_t i = 0; i < llegadas.size(); ++i) {
    const auto minimo =
        caracter * static_cast<long>(i + 1) + (i >= 8 ? caracter * 7 / 2 : microseconds(0));
    const auto tardo = std::chrono::duration_cast<microseconds>(llegadas[i].hora - enviada);
    EXPECT_GE(tardo.count(), minimo.count()) << "µs, byte " << i;
  }
}

long LeerColisiones(const std::string& ruta) {
  long colisiones = -1;
  if (FILE* archivo = std::fopen(ruta.c_str(), "r")) {
    if (std::fscanf(archivo, "%ld", &colisiones) != 1) colisiones = -1;
    std::fclose(archivo);
  }
  std::remove(ruta.c_str());
  return colisiones;
}

// En un bus de dos hilos, quien espera la respuesta entera no choca; quien envía mientras el
// indicador contesta pierde lo enviado y recibe la respuesta deformada.
TEST(SimuladorDosHilos, EnSemiduplexLoQueSeEnviaMientrasContestaChoca) {
  for (const bool eco : {false, true}) {
    const std::string colisiones = RutaTemporal("colisiones");
    std::vector<std::string> opciones{"--semiduplex", "--baudios", "1200", "--colisiones",
                                      colisiones};
    if (eco) opciones.push_back("--eco-linea");
    SimuladorEnMarcha sim(opciones);
    Puerto puerto(sim.Esclavo());
    const std::string eco_ab = eco ? kEscribirAB : "";
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(eco_ab.size() + 8), eco_ab + kEscribirAB) << "eco " << eco;

    // Sin eco, el programa no sabe cuándo pasó su petición: envía tras 7 caracteres.
    puerto.Enviar(kEscribirAB);
    if (eco) {
      EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
    } else {
      std::this_thread::sleep_for(milliseconds(60));
    }
    puerto.Enviar(kEscribirDCEn27);
    const std::string recibido = puerto.Recibir(eco ? 16 : 8, milliseconds(500));
    EXPECT_EQ(recibido.find(kEscribirAB), std::string::npos)
        << "la respuesta chocada llegó entera, eco " << eco;
    EXPECT_EQ(recibido.find(kEscribirDCEn27), std::string::npos) << "ni la que chocó";

    // La escritura que chocó no llegó al indicador.
    std::this_thread::sleep_for(milliseconds(100));
    puerto.Enviar(kLeer2Desde26);
    const std::string eco_lectura = eco ? kLeer2Desde26 : "";
    EXPECT_EQ(puerto.Recibir(eco_lectura.size() + 9, milliseconds(500)),
              eco_lectura + Hex("01 03 04 42 41 00 00 BE 5F"));
    sim.Senal(SIGTERM);
    ASSERT_EQ(sim.Esperar(), 0);
    const long chocaron = LeerColisiones(colisiones);
    EXPECT_GE(chocaron, 1) << "eco " << eco;
    EXPECT_LE(chocaron, 8) << "eco " << eco;
  }
}

TEST(SimuladorDosHilos, SinBaudiosNadaChoca) {
  const std::string colisiones = RutaTemporal("colisiones");
  SimuladorEnMarcha sim({"--semiduplex", "--colisiones", colisiones});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kEscribirAB + kEscribirDCEn27);
  EXPECT_EQ(puerto.Recibir(16), kEscribirAB + kEscribirDCEn27);
  sim.Senal(SIGTERM);
  ASSERT_EQ(sim.Esperar(), 0);
  EXPECT_EQ(LeerColisiones(colisiones), 0);
}

}  // namespace

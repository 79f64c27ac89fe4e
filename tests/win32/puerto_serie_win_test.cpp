#include "puerto_serie_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "comunicacion.h"
#include "transferencia.h"

using namespace comm;

// Estas pruebas hablan con indicadores simulados que scripts/test-windows pone en marcha y
// asigna a puertos COM del prefijo de wine:
//   COM11 un indicador con ID 1; COM12 uno mudo; COM13 uno que corta la línea tras una orden;
//   COM15 un adaptador que se quita tras una petición y vuelve 1 s después.
// COM19 no existe.
namespace {

using namespace std::chrono_literals;
using Reloj = Puerto::Reloj;

constexpr long kIndicador = 11;
constexpr long kMudo = 12;
constexpr long kCortado = 13;
constexpr long kDesenchufable = 15;
constexpr long kInexistente = 19;

double MsDesde(Reloj::time_point inicio) {
  return std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
}

// Segundos de procesador de este proceso, sumando usuario y núcleo.
double SegundosDeCpu() {
  FILETIME creado, terminado, nucleo, usuario;
  GetProcessTimes(GetCurrentProcess(), &creado, &terminado, &nucleo, &usuario);
  const auto segundos = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return segundos(nucleo) + segundos(usuario);
}

std::string Archivo(const char* ruta) {
  std::ifstream entrada(ruta, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(entrada), {});
}

Peticion Pedido(const char* fnc, long puerto, std::string dato) {
  Peticion peticion;
  peticion.xFnc = fnc;
  peticion.xDato = std::move(dato);
  peticion.seleccion = Seleccion{puerto, 3, 1};  // 9600 baudios, ID 1
  return peticion;
}

class PuertoSerieWinTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("MEMBRETE_SIMULADORES")) {
      GTEST_SKIP() << "sin indicadores simulados: correr con scripts/test-windows";
    }
  }

  void Abrir(long numero) {
    puerto.SetCommPort(numero);
    ASSERT_TRUE(puerto.SetSettings("9600,n,8,1"));
    ASSERT_TRUE(puerto.SetPortOpen(true)) << puerto.ErrorApertura();
  }

  PuertoSerieWin puerto;
};

// El membrete de 75 bytes más su NUL ocupa los registros 26 a 63; el script compara además
// lo que el indicador guardó con el archivo.
TEST_F(PuertoSerieWinTest, SubeUnMembreteDe75BytesYLoLeeDeVuelta) {
  const std::string membrete = Archivo(MEMBRETE_75_BYTES);
  ASSERT_EQ(membrete.size(), 75u);
  Peticion subida = Pedido("T", kIndicador, membrete + '\0');
  subida.xDire = "26";
  AbrirPuerto(puerto, subida);
  const auto inicio = Reloj::now();
  HacerPeticion(subida, puerto, VistaComunicando{});
  const double ms = MsDesde(inicio);
  EXPECT_TRUE(subida.xOK);
  EXPECT_FALSE(puerto.PortOpen());
  std::printf("Subida de 38 registros a 9600 baudios: %.0f ms, %.1f ms por registro\n", ms,
              ms / 38);

  Peticion lectura = Pedido("R", kIndicador, "");
  lectura.xDire = "26";
  lectura.xLong = "38";
  AbrirPuerto(puerto, lectura);
  HacerPeticion(lectura, puerto, VistaComunicando{});
  EXPECT_TRUE(lectura.xOK);
  EXPECT_EQ(lectura.xDato, membrete + '\0');
}

// Los 256 valores de byte, incluidos NUL, CR, LF, XON y XOFF, pasan sin cambios de ida y vuelta.
TEST_F(PuertoSerieWinTest, PasaCadaByteEnAmbosSentidos) {
  std::string todos;
  for (int b = 0; b < 256; ++b) todos.push_back(static_cast<char>(b));
  Abrir(kIndicador);
  Transferencia transferencia(puerto, 1, Avance{});
  std::string dato = todos;
  EXPECT_EQ(transferencia.Escribir("1000", dato).datos, todos);
  EXPECT_EQ(transferencia.Leer("1000", "128").datos, todos);
}

// Tres intentos de 2000 ms cada uno, durmiendo: sin girar en la espera.
TEST_F(PuertoSerieWinTest, UnIndicadorMudoFallaTrasTresIntentosSinGastarProcesador) {
  Peticion subida = Pedido("T", kMudo, "ab");
  subida.xDire = "26";
  AbrirPuerto(puerto, subida);
  ASSERT_TRUE(puerto.PortOpen()) << puerto.ErrorApertura();
  const double cpu = SegundosDeCpu();
  const auto inicio = Reloj::now();
  HacerPeticion(subida, puerto, VistaComunicando{});
  const double ms = MsDesde(inicio);
  const double gastado = SegundosDeCpu() - cpu;
  std::printf("Indicador mudo: %.0f ms, %.3f s de procesador\n", ms, gastado);
  EXPECT_FALSE(subida.xOK);
  EXPECT_GE(ms, 3 * 2000);
  EXPECT_LT(ms, 3 * 2000 + 500);
  EXPECT_LT(gastado, 0.2);
}

TEST_F(PuertoSerieWinTest, UnPuertoQueNoExisteNoAbreYLaOrdenFalla) {
  EXPECT_TRUE(puerto.SetCommPort(kInexistente));
  EXPECT_FALSE(puerto.SetPortOpen(true));
  EXPECT_EQ(puerto.ErrorApertura(), "el puerto no existe");
  EXPECT_EQ(puerto.Dispositivo(), "COM19");

  Peticion orden = Pedido("C", kInexistente, "M");
  AbrirPuerto(puerto, orden);
  const auto inicio = Reloj::now();
  HacerPeticion(orden, puerto, VistaComunicando{});
  EXPECT_EQ(orden.xDato, "");
  // Sin puerto no hay plazos que esperar: falla enseguida, con el motivo.
  EXPECT_LT(MsDesde(inicio), 500);
  EXPECT_EQ(TextoMotivo(orden.motivo), "no se pudo abrir COM19: el puerto no existe");
}

// Orden de línea, esperas que terminan con los bytes y plazos; luego el indicador corta la
// línea como un adaptador desenchufado: el puerto se cierra y las esperas duermen.
TEST_F(PuertoSerieWinTest, EsperaLosBytesYDuermeCuandoLaLineaSeCorta) {
  Abrir(kCortado);
  puerto.Input();
  puerto.Output(":M\r\n");
  const auto inicio = Reloj::now();
  puerto.Esperar(90, inicio + 2s);
  const double ms = MsDesde(inicio);
  std::printf("Bloque de 90 bytes: la espera volvió a los %.1f ms\n", ms);
  EXPECT_LT(ms, 500);
  EXPECT_GE(puerto.UltimaRecepcion(), inicio);
  EXPECT_EQ(puerto.InBufferCount(), 90u);
  EXPECT_EQ(puerto.Input().size(), 90u);
  EXPECT_EQ(puerto.InBufferCount(), 0u);

  // El simulador se va cuando leímos su respuesta.
  const double cpu = SegundosDeCpu();
  const auto corte = Reloj::now();
  for (int intento = 0; intento < 3; ++intento) {
    puerto.Input();
    puerto.Output(":M\r\n");
    puerto.Esperar(90, Reloj::now() + 1s);
  }
  const double gastado = SegundosDeCpu() - cpu;
  std::printf("Línea cortada: 3 esperas de 1000 ms en %.0f ms, %.3f s de procesador\n",
              MsDesde(corte), gastado);
  EXPECT_GE(MsDesde(corte), 3000);
  // Girar gastaría los 3 s enteros; bajo wine se pierde a lo sumo un tramo de espera.
  EXPECT_LT(gastado, 0.3);
  EXPECT_FALSE(puerto.PortOpen());
  EXPECT_EQ(puerto.Input(), "");
}

// Quitado el adaptador, la escritura falla a sus plazos sin girar y el puerto se cierra; vuelto
// bajo el mismo COM, abre y el indicador conserva lo que tenía.
TEST_F(PuertoSerieWinTest, UnAdaptadorQueSeQuitaYVuelve) {
  Abrir(kDesenchufable);
  Transferencia transferencia(puerto, 1, Avance{});
  std::string ab = "AB";
  ASSERT_EQ(transferencia.Escribir("26", ab).datos, "AB");

  std::string cd = "CD";
  const double cpu = SegundosDeCpu();
  const auto inicio = Reloj::now();
  EXPECT_EQ(transferencia.Escribir("27", cd).datos, "");
  const double ms = MsDesde(inicio);
  const double gastado = SegundosDeCpu() - cpu;
  std::printf("Adaptador quitado: la escritura falló a los %.0f ms, %.3f s de procesador\n", ms,
              gastado);
  EXPECT_LT(ms, 3 * 2000 + 500);
  EXPECT_LT(gastado, 0.3);
  EXPECT_FALSE(puerto.PortOpen());

  Abrir(kDesenchufable);
  EXPECT_EQ(transferencia.Escribir("27", cd).datos, "CD");
  EXPECT_EQ(transferencia.Leer("26", "2").datos, "ABCD");
}

}  // namespace

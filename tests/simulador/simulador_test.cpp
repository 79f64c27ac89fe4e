#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "simulador_en_marcha.h"

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// Tramas con su control, calculado aparte de este código.
const std::string kLeer8Desde26 = Hex("01 03 00 1A 00 08 65 CB");
const std::string kLeer2Desde26 = Hex("01 03 00 1A 00 02 E5 CC");
const std::string kLeer1Desde26 = Hex("01 03 00 1A 00 01 A5 CD");
const std::string kEscribirAB = Hex("01 06 00 1A 42 41 58 9D");
const std::string kOrdenM = ":M\r\n";

TEST(Simulador, ContestaLecturasYEscriturasDeRegistros) {
  SimuladorEnMarcha sim({"--registro", "26=16961", "--registro", "27=17475"});
  Puerto puerto(sim.Esclavo());

  puerto.Enviar(kLeer2Desde26);
  EXPECT_EQ(puerto.Recibir(9), Hex("01 03 04 42 41 44 43 CC AE"));
  puerto.Enviar(kLeer8Desde26);
  EXPECT_EQ(puerto.Recibir(21),
            Hex("01 03 10 42 41 44 43 00 00 00 00 00 00 00 00 00 00 00 00 6A BF"));

  const std::string escribir_xy = Hex("01 06 00 1A 59 58 93 A7");
  puerto.Enviar(escribir_xy);
  EXPECT_EQ(puerto.Recibir(8), escribir_xy);
  puerto.Enviar(kLeer1Desde26);
  EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 59 58 83 EE"));

  // 9 registros, más allá del último registro, otra función.
  puerto.Enviar(Hex("01 03 00 1A 00 09 A4 0B"));
  EXPECT_EQ(puerto.Recibir(5), Hex("01 83 03 01 31"));
  puerto.Enviar(Hex("01 03 FF FF 00 02 C4 2F"));
  EXPECT_EQ(puerto.Recibir(5), Hex("01 83 02 C0 F1"));
  puerto.Enviar(Hex("01 04 00 1A 00 01 10 0D"));
  EXPECT_EQ(puerto.Recibir(5), Hex("01 84 01 82 C0"));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
}

TEST(Simulador, ContestaLaOrdenMConElBloqueDeConfiguracion) {
  {
    SimuladorEnMarcha sim({});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kOrdenM);
    const std::string bloque = puerto.Recibir(90);
    ASSERT_EQ(bloque.size(), 90u);
    EXPECT_EQ(bloque.substr(3, 3), Hex("10 27 00"));  // 10000 en el primer número
    puerto.Enviar(":X\r\n");
    EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "ni más bytes, ni respuesta a otra orden";
  }
  std::string hex;
  std::string esperado;
  for (int i = 0; i < 90; ++i) {
    char cifras[3];
    std::snprintf(cifras, sizeof cifras, "%02x", 255 - i);
    hex += cifras;
    esperado += static_cast<char>(255 - i);
  }
  SimuladorEnMarcha sim({"--setup", hex, "--solo-linea"});
  EXPECT_EQ(Pedir(sim.Esclavo(), kOrdenM, 90), esperado);
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kLeer1Desde26);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "--solo-linea no contesta tramas";
}

TEST(Simulador, ConElId58UnaTramaQueEmpiezaConDosPuntosNoEsUnaOrden) {
  SimuladorEnMarcha sim({"--id", "58", "--registro", "26=22873"});
  EXPECT_EQ(Pedir(sim.Esclavo(), Hex("3A 03 00 1A 00 01 A1 46"), 7), Hex("3A 03 02 59 59 A7 EB"));
  EXPECT_EQ(Pedir(sim.Esclavo(), kOrdenM, 90).size(), 90u);
}

TEST(Simulador, CallaAnteOtroIdOControlErroneoYSeRecuperaDeLaBasura) {
  SimuladorEnMarcha sim({});
  Puerto puerto(sim.Esclavo());

  puerto.Enviar(Hex("02 03 00 1A 00 01 A5 FE"));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "otro ID";
  puerto.Enviar(Hex("01 03 00 1A 00 01 A5 CE"));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "control erróneo";

  // Basura y una trama a medias: tras un silencio se descartan.
  puerto.Enviar(Hex("FF 00 17"));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  puerto.Enviar(kLeer8Desde26.substr(0, 5));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  puerto.Enviar(kLeer1Desde26);
  EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 00 00 B8 44"));

  // Dos peticiones de una vez: dos respuestas.
  puerto.Enviar(kLeer1Desde26 + kEscribirAB);
  EXPECT_EQ(puerto.Recibir(15), Hex("01 03 02 00 00 B8 44") + kEscribirAB);
}

TEST(Simulador, PierdeCorrompeOContestaConExcepcionSegunLasOpciones) {
  {
    SimuladorEnMarcha sim({"--perder", "2"});
    Puerto puerto(sim.Esclavo());
    for (int n = 1; n <= 4; ++n) {
      puerto.Enviar(n % 2 ? kEscribirAB : kOrdenM);
      if (n % 2) {
        EXPECT_EQ(puerto.Recibir(8), kEscribirAB) << "petición " << n;
      } else {
        EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "petición " << n;
      }
    }
  }
  {
    SimuladorEnMarcha sim({"--perder-desde", "1"});
    EXPECT_EQ(Pedir(sim.Esclavo(), kEscribirAB, 8), kEscribirAB);
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  }
  {
    SimuladorEnMarcha sim({"--corromper", "2"});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
    puerto.Enviar(kOrdenM);  // sin control: no cuenta
    EXPECT_EQ(puerto.Recibir(90).size(), 90u);
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(8), Hex("01 06 00 1A 42 41 58 9C"));
  }
  SimuladorEnMarcha sim({"--excepcion"});
  EXPECT_EQ(Pedir(sim.Esclavo(), kLeer1Desde26, 5), Hex("01 83 04 40 F3"));
}

TEST(Simulador, RodeaYCortaLasRespuestasSegunLasOpciones) {
  SimuladorEnMarcha sim({"--ruido", "3", "--parcial", "5", "--basura", "2"});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kEscribirAB);
  const std::string recibido = puerto.Recibir(10);
  ASSERT_EQ(recibido.size(), 10u);
  EXPECT_EQ(recibido.substr(3, 5), kEscribirAB.substr(0, 5));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
}

TEST(Simulador, EscriturasDesviadasYRespuestasDeOtroId) {
  {
    // Guarda y devuelve el valor más 1.
    SimuladorEnMarcha sim({"--eco-otro-valor", "1"});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(8), Hex("01 06 00 1A 42 42 18 9C"));
    puerto.Enviar(kLeer1Desde26);
    EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 42 42 08 D5"));
  }
  {
    // La segunda escritura va al registro siguiente, y su eco lo dice.
    SimuladorEnMarcha sim({"--eco-otro-registro", "2"});
    Puerto puerto(sim.Esclavo());
    const std::string escribir_dc_en_27 = Hex("01 06 00 1B 44 43 8B 3C");
    puerto.Enviar(kEscribirAB + escribir_dc_en_27);
    EXPECT_EQ(puerto.Recibir(16), kEscribirAB + Hex("01 06 00 1C 44 43 3A FD"));
    puerto.Enviar(Hex("01 03 00 1A 00 03 24 0C"));
    EXPECT_EQ(puerto.Recibir(11), Hex("01 03 06 42 41 00 00 44 43 60 A9"));
  }
  {
    // Otro ID, con el control rehecho: también en las excepciones, que siguen bien formadas.
    SimuladorEnMarcha sim({"--otro-id", "1", "--registro", "27=16961"});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kLeer2Desde26);
    EXPECT_EQ(puerto.Recibir(9), Hex("02 03 04 00 00 42 41 39 A3"));
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(8), Hex("02 06 00 1A 42 41 58 AE"));
  }
  SimuladorEnMarcha sim({"--otro-id", "1", "--excepcion"});
  EXPECT_EQ(Pedir(sim.Esclavo(), kLeer1Desde26, 5), Hex("02 83 04 B0 F3"));
}

// Cada segunda escritura recibe su eco correcto y no se guarda; la cuenta lo dice al terminar.
TEST(Simulador, EscriturasIgnoradasConSuEcoYContadas) {
  const std::string escrituras = RutaTemporal("escrituras.txt");
  SimuladorEnMarcha sim({"--ignorar-escrituras", "2", "--escrituras", escrituras});
  Puerto puerto(sim.Esclavo());
  const std::string escribir_dc_en_27 = Hex("01 06 00 1B 44 43 8B 3C");
  puerto.Enviar(kEscribirAB + escribir_dc_en_27);
  EXPECT_EQ(puerto.Recibir(16), kEscribirAB + escribir_dc_en_27);
  puerto.Enviar(kLeer2Desde26);
  EXPECT_EQ(puerto.Recibir(9), Hex("01 03 04 42 41 00 00 BE 5F"));
  sim.Senal(SIGTERM);
  ASSERT_EQ(sim.Esperar(), 0);
  EXPECT_EQ(LeerArchivo(escrituras), "escrituras 2\nignoradas 1\n");
  std::remove(escrituras.c_str());
}

// Niega toda lectura con la excepción 02 y sigue guardando las escrituras.
TEST(Simulador, NiegaLasLecturasYGuardaLasEscrituras) {
  const std::string membrete = RutaTemporal("negar.txt");
  SimuladorEnMarcha sim({"--negar-lectura", "--membrete", membrete});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kLeer1Desde26);
  EXPECT_EQ(puerto.Recibir(5), Hex("01 83 02 C0 F1"));
  puerto.Enviar(kEscribirAB);
  EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
  sim.Senal(SIGTERM);
  ASSERT_EQ(sim.Esperar(), 0);
  EXPECT_EQ(LeerArchivo(membrete), "AB");
  std::remove(membrete.c_str());
}

// Desde la segunda escritura, primero llega el eco de la anterior y luego, más tarde, el suyo.
TEST(Simulador, EcoTardioDeLaEscrituraAnterior) {
  SimuladorEnMarcha sim({"--eco-tardio", "1"});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kEscribirAB);
  EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "la primera escritura no tiene anterior";

  const std::string escribir_dc_en_27 = Hex("01 06 00 1B 44 43 8B 3C");
  puerto.Enviar(escribir_dc_en_27);
  const auto llegadas = puerto.RecibirConHoras(16);
  ASSERT_EQ(llegadas.size(), 16u);
  std::string bytes;
  for (const auto& llegada : llegadas) bytes += llegada.byte;
  EXPECT_EQ(bytes, kEscribirAB + escribir_dc_en_27);
  EXPECT_GE(llegadas[8].hora - llegadas[7].hora, milliseconds(90)) << "llegaron juntos";
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
}

TEST(Simulador, EsperaTrasLaPeticion) {
  SimuladorEnMarcha sim({"--retardo", "150"});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kEscribirAB);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
}

// Un maestro que anota la hora de cada byte: ninguno llega antes de lo que una línea real
// permite, 3,5 caracteres de silencio y luego el final del carácter de cada byte.
TEST(Simulador, CadaByteLlegaAlFinalDeSuCaracter) {
  SimuladorEnMarcha sim({"--baudios", "1200"});
  const auto caracter = microseconds(10'000'000 / 1200);
  for (const auto& [peticion, respuesta] :
       {std::pair{kEscribirAB, kEscribirAB}, std::pair{kOrdenM, std::string()}}) {
    Puerto puerto(sim.Esclavo());
    const auto enviada = std::chrono::steady_clock::now();
    puerto.Enviar(peticion);
    const auto llegadas = puerto.RecibirConHoras(respuesta.empty() ? 90 : respuesta.size());
    ASSERT_EQ(llegadas.size(), respuesta.empty() ? 90u : respuesta.size());
    for (size_t i = 0; i < llegadas.size(); ++i) {
      if (!respuesta.empty()) {
        EXPECT_EQ(llegadas[i].byte, respuesta[i]);
      }
      const auto minimo = caracter * 7 / 2 + caracter * static_cast<long>(i + 1);
      const auto tardo = std::chrono::duration_cast<microseconds>(llegadas[i].hora - enviada);
      EXPECT_GE(tardo.count(), minimo.count()) << "µs, byte " << i << " de " << llegadas.size();
    }
  }
}

TEST(Simulador, SigusrLoCallaYLoHaceVolver) {
  SimuladorEnMarcha sim({"--mudo"});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kEscribirAB);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  sim.Senal(SIGUSR1);
  puerto.Enviar(kEscribirAB);
  EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
  sim.Senal(SIGUSR1);
  puerto.Enviar(kEscribirAB);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
}

TEST(Simulador, AlTerminarEscribeElVolcadoYElMembrete) {
  const std::string volcado = RutaTemporal("volcado.bin");
  const std::string membrete = RutaTemporal("membrete.txt");
  SimuladorEnMarcha sim({"--registro", "100=4660", "--volcado", volcado, "--membrete", membrete});
  EXPECT_EQ(Pedir(sim.Esclavo(), kEscribirAB, 8), kEscribirAB);
  const std::string escribir_c = Hex("01 06 00 1B 00 43 B8 3C");  // "C" y NUL
  EXPECT_EQ(Pedir(sim.Esclavo(), escribir_c, 8), escribir_c);
  sim.Senal(SIGTERM);
  ASSERT_EQ(sim.Esperar(), 0);

  EXPECT_EQ(LeerArchivo(membrete), "ABC");
  const std::string banco = LeerArchivo(volcado);
  ASSERT_EQ(banco.size(), 131072u);
  EXPECT_EQ(banco.substr(52, 6), std::string("ABC\0\0\0", 6));
  EXPECT_EQ(banco.substr(200, 2), Hex("34 12"));
  std::remove(volcado.c_str());
  std::remove(membrete.c_str());
}

// Como el programa: abre en exclusiva, pide, lee solo su respuesta y cierra, tres veces, sin
// privilegios. Devuelve 0 o el número de la vuelta que falló (10 y 11: no pudo dejar de ser root).
int TresAperturasSinPrivilegios(const std::string& esclavo) {
  if (geteuid() == 0) {
    const passwd* nadie = getpwnam("nobody");
    if (nadie == nullptr || chown(esclavo.c_str(), nadie->pw_uid, -1) != 0) return 10;
    if (setgid(nadie->pw_gid) != 0 || setuid(nadie->pw_uid) != 0) return 11;
  }
  for (int vuelta = 1; vuelta <= 3; ++vuelta) {
    try {
      Puerto puerto(esclavo, true);
      // El programa pide 100 ms después de abrir; el simulador limpia al ver el cierre anterior.
      std::this_thread::sleep_for(milliseconds(20));
      puerto.Enviar(kEscribirAB);
      if (puerto.Recibir(8) != kEscribirAB) return vuelta;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "vuelta %d: %s\n", vuelta, error.what());
      return vuelta;
    }
  }
  return 0;
}

TEST(Simulador, SeReabreSinPrivilegiosYSinRestosDeLaAperturaAnterior) {
  // La basura que sigue a cada respuesta queda sin leer al cerrar.
  SimuladorEnMarcha sim({"--basura", "4"});
  const pid_t hijo = fork();
  if (hijo == 0) _exit(TresAperturasSinPrivilegios(sim.Esclavo()));
  int estado = 0;
  ASSERT_EQ(waitpid(hijo, &estado, 0), hijo);
  ASSERT_TRUE(WIFEXITED(estado));
  EXPECT_EQ(WEXITSTATUS(estado), 0) << "falló la vuelta " << WEXITSTATUS(estado);
}

TEST(Simulador, TerminaPorSiMismoYQuitaSuEnlace) {
  {
    SimuladorEnMarcha sim({"--cerrar-tras", "1"});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kEscribirAB);
    EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
    EXPECT_TRUE(puerto.Colgado(milliseconds(2000)));
    EXPECT_EQ(sim.Esperar(), 0);
  }
  const std::string enlace = RutaTemporal("enlace");
  SimuladorEnMarcha sim({"--vida", "0.3", "--enlace", enlace});
  char destino[256] = {};
  ASSERT_GT(readlink(enlace.c_str(), destino, sizeof destino - 1), 0);
  EXPECT_EQ(destino, sim.Esclavo());
  EXPECT_EQ(sim.Esperar(), 0);
  struct stat datos {};
  EXPECT_NE(lstat(enlace.c_str(), &datos), 0) << "el enlace sigue ahí";
}

// Con --una-velocidad, lo que llega con el esclavo a otra velocidad es basura: no se contesta
// ni se guarda. Sin ella, el simulador contesta a cualquier velocidad.
TEST(Simulador, OyeSoloASuVelocidad) {
  const std::string escrituras = RutaTemporal("escrituras.txt");
  const std::string escribir_xy = Hex("01 06 00 1A 59 58 93 A7");
  {
    SimuladorEnMarcha sim({"--baudios", "2400", "--una-velocidad", "--escrituras", escrituras});
    Puerto puerto(sim.Esclavo());
    for (const long baudios : {9600L, 1200L}) {
      puerto.Velocidad(baudios);
      for (const std::string& peticion : {kLeer1Desde26, kOrdenM, escribir_xy}) {
        puerto.Enviar(peticion);
        EXPECT_EQ(puerto.Recibir(1, kCallado), "") << baudios << " " << peticion.size();
      }
    }
    puerto.Velocidad(2400);
    puerto.Enviar(kLeer1Desde26);
    EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 00 00 B8 44")) << "lo escrito a 9600 no quedó";
    puerto.Enviar(kOrdenM);
    EXPECT_EQ(puerto.Recibir(90).size(), 90u);
    puerto.Enviar(escribir_xy);
    EXPECT_EQ(puerto.Recibir(8), escribir_xy);
    sim.Senal(SIGTERM);
    EXPECT_EQ(sim.Esperar(), 0);
  }
  EXPECT_EQ(LeerArchivo(escrituras), "escrituras 1\nignoradas 0\n")
      << "solo la escritura a su velocidad";

  SimuladorEnMarcha sim({"--baudios", "2400"});
  Puerto puerto(sim.Esclavo());
  puerto.Velocidad(9600);
  puerto.Enviar(kLeer1Desde26);
  EXPECT_EQ(puerto.Recibir(7).size(), 7u);
}

// --solo-registros, lo contrario de --solo-linea: un indicador que solo habla Modbus.
TEST(Simulador, SoloRegistrosNoContestaLaOrdenM) {
  SimuladorEnMarcha sim({"--solo-registros"});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kOrdenM);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  puerto.Enviar(kLeer1Desde26);
  EXPECT_EQ(puerto.Recibir(7).size(), 7u);
}

TEST(Simulador, OpcionesNoValidas) {
  for (const std::vector<std::string>& malas :
       std::vector<std::vector<std::string>>{{"--perder", "0"},
                                             {"--eco-tardio", "0"},
                                             {"--ignorar-escrituras", "0"},
                                             {"--volver-tras", "-5"},
                                             {"--id", "256"},
                                             {"--id", "5-3"},
                                             {"--id", "1,"},
                                             {"--callar", "2"},
                                             {"--id", "1,2", "--callar", "3"},
                                             {"--registro", "65536=1"},
                                             {"--registro", "26"},
                                             {"--registro", "2:26=1"},
                                             {"--setup", "00"},
                                             {"--baudios", "1234"},
                                             {"--solo-linea", "--solo-registros"},
                                             {"--vida", "-1"},
                                             {"--retardo"},
                                             {"--nada"},
                                             {"sobrante"}}) {
    const Ejecucion mala = Ejecutar(malas);
    EXPECT_EQ(mala.codigo, 2) << malas[0] << " " << malas.back();
    EXPECT_EQ(mala.salida, "") << malas[0];
  }
}

// Lo que el README muestra como lista de opciones es la ayuda tal cual.
TEST(Simulador, ElReadmeMuestraLaAyudaTalCual) {
  const Ejecucion ayuda = Ejecutar({"--help"});
  ASSERT_EQ(ayuda.codigo, 0);
  std::string sangrada;
  size_t desde = 0;
  while (desde < ayuda.salida.size()) {
    const size_t fin = ayuda.salida.find('\n', desde);
    const std::string renglon = ayuda.salida.substr(desde, fin - desde);
    sangrada += (renglon.empty() ? "" : "    ") + renglon + "\n";
    desde = fin + 1;
  }
  EXPECT_NE(LeerArchivo(RUTA_README).find(sangrada), std::string::npos)
      << "el README no trae, sangrada con 4 espacios, esta ayuda:\n"
      << ayuda.salida;
}

}  // namespace

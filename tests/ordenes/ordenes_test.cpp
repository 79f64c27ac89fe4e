#include "ordenes.h"

#include <gtest/gtest.h>

#include <sstream>

#include "carpeta_temporal.h"
#include "listas_de_ids.h"
#include "opciones.h"
#include "puerto_control_falso.h"

namespace {

using ms = std::chrono::milliseconds;

class Ordenes : public EnCarpetaTemporal {
 protected:
  int Ejecutar(const std::vector<std::string>& argumentos) {
    salida_.str("");
    errores_.str("");
    return EjecutarOrdenes(argumentos, Consola{salida_, errores_, false, puerto_,
                                               [this] { return puertosDelSistema_; },
                                               carpeta_ / "programa", carpeta_ / "orden"});
  }

  // Los indicadores de `ids` devuelven el eco de cada escritura; los demás callan.
  void Escuchan(std::set<int> ids) {
    puerto_.linea.responder = [this, ids](const std::string& trama, std::size_t) {
      if (ids.count(static_cast<unsigned char>(trama[0])) != 0) puerto_.linea.Llegar(ms(20), trama);
    };
  }

  void SetUp() override {
    EnCarpetaTemporal::SetUp();
    std::filesystem::create_directory("programa");
    std::filesystem::create_directory("orden");
  }

  PuertoControlFalso puerto_;
  std::vector<PuertoDelSistema> puertosDelSistema_;
  std::ostringstream salida_, errores_;
};

// Cada orden mal dada: una línea, código 2 y el puerto sin abrir.
TEST_F(Ordenes, OrdenMalDadaNoAbreElPuerto) {
  Crear("orden/largo.txt", std::string(76, 'x'));
  std::filesystem::create_directory("orden/carpeta.txt");
  const std::vector<std::pair<std::vector<std::string>, std::string>> casos = {
      {{"--bajar"}, "Opción desconocida: --bajar (vea --ayuda)"},
      {{"leer"}, "Opción desconocida: leer (vea --ayuda)"},
      {{"--leer", "--id"}, "Falta el valor de --id"},
      {{"--subir"}, "Falta el valor de --subir"},
      {{"--leer", "--leer"}, "Opción repetida: --leer"},
      {{"--leer", "--conectar"}, "Pida una sola tarea: --subir, --leer, --conectar o --puertos"},
      {{"--id", "3"},
       "Falta la tarea: --subir ARCHIVO, --leer, --conectar o --puertos (vea --ayuda)"},
      {{"--conectar", "--hex"}, "--hex solo se usa con --leer"},
      {{"--leer", "--puerto", "2", "--dispositivo", "/dev/x"},
       "Use --puerto o --dispositivo, no los dos"},
      {{"--leer", "--dispositivo", ""}, "Falta el valor de --dispositivo"},
      {{"--leer", "--puerto", "0"}, "Puerto inválido: 0 (de 1 a 255)"},
      {{"--leer", "--puerto", "COM3"}, "Puerto inválido: COM3 (de 1 a 255)"},
      {{"--leer", "--baudios", "9601"},
       "Velocidad inválida: 9601 (1200, 2400, 4800, 9600 o 19200)"},
      {{"--leer", "--id", "256"}, "ID fuera de rango: 256 (de 0 a 255)"},
      {{"--leer", "--id", "1,300-301"}, "ID fuera de rango: 300 (de 0 a 255)"},
      {{"--leer", "--id", "-1"}, "Lista de ID inválida: -1 (ejemplo: 1,3,5-8)"},
      {{"--leer", "--id", "1,,3"}, "Lista de ID inválida: 1,,3 (ejemplo: 1,3,5-8)"},
      {{"--leer", "--id", "1,"}, "Lista de ID inválida: 1, (ejemplo: 1,3,5-8)"},
      {{"--leer", "--id", "5-"}, "Lista de ID inválida: 5- (ejemplo: 1,3,5-8)"},
      {{"--leer", "--id", "8-5"}, "Rango de ID al revés: 8-5"},
      {{"--subir", "no_esta.txt"}, "No existe el archivo: no_esta.txt"},
      {{"--subir", "largo.txt"}, "El archivo largo.txt tiene más de 75 bytes"},
      {{"--subir", "carpeta.txt"}, "No se puede leer el archivo: carpeta.txt"},
  };
  for (const auto& [argumentos, error] : casos) {
    EXPECT_EQ(Ejecutar(argumentos), 2) << error;
    EXPECT_EQ(errores_.str(), error + "\n");
    EXPECT_EQ(salida_.str(), "");
  }
  EXPECT_EQ(puerto_.aperturas, 0);
  EXPECT_TRUE(puerto_.linea.escritos.empty());
}

TEST(ConVentana, SinArgumentosOSoloConTraza) {
  EXPECT_TRUE(ConVentana({}));
  EXPECT_TRUE(ConVentana({"--traza"}));
  EXPECT_FALSE(ConVentana({"--traza", "--leer"}));
  EXPECT_FALSE(ConVentana({"--ayuda"}));
}

TEST_F(Ordenes, AyudaGanaATodoLoDemas) {
  for (const char* ayuda : {"--ayuda", "--help"}) {
    EXPECT_EQ(Ejecutar({"--bajar", ayuda}), 0);
    EXPECT_NE(salida_.str().find("--subir ARCHIVO"), std::string::npos);
    EXPECT_EQ(errores_.str(), "");
  }
  EXPECT_EQ(puerto_.aperturas, 0);
}

TEST(ListaDeIds, EnElOrdenDadoSinRepetidos) {
  for (const CasoListaIds& c : kCasosListaIds) {
    const LecturaOrden lectura = LeerOrden({"--leer", "--id", c.texto});
    EXPECT_EQ(lectura.error.empty(), c.ids.has_value()) << c.texto;
    if (c.ids) {
      EXPECT_EQ(lectura.orden.ids, *c.ids) << c.texto;
    }
  }
}

// La línea de órdenes manda sobre el archivo de ajustes solo esta vez: el archivo queda igual.
TEST_F(Ordenes, LasOpcionesNoCambianLosAjustes) {
  const std::string ajustes = "[Global]\r\nComm=2.\r\nBaudios=1.\r\nID_1=4.\r\n";
  Crear("Brun_Kqt.ini", ajustes);
  Crear("orden/m.txt", "ABC");
  Escuchan({7});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--puerto", "3", "--baudios", "19200", "--id", "7"}), 0);
  EXPECT_EQ(puerto_.commPort, 3);
  EXPECT_EQ(puerto_.settings, "19200,n,8,1");
  ASSERT_EQ(puerto_.linea.escritos.size(), 2u);  // "AB" y "C" + NUL
  EXPECT_EQ(puerto_.linea.escritos[0].trama[0], 7);
  EXPECT_EQ(Contenido("Brun_Kqt.ini"), ajustes);

  // Sin opciones, lo guardado.
  puerto_.linea.escritos.clear();
  Escuchan({4});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt"}), 0);
  EXPECT_EQ(puerto_.commPort, 2);
  EXPECT_EQ(puerto_.settings, "2400,n,8,1");
  EXPECT_EQ(puerto_.linea.escritos[0].trama[0], 4);
}

// Un indicador callado no detiene a los demás; la tabla dice cuál falló, con sus tres intentos
// y sus 6 s de espera. El puerto se abre una sola vez.
TEST_F(Ordenes, VariosIndicadoresConUnoCallado) {
  Crear("orden/m.txt", "Hola");  // con su NUL, tres registros
  Escuchan({1, 3});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--id", "1-3", "--dispositivo", "/dev/x"}), 1);
  EXPECT_EQ(puerto_.aperturas, 1);
  EXPECT_FALSE(puerto_.PortOpen());
  EXPECT_EQ(errores_.str(),
            "Puerto Com1 (/dev/x), 9600 baudios\n"
            " ID  Resultado                           Intentos    Tiempo\n"
            "  1  FINALIZADO con EXITO                       3    0,07 s\n"
            "  2  Error al cargar el Ticket                  3    6,00 s\n"
            "  3  FINALIZADO con EXITO                       3    0,07 s\n"
            "Correctos: 2 de 3\n");
  EXPECT_EQ(salida_.str(), "");
  EXPECT_FALSE(std::filesystem::exists("programa/Brun_Kqt.log"));
}

// Con --traza, cada petición y respuesta queda en Brun_Kqt.log, junto al programa.
TEST_F(Ordenes, TrazaJuntoAlPrograma) {
  Crear("orden/m.txt", "AB");
  Escuchan({1});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--id", "1", "--traza"}), 0);
  const std::string traza = Contenido("programa/Brun_Kqt.log");
  EXPECT_NE(traza.find("abre "), std::string::npos) << traza;
  EXPECT_GE(std::count(traza.begin(), traza.end(), '\n'), 3) << traza;
}

// Sin registros ni orden de línea: código 1 y la conexión fallida en la tabla.
TEST_F(Ordenes, ConectarSinRespuesta) {
  Escuchan({});
  EXPECT_EQ(Ejecutar({"--conectar", "--id", "9", "--dispositivo", "/dev/x"}), 1);
  EXPECT_NE(errores_.str().find("  9  Sin comunicación                           4    8,00 s\n"),
            std::string::npos)
      << errores_.str();
  EXPECT_FALSE(std::filesystem::exists("Brun_Kqt.ini"));
}

#ifndef _WIN32
// Cada puerto con el ComN que es para el programa, y la línea de [Puertos] que lo hace así.
TEST_F(Ordenes, ListaDePuertos) {
  Crear("Brun_Kqt.ini", "[Puertos]\r\nCom2=/dev/ttyUSB0.\r\n");
  puertosDelSistema_ = {{"/dev/ttyS0", ""},
                        {"/dev/ttyUSB0", "FT232R USB UART"},
                        {"/dev/ttyACM0", "Modem"},
                        {"/dev/ttyS1", ""}};
  EXPECT_EQ(Ejecutar({"--puertos"}), 0);
  EXPECT_EQ(salida_.str(),
            "/dev/ttyS0       Com1   (sin descripción)  (sin línea en [Puertos]: nombre por "
            "defecto)\n"
            "/dev/ttyUSB0     Com2   FT232R USB UART  (por [Puertos] en Brun_Kqt.ini: "
            "Com2=/dev/ttyUSB0.)\n"
            "/dev/ttyACM0     Com3   Modem  (agregue a [Puertos] en Brun_Kqt.ini: "
            "Com3=/dev/ttyACM0.)\n"
            "/dev/ttyS1       Com4   (sin descripción)  (agregue a [Puertos] en Brun_Kqt.ini: "
            "Com4=/dev/ttyS1.)\n");

  puertosDelSistema_.clear();
  EXPECT_EQ(Ejecutar({"--puertos"}), 0);
  EXPECT_EQ(salida_.str(), "No se encontraron puertos serie.\n");
}
#endif

}  // namespace

#include "ordenes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bytes_prueba.h"
#include "carpeta_temporal.h"
#include "indicador_falso.h"
#include "listas_de_ids.h"
#include "opciones.h"
#include "puerto_control_falso.h"

using namespace almacen;
using namespace comm;
using namespace ordenes;

namespace {

using ms = std::chrono::milliseconds;

class Ordenes : public EnCarpetaTemporal {
 protected:
  int Ejecutar(const std::vector<std::string>& argumentos) {
    salida_.str("");
    errores_.str("");
    return EjecutarOrdenes(
        argumentos, Consola{salida_, errores_, false, puerto_,
                            [this] { return puertosDelSistema_; }, Ajustes(carpeta_ / "orden")});
  }

  // Los indicadores de `ids` contestan; los demás callan.
  void Escuchan(std::set<int> ids) {
    indicador_.ids = std::move(ids);
    if (indicador_.ids.empty()) indicador_.presente = false;
    indicador_.Conectar(puerto_.linea);
  }

  void SetUp() override {
    EnCarpetaTemporal::SetUp();
    std::filesystem::create_directory("orden");
  }

  PuertoControlFalso puerto_;
  IndicadorFalso indicador_;
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
      {{"--leer", "--conectar"},
       "Pida una sola tarea: --subir, --leer, --conectar, --buscar o --puertos"},
      {{"--id", "3"},
       "Falta la tarea: --subir ARCHIVO, --leer, --conectar, --buscar o --puertos (vea --ayuda)"},
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
      {{"--buscar", "--id", "0-3"}, "--buscar prueba los ID de 1 a 255; el 0 es el de difusión"},
      {{"--buscar", "--baudios", "1200,300"},
       "Velocidad inválida: 300 (1200, 2400, 4800, 9600 o 19200)"},
      {{"--buscar", "--baudios", "1200,"}, "Velocidad inválida:  (1200, 2400, 4800, 9600 o 19200)"},
      {{"--leer", "--baudios", "1200,2400"}, "Varias velocidades solo con --buscar"},
      {{"--buscar", "--hex"}, "--hex solo se usa con --leer"},
      {{"--buscar", "--leer"},
       "Pida una sola tarea: --subir, --leer, --conectar, --buscar o --puertos"},
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

// Un membrete soltado sobre el programa: la ventana, sin traza; un nombre que no existe o que
// acompaña a otros argumentos sigue siendo una orden.
TEST(ConVentana, ConUnArchivoSoltado) {
  const std::filesystem::path archivo =
      std::filesystem::temp_directory_path() / std::filesystem::u8path("membrete_ñandú.txt");
  std::ofstream(archivo) << "PESO";
  const std::string nombre = archivo.u8string();
  EXPECT_TRUE(ConVentana({nombre}));
  EXPECT_FALSE(PideTraza({nombre}));
  EXPECT_TRUE(PideTraza({"--traza"}));
  EXPECT_FALSE(ConVentana({nombre, nombre}));
  EXPECT_FALSE(ConVentana({"--subir", nombre}));
  EXPECT_FALSE(ConVentana({nombre + ".no"}));
  EXPECT_FALSE(ConVentana({archivo.parent_path().u8string()}));
  std::filesystem::remove(archivo);
}

TEST_F(Ordenes, AyudaGanaATodoLoDemas) {
  for (const char* ayuda : {"--ayuda", "--help"}) {
    EXPECT_EQ(Ejecutar({"--bajar", ayuda}), 0);
    EXPECT_NE(salida_.str().find("--subir ARCHIVO"), std::string::npos);
    EXPECT_EQ(errores_.str(), "");
  }
  EXPECT_EQ(puerto_.aperturas, 0);
}

TEST(ListaDeBaudios, EnElOrdenDadoSinRepetidos) {
  EXPECT_EQ(LeerOrden({"--buscar", "--baudios", "9600,1200,9600"}).orden.baudios,
            (std::vector<long>{3, 0}));
  EXPECT_EQ(LeerOrden({"--leer", "--baudios", "19200"}).orden.baudios, std::vector<long>{4});
}

// Lo hallado, solo en la salida; el resumen, con las opciones que lo usan, en la de errores.
TEST_F(Ordenes, BuscarSoloLee) {
  puerto_.linea.responder = [this](const std::string& trama, std::size_t) {
    if (trama[0] == 7) puerto_.linea.Llegar(ms(20), ConCrc(Bytes({7, 3, 2, 0, 0})));
  };
  EXPECT_EQ(Ejecutar({"--buscar", "--baudios", "9600", "--id", "6-8", "--dispositivo", "/dev/x"}),
            0);
  EXPECT_EQ(salida_.str(), "ID 7 a 9600 baudios\n");
  EXPECT_NE(errores_.str().find("\nPara usarlo: --dispositivo /dev/x --baudios 9600 --id 7\n"),
            std::string::npos)
      << errores_.str();
  ASSERT_EQ(puerto_.linea.escritos.size(), 4u);  // la orden M y tres lecturas
  for (const auto& escrito : puerto_.linea.escritos) EXPECT_NE(escrito.trama[1], 6);
  EXPECT_FALSE(puerto_.PortOpen());
  EXPECT_FALSE(std::filesystem::exists("orden/Brun_Kqt.ini"));

  puerto_.linea.responder = nullptr;
  EXPECT_EQ(Ejecutar({"--buscar", "--baudios", "9600", "--id", "6-8", "--dispositivo", "/dev/x"}),
            1);
  EXPECT_EQ(salida_.str(), "");
  EXPECT_NE(errores_.str().find("Ningún indicador contestó (3 ID a 9600 baudios)"),
            std::string::npos)
      << errores_.str();
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
  Crear("orden/Brun_Kqt.ini", ajustes);
  Crear("orden/m.txt", "ABC");
  Escuchan({7});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--puerto", "3", "--baudios", "19200", "--id", "7"}), 0);
  EXPECT_EQ(puerto_.commPort, 3);
  EXPECT_EQ(puerto_.settings, "19200,n,8,1");
  // Cinco lecturas del membrete anterior, "AB" y "C" + NUL, y una lectura para verificarlos.
  ASSERT_EQ(puerto_.linea.escritos.size(), 8u);
  EXPECT_EQ(puerto_.linea.escritos[0].trama[0], 7);
  EXPECT_EQ(Contenido("orden/Brun_Kqt.ini"), ajustes);

  // Sin opciones, lo guardado.
  puerto_.linea.escritos.clear();
  Escuchan({4});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt"}), 0);
  EXPECT_EQ(puerto_.commPort, 2);
  EXPECT_EQ(puerto_.settings, "2400,n,8,1");
  EXPECT_EQ(puerto_.linea.escritos[0].trama[0], 4);
}

// Un indicador callado no detiene a los demás; la tabla dice cuál falló, con los tres intentos
// de leer su membrete anterior y sus 6 s de espera: sin esa lectura no se escribe. Cada uno que
// contesta lleva 9 peticiones: 5 lecturas, 3 escrituras y la lectura que las verifica. El puerto
// se abre una sola vez.
TEST_F(Ordenes, VariosIndicadoresConUnoCallado) {
  Crear("orden/m.txt", "Hola");  // con su NUL, tres registros
  Escuchan({1, 3});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--id", "1-3", "--dispositivo", "/dev/x"}), 1);
  EXPECT_EQ(puerto_.aperturas, 1);
  EXPECT_FALSE(puerto_.PortOpen());
  EXPECT_EQ(errores_.str(),
            "Puerto Com1 (/dev/x), 9600 baudios\n"
            " ID  Resultado                               Intentos    Tiempo\n"
            "  1  FINALIZADO con EXITO                           9    0,21 s\n"
            "  2  Error al cargar el Ticket: sin respuesta       3    6,00 s\n"
            "  3  FINALIZADO con EXITO                           9    0,21 s\n"
            "Correctos: 2 de 3\n");
  EXPECT_EQ(salida_.str(), "");
  EXPECT_FALSE(std::filesystem::exists("orden/Brun_Kqt.log"));
}

// Con --traza, cada petición y respuesta queda en Brun_Kqt.log, junto al programa.
TEST_F(Ordenes, TrazaJuntoAlPrograma) {
  Crear("orden/m.txt", "AB");
  Escuchan({1});
  EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--id", "1", "--traza"}), 0);
  const std::string traza = Contenido("orden/Brun_Kqt.log");
  EXPECT_NE(traza.find("abre "), std::string::npos) << traza;
  EXPECT_GE(std::count(traza.begin(), traza.end(), '\n'), 3) << traza;
}

// Cada subida lee antes el membrete que había y después lo escrito: el código y la traza dicen
// si el indicador quedó con el membrete.
TEST_F(Ordenes, LaSubidaSeVerificaLeyendoLoEscrito) {
  Crear("orden/m.txt", "ABC");  // con su NUL, dos registros: 5 lecturas, 2 escrituras, 1 lectura
  const std::string anterior = "membrete anterior: 48 49\n";
  const struct {
    const char* que;
    std::function<void(IndicadorFalso&)> averia;
    int codigo;
    std::vector<std::string> enLaTraza;
    std::size_t envios;
  } casos[] = {
      {"sano",
       [](IndicadorFalso&) {},
       0,
       {anterior, "verificado: el indicador tiene el membrete"},
       8},
      {"no guarda las escrituras",
       [](IndicadorFalso& i) { i.guarda = false; },
       1,
       {anterior, "no verificado: registro 26, se escribió 41 42 y el indicador tiene 48 49"},
       8},
      {"ya tenía el primer registro y no guarda",
       [](IndicadorFalso& i) {
         i.registros[26] = 0x4241;
         i.guarda = false;
       },
       1,
       {"no verificado: registro 27, se escribió 43 00 y el indicador tiene 00 00"},
       8},
      {"no permite leer",
       [](IndicadorFalso& i) { i.permiteLeer = false; },
       0,
       {"membrete anterior: el indicador no permite leer los registros",
        "sin verificar: el indicador no permite leer los registros"},
       8},
      {"no contesta la verificación",
       [](IndicadorFalso& i) {
         i.callar = {7, 8, 9};
       },
       1,
       {anterior, "no verificado: la lectura no llegó entera"},
       10},
      {"no contesta la lectura previa",
       [](IndicadorFalso& i) {
         i.callar = {0, 1, 2};
       },
       1,
       {"membrete anterior: la lectura no llegó entera; no se escribe"},
       3},
      {"línea con eco",
       [](IndicadorFalso& i) { i.eco = true; },
       0,
       {"eco de la línea", anterior, "verificado: el indicador tiene el membrete"},
       8},
  };
  for (const auto& c : casos) {
    indicador_ = IndicadorFalso();
    indicador_.registros[26] = 0x4948;  // "HI" y el NUL
    c.averia(indicador_);
    indicador_.Conectar(puerto_.linea);
    puerto_.linea.escritos.clear();
    std::filesystem::remove("orden/Brun_Kqt.log");
    EXPECT_EQ(Ejecutar({"--subir", "m.txt", "--traza"}), c.codigo) << c.que;
    const std::string traza = Contenido("orden/Brun_Kqt.log");
    for (const std::string& linea : c.enLaTraza) {
      EXPECT_NE(traza.find(linea), std::string::npos) << c.que << '\n' << linea << '\n' << traza;
    }
    EXPECT_EQ(puerto_.linea.escritos.size(), c.envios) << c.que;
  }
}

// Sin registros ni orden de línea: código 1 y la conexión fallida en la tabla.
TEST_F(Ordenes, ConectarSinRespuesta) {
  Escuchan({});
  EXPECT_EQ(Ejecutar({"--conectar", "--id", "9", "--dispositivo", "/dev/x"}), 1);
  EXPECT_NE(errores_.str().find("  9  Sin comunicación: sin respuesta            4    8,00 s\n"),
            std::string::npos)
      << errores_.str();
  EXPECT_FALSE(std::filesystem::exists("orden/Brun_Kqt.ini"));
}

#ifndef _WIN32
// Cada puerto con el ComN que es para el programa, y la línea de [Puertos] que lo hace así.
TEST_F(Ordenes, ListaDePuertos) {
  Crear("orden/Brun_Kqt.ini", "[Puertos]\r\nCom2=/dev/ttyUSB0.\r\n");
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

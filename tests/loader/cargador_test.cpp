#include "cargador.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ajustes.h"
#include "carpeta_temporal.h"
#include "comunicacion.h"
#include "ecos.h"
#include "indicador_falso.h"
#include "puerto_control_falso.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

using Icono = PantallaCarga::Icono;

struct CajaVista {
  std::string titulo, texto;
  Icono icono;
  bool operator==(const CajaVista& otra) const {
    return titulo == otra.titulo && texto == otra.texto && icono == otra.icono;
  }
};

// La ventana sin ventana: guarda lo que se le muestra y hace cada petición como el diálogo
// "Comunicando" de verdad, sobre un puerto guionado.
class PantallaFalsa : public PantallaCarga {
 public:
  explicit PantallaFalsa(PuertoControl& puerto) : puerto_(puerto) {}

  Seleccion eleccion;
  std::vector<std::string> puertos;
  bool noMostrar = false;
  bool ayuda = false;
  std::string version;
  std::vector<std::string> estados, avisos;
  bool fin = false, buscar = false, subir = false, terminado = false;
  std::vector<CajaVista> cajas;
  std::optional<std::filesystem::path> elegido;  // lo que "elige" el operador
  std::filesystem::path carpetaDialogo;
  int peticiones = 0;

  Seleccion Eleccion() const override { return eleccion; }
  void MostrarPuertos(const std::vector<std::string>& nombres) override { puertos = nombres; }
  void MostrarEleccion(const Seleccion& e) override { eleccion = e; }
  bool NoMostrar() const override { return noMostrar; }
  void MarcarNoMostrar(bool marcada) override { noMostrar = marcada; }
  void MostrarAyuda(bool visible) override { ayuda = visible; }
  void Version(const std::string& texto) override { version = texto; }
  void Estado(const std::string& texto) override { estados.push_back(texto); }
  void Aviso(const std::string& texto) override { avisos.push_back(texto); }
  void MostrarFin(bool visible) override { fin = visible; }
  void HabilitarBuscar() override { buscar = true; }
  void HabilitarSubir() override { subir = true; }
  void Caja(const std::string& titulo, const std::string& texto, Icono icono) override {
    cajas.push_back({titulo, texto, icono});
  }
  std::optional<std::filesystem::path> ElegirArchivo(
      const std::filesystem::path& carpeta) override {
    carpetaDialogo = carpeta;
    return elegido;
  }
  void Comunicar(Peticion& peticion) override {
    ++peticiones;
    AbrirPuerto(puerto_, peticion);
    HacerPeticion(peticion, puerto_, VistaComunicando{});
  }
  void Terminar() override { terminado = true; }

 private:
  PuertoControl& puerto_;
};

// Los caracteres que el indicador guarda desde `registro`: dos por registro, el byte bajo primero.
std::string Texto(IndicadorFalso& indicador, int registro, int registros) {
  std::string texto;
  for (int r = registro; r < registro + registros; ++r) {
    texto += static_cast<char>(indicador.registros[r] & 0xFF);
    texto += static_cast<char>(indicador.registros[r] >> 8);
  }
  return texto;
}

class CargadorTest : public EnCarpetaTemporal {
 protected:
  void SetUp() override {
    EnCarpetaTemporal::SetUp();
    indicador.ids = {17};
    indicador.Conectar(puerto.linea);
    std::filesystem::create_directory("ticket");
    cargador.emplace(pantalla, ajustes_, nullptr, ecos);
  }

  // El operador elige en "ticket" un archivo con `contenido`.
  void Buscar(const std::string& contenido) {
    Crear("ticket/m.txt", contenido);
    pantalla.elegido = carpeta_ / "ticket" / "m.txt";
    cargador->CmdBuscar_Click();
  }

  PuertoControlFalso puerto;
  IndicadorFalso indicador;
  PantallaFalsa pantalla{puerto};
  Ecos ecos;
  std::optional<Cargador> cargador;  // con los ajustes de la carpeta de la prueba
};

// Lo guardado fuera de lo que la ventana admite vale como ausente; Comm 0 y Baudios -1 dejan
// las listas sin elección.
TEST_F(CargadorTest, ElArranqueMuestraLoGuardadoYLaAyudaSalvoQueNoSeQuiera) {
  struct Caso {
    const char* ajustes;
    long puerto, baudios, id;
    bool ayuda;
  };
  const Caso casos[] = {
      {"", 1, 3, 1, true},
      {"[Global]\r\nComm=4.\r\nBaudios=1.\r\nID_1=200.\r\nMostrar=1.\r\n", 4, 1, 200, false},
      {"[Global]\r\nComm=0.\r\nBaudios=-1.\r\nID_1=0.\r\nMostrar=0.\r\n", 0, -1, 0, true},
      {"[Global]\r\nComm=256.\r\nBaudios=4.\r\nID_1=256.\r\nMostrar=2.\r\n", 1, 3, 1, true},
      {"[Global]\r\nComm=x.\r\nBaudios=.\r\nID_1=-1.\r\nMostrar=1.\r\n", 1, 3, 1, false},
  };
  for (const Caso& c : casos) {
    Crear("Brun_Kqt.ini", c.ajustes);
    pantalla.ayuda = false;
    cargador->Form_Load();
    EXPECT_EQ(pantalla.eleccion.puerto, c.puerto) << c.ajustes;
    EXPECT_EQ(pantalla.eleccion.baudios, c.baudios) << c.ajustes;
    EXPECT_EQ(pantalla.eleccion.id, c.id) << c.ajustes;
    EXPECT_EQ(pantalla.noMostrar, !c.ayuda) << c.ajustes;
    EXPECT_EQ(pantalla.ayuda, c.ayuda) << c.ajustes;
    EXPECT_EQ(pantalla.version, std::string("Versión ") + VERSION_TEXTO);
  }
  EXPECT_EQ(pantalla.peticiones, 0);

  pantalla.noMostrar = true;
  cargador->Chk_inicio_Click();
  EXPECT_EQ(ajustes_.LeerIni("Global", "Mostrar", ""), "1");
}

// La ventana solo se cierra con "Salir", que antes guarda lo que se ve.
TEST_F(CargadorTest, ElCierreSeRechazaYSalirGuardaLaEleccion) {
  std::int16_t cancel = 0;
  cargador->Form_Unload(cancel);
  EXPECT_EQ(cancel, 1);
  EXPECT_FALSE(pantalla.terminado);
  EXPECT_EQ(pantalla.cajas,
            (std::vector<CajaVista>{{"Brun_Kesta",
                                     "Debe utilizar el botón SALIR\r\r Para cerrar su sesión",
                                     Icono::Ninguno}}));
  EXPECT_FALSE(std::filesystem::exists("Brun_Kqt.ini"));

  pantalla.cajas.clear();
  pantalla.eleccion = {3, 2, 17};
  cargador->Cmd_Salir_Click();
  EXPECT_TRUE(pantalla.terminado);
  EXPECT_TRUE(pantalla.cajas.empty());
  EXPECT_EQ(Contenido("Brun_Kqt.ini"), "[Global]\r\nComm=3.\r\nBaudios=2.\r\nID_1=17.\r\n");
  EXPECT_EQ(pantalla.peticiones, 0);
}

// El sondeo de registros basta; si no trae los registros, la orden de línea, cuyo bloque queda en
// "Setup". La elección se guarda antes y la petición va al puerto, la velocidad y el ID de la
// pantalla.
TEST_F(CargadorTest, ConectaPorSondeoOPorOrdenDeLinea) {
  std::string bloque(90, '\0');
  for (std::size_t p = 0; p < bloque.size(); ++p) bloque[p] = static_cast<char>(p + 1);
  struct Caso {
    const char* que;
    bool registros;  // false: niega las lecturas con una excepción
  };
  indicador.bloque = bloque;
  for (const Caso& c : {Caso{"sondeo", true}, Caso{"orden de línea", false}}) {
    std::filesystem::remove("Brun_Kqt.ini");
    indicador.permiteLeer = c.registros;
    pantalla.eleccion = {2, 1, 17};
    pantalla.estados.clear();
    pantalla.buscar = false;
    cargador->CmdConect_Click();
    EXPECT_EQ(pantalla.estados, (std::vector<std::string>{"Conectando...", "Estado: Conectado"}))
        << c.que;
    EXPECT_TRUE(pantalla.buscar) << c.que;
    EXPECT_TRUE(pantalla.cajas.empty()) << c.que;
    EXPECT_EQ(puerto.commPort, 2) << c.que;
    EXPECT_EQ(puerto.settings, "2400,n,8,1") << c.que;
    EXPECT_FALSE(puerto.PortOpen()) << c.que;
    EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", ""), "2") << c.que;
    EXPECT_EQ(ajustes_.LeerIni("Global", "Baudios", ""), "1") << c.que;
    EXPECT_EQ(ajustes_.LeerIni("global", "ID_1", ""), "17") << c.que;
    // La clave "1" es el primer byte; la "78", el último.
    EXPECT_EQ(ajustes_.LeerIni("Setup", "1", ""), c.registros ? "" : "1") << c.que;
    EXPECT_EQ(ajustes_.LeerIni("Setup", "78", ""), c.registros ? "" : "90") << c.que;
  }
}

TEST_F(CargadorTest, SinRespuestaValidaNoConecta) {
  indicador.permiteLeer = false;
  for (const std::string& bloque : {std::string(), std::string(89, 'x')}) {
    indicador.bloque = bloque;
    pantalla.estados.clear();
    pantalla.cajas.clear();
    pantalla.eleccion = {1, 3, 17};
    cargador->CmdConect_Click();
    EXPECT_EQ(pantalla.estados,
              (std::vector<std::string>{"Conectando...", "Estado: Desconectado"}));
    EXPECT_EQ(pantalla.cajas,
              (std::vector<CajaVista>{{"Error",
                                       "No se puede establecer la comunicacion con el "
                                       "indicador",
                                       Icono::Critico}}));
    EXPECT_FALSE(pantalla.buscar);
    EXPECT_EQ(ajustes_.LeerIni("Setup", "1", ""), "");
  }
}

// Solo un archivo de 75 bytes como mucho habilita la subida, con un NUL detrás.
TEST_F(CargadorTest, BuscarAceptaSoloUnMembreteQueCabe) {
  struct Caso {
    const char* que;
    std::optional<std::string> contenido;  // nada: el operador cancela
    std::string membrete;
    std::vector<CajaVista> cajas;
  };
  const Caso casos[] = {
      {"cancelado", std::nullopt, "", {}},
      {"76 bytes",
       std::string(76, 'x'),
       "",
       {{"Error", "La longitud del formulario es mayor a 75 bytes", Icono::Exclamacion}}},
      {"75 bytes", std::string(75, 'x'), std::string(75, 'x') + '\0', {}},
      {"vacío", "", std::string(1, '\0'), {}},
  };
  for (const Caso& c : casos) {
    pantalla.cajas.clear();
    pantalla.subir = false;
    pantalla.fin = true;
    if (c.contenido) {
      Buscar(*c.contenido);
    } else {
      pantalla.elegido.reset();
      cargador->CmdBuscar_Click();
    }
    EXPECT_EQ(pantalla.carpetaDialogo, carpeta_ / "ticket") << c.que;
    EXPECT_EQ(cargador->Membrete, c.membrete) << c.que;
    EXPECT_EQ(pantalla.subir, !c.membrete.empty()) << c.que;
    EXPECT_EQ(pantalla.cajas, c.cajas) << c.que;
    EXPECT_FALSE(pantalla.fin) << c.que;
  }
  EXPECT_EQ(pantalla.peticiones, 0);
}

// Lo que importa de una subida es lo que ve el operador y lo que queda en el indicador, sin
// importar cuántas peticiones hicieron falta.
TEST_F(CargadorTest, SubirDejaElMembreteEnElIndicadorODiceQueNo) {
  pantalla.eleccion = {1, 3, 17};
  Buscar("PESO\r\n");
  cargador->CmdSubir_Click();
  EXPECT_TRUE(pantalla.fin);
  EXPECT_TRUE(pantalla.cajas.empty());
  EXPECT_EQ(Texto(indicador, 26, 4), std::string("PESO\r\n\0\0", 8));
  EXPECT_EQ(ajustes_.LeerIni("global", "ID_1", ""), "17");

  indicador.presente = false;
  Buscar("NETO");
  cargador->CmdSubir_Click();
  EXPECT_FALSE(pantalla.fin);
  EXPECT_EQ(pantalla.cajas,
            (std::vector<CajaVista>{{"Error", "Error al cargar el Ticket", Icono::Critico}}));
}

// Sin poder guardar los ajustes, la subida usa la pantalla y se avisa en la barra de estado.
TEST_F(CargadorTest, SinPoderGuardarSeSubeConLaPantallaYSeAvisa) {
  std::filesystem::create_directory("Brun_Kqt.ini");
  pantalla.eleccion = {1, 3, 17};
  Buscar("AB");
  cargador->CmdSubir_Click();
  EXPECT_EQ(pantalla.avisos,
            (std::vector<std::string>{"No se pudieron guardar los ajustes en Brun_Kqt.ini"}));
  EXPECT_TRUE(pantalla.fin);
  EXPECT_TRUE(pantalla.cajas.empty());
  EXPECT_EQ(Texto(indicador, 26, 2), std::string("AB\0\0", 4));
}

}  // namespace

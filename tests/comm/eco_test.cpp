#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes_prueba.h"
#include "carpeta_temporal.h"
#include "comunicacion.h"
#include "ecos.h"
#include "indicador_falso.h"
#include "nombre_puerto.h"
#include "orden_de_linea.h"
#include "puerto_falso.h"
#include "transferencia.h"
#include "traza.h"

using namespace almacen;
using namespace comm;

namespace {

using ms = std::chrono::milliseconds;

struct TrazaEnMemoria : Traza {
  std::vector<std::string> lineas;
  void Anotar(const std::string& suceso) override { lineas.push_back(suceso); }
  long Cuenta(const std::string& texto) const {
    long n = 0;
    for (const std::string& l : lineas) n += l.find(texto) != std::string::npos ? 1 : 0;
    return n;
  }
};

// Una línea de dos hilos que devuelve todo lo enviado, con o sin indicador detrás.
class Eco : public EnCarpetaTemporal {
 public:
  Transferencia Nueva() {
    return Transferencia(puerto, 1, avance, EcoDelPuerto(&ecos, "/dev/x", &traza));
  }
  std::string Orden() {
    return TRxC(puerto, "M", &traza, EcoDelPuerto(&ecos, "/dev/x", &traza)).datos;
  }

 protected:
  void SetUp() override {
    EnCarpetaTemporal::SetUp();
    indicador.eco = true;
    indicador.bloque = std::string(90, 'S');
    indicador.Conectar(puerto);
    avance.traza = &traza;
  }

  PuertoFalso puerto;
  IndicadorFalso indicador;
  Ecos ecos;
  TrazaEnMemoria traza;
  Avance avance;
};

// Cada clase de petición, con el eco sabido o no: la respuesta es la que viene detrás del eco.
TEST_F(Eco, LaRespuestaEsLaQueVieneDetrasDelEco) {
  indicador.registros[26] = 0x4241;
  const struct {
    const char* que;
    bool sabido;
    std::function<std::string(Eco&)> pedir;
    std::string esperado;
  } casos[] = {
      {"lectura", false, [](Eco& e) { return e.Nueva().Leer("26", "1").datos; }, "AB"},
      {"orden de línea", false, [](Eco& e) { return e.Orden(); }, std::string(90, 'S')},
      {"lectura, eco sabido", true, [](Eco& e) { return e.Nueva().Leer("26", "1").datos; }, "AB"},
      {"orden, eco sabido", true, [](Eco& e) { return e.Orden(); }, std::string(90, 'S')},
      {"escritura, eco sabido", true,
       [](Eco& e) {
         std::string dato = "CD";
         return e.Nueva().Escribir("27", dato).datos;
       },
       "CD"},
  };
  for (const auto& c : casos) {
    ecos = Ecos();
    if (c.sabido) ecos.Anotar("/dev/x", true);
    puerto.escritos.clear();
    EXPECT_EQ(c.pedir(*this), c.esperado) << c.que;
    EXPECT_TRUE(ecos.Tiene("/dev/x")) << c.que;
    // Un solo intento, terminado con la respuesta del indicador, no con el eco.
    EXPECT_EQ(puerto.escritos.size(), 1u) << c.que;
    EXPECT_EQ(puerto.Ahora() - puerto.escritos[0].cuando, ms(20)) << c.que;
  }
  EXPECT_EQ(indicador.registros[27], 0x4443);
}

// Sin indicador, solo vuelve el eco: cada petición falla tras sus tres intentos, como en una
// línea callada, también la escritura una vez sabido el eco.
TEST_F(Eco, SinIndicadorSoloVuelveElEcoYTodoFalla) {
  indicador.presente = false;
  EXPECT_EQ(Nueva().Leer("26", "8").datos, "");
  EXPECT_EQ(puerto.escritos.size(), 3u);
  EXPECT_EQ(puerto.HoraDe(2) - puerto.HoraDe(1), ms(2000));
  EXPECT_TRUE(ecos.Tiene("/dev/x"));

  std::string dato = "AB";
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, "");
  EXPECT_EQ(puerto.escritos.size(), 6u);
  EXPECT_EQ(Orden(), "");
  EXPECT_EQ(puerto.Ahora() - puerto.escritos.back().cuando, ms(2000));
}

// Lo sabido es del dispositivo y dura lo que el objeto: otra petición, con el puerto cerrado y
// vuelto a abrir entre medio, lo encuentra; otro dispositivo no.
TEST_F(Eco, LoSabidoSobreviveAlCierreDelPuertoYEsDeCadaDispositivo) {
  struct : PuertoControl {
    PuertoFalso* linea;
    bool abierto = false;
    int aperturas = 0;
    bool SetCommPort(long) override { return true; }
    bool SetDispositivo(const std::string&) override { return true; }
    bool SetSettings(const std::string&) override { return true; }
    bool SetHandshaking(int) override { return true; }
    bool SetRTSEnable(bool) override { return true; }
    bool PortOpen() const override { return abierto; }
    bool SetPortOpen(bool abrir) override {
      aperturas += abrir;
      return abierto = abrir, true;
    }
    std::string ErrorApertura() const override { return ""; }
    std::string Input() override { return linea->Input(); }
    void Output(const std::string& d) override { linea->Output(d); }
    std::size_t InBufferCount() override { return linea->InBufferCount(); }
    void Esperar(std::size_t n, Reloj::time_point l) override { linea->Esperar(n, l); }
    Reloj::time_point Ahora() override { return linea->Ahora(); }
    Reloj::time_point UltimaRecepcion() override { return linea->UltimaRecepcion(); }
    long Baudios() override { return 0; }
  } comm1;
  comm1.linea = &puerto;
  const auto pedir = [&](const std::string& fnc, const std::string& dato) {
    Peticion p;
    p.xFnc = fnc;
    p.xDire = "26";
    p.xLong = "1";
    p.xDato = dato;
    p.seleccion = Seleccion{1, 3, 1};
    p.dispositivo = "/dev/x";
    p.ecos = &ecos;
    p.traza = &traza;
    AbrirPuerto(comm1, p);
    HacerPeticion(p, comm1, VistaComunicando{});
    return p.xOK;
  };
  EXPECT_TRUE(pedir("R", ""));
  EXPECT_TRUE(pedir("T", "AB"));
  EXPECT_EQ(comm1.aperturas, 2);
  EXPECT_EQ(puerto.escritos.size(), 2u);
  EXPECT_EQ(traza.Cuenta("eco de la línea"), 1);
  EXPECT_EQ(traza.Cuenta("eco de la petición"), 2);  // sin lo sabido, el de "T" sería respuesta
  EXPECT_TRUE(ecos.Tiene("/dev/x"));
  EXPECT_FALSE(ecos.Tiene("/dev/otro"));
}

// Una lectura contestada sin eco delante dice que la línea ya no lo devuelve (otro adaptador
// en el mismo dispositivo); una escritura no lo puede decir.
TEST_F(Eco, UnaLecturaSinEcoLoOlvidaYUnaEscrituraNo) {
  indicador.eco = false;
  ecos.Anotar("/dev/x", true);
  std::string dato = "AB";
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, "");  // su respuesta se toma por el eco
  EXPECT_TRUE(ecos.Tiene("/dev/x"));
  EXPECT_EQ(Nueva().Leer("26", "1").datos, "AB");
  EXPECT_FALSE(ecos.Tiene("/dev/x"));
  EXPECT_EQ(traza.Cuenta("la línea ya no devuelve el eco"), 1);
}

}  // namespace

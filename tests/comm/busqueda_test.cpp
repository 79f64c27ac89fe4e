#include "busqueda.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bytes_prueba.h"
#include "intercambio.h"
#include "puerto_control_falso.h"
#include "sondeo.h"
#include "tramas.h"

using namespace comm;

namespace {

using std::chrono::microseconds;
using ms = std::chrono::milliseconds;

int Byte(const std::string& t, std::size_t i) {
  return static_cast<unsigned char>(t[i]);
}

TEST(EsperaPrimerByte, PeticionVueltaRetencionYPrimerCaracter) {
  struct Caso {
    long baudios;
    std::size_t bytes;
    ms vuelta;
    microseconds espera;
  };
  const Caso casos[] = {
      {1200, 8, kVueltaRegistros, microseconds(75000 + 76000)},  // 9 caracteres de 8,33 ms
      {9600, 8, kVueltaRegistros, microseconds(9375 + 76000)},
      {1200, 4, kVueltaOrden, microseconds(41667 + 216000)},  // redondeo hacia arriba
      {0, 8, kVueltaRegistros, microseconds(76000)},          // velocidad desconocida
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(EsperaPrimerByte(c.baudios, c.bytes, c.vuelta), c.espera) << c.baudios;
  }
}

// Una respuesta que empieza dentro de la espera del primer byte tiene todo el plazo; una que
// empieza después ya no se espera.
TEST(Intentar, EsperaCortaDelPrimerByte) {
  struct Caso {
    const char* nombre;
    PrimerByte primerByte;
    ms primero;  // llegada del primer byte; 0: nada
    ms resto;    // llegada de los demás
    bool aceptada;
    ms fin;
  };
  const Caso casos[] = {
      {"callado", ms(100), ms(0), ms(0), false, ms(100)},
      {"empieza a tiempo y termina tarde", ms(100), ms(90), ms(1500), true, ms(1500)},
      {"empieza tarde", ms(100), ms(110), ms(120), false, ms(100)},
      {"sin espera corta", std::nullopt, ms(0), ms(0), false, ms(2000)},
      {"sin espera corta, tarde", std::nullopt, ms(1800), ms(1900), true, ms(1900)},
  };
  const PeticionModbus peticion = PeticionLectura(1, 26, *Registros::De(1));
  const std::string respuesta = ConCrc(Bytes({1, 3, 2, 0x41, 0x42}));
  for (const Caso& c : casos) {
    PuertoFalso puerto;
    if (c.primero > ms(0)) {
      puerto.responder = [&](const std::string&, std::size_t) {
        puerto.Llegar(c.primero, respuesta.substr(0, 1));
        puerto.Llegar(c.resto, respuesta.substr(1));
      };
    }
    const auto inicio = puerto.Ahora();
    const Intento intento = Intentar(puerto, peticion, false, c.primerByte);
    EXPECT_EQ(intento.examen.terminado, c.aceptada) << c.nombre;
    EXPECT_EQ(intento.examen.datos, c.aceptada ? "BA" : "") << c.nombre;
    EXPECT_EQ(puerto.Ahora() - inicio, c.fin) << c.nombre;
    if (!c.aceptada) {
      EXPECT_EQ(intento.espera, c.fin) << c.nombre;
    }
  }
}

// Indicadores falsos que oyen solo a su velocidad, como uno real.
class LineaFalsa : public PuertoControlFalso {
 public:
  long velocidad = 9600;
  std::set<int> ids;
  bool contestaOrden = true;
  bool excepcion = false;
  bool eco = false;  // un adaptador de dos hilos: cada envío vuelve al momento, a toda velocidad

  LineaFalsa() {
    linea.responder = [this](const std::string& t, std::size_t) {
      if (eco) linea.Llegar(ms(0), t);
      if (baudios != velocidad) return;
      if (t == ":M\r\n") {
        if (contestaOrden) linea.Llegar(ms(30), std::string(90, 'S'));
      } else if (ids.count(Byte(t, 0)) != 0) {
        linea.Llegar(ms(20), ConCrc(excepcion ? Bytes({Byte(t, 0), 0x83, 2})
                                              : Bytes({Byte(t, 0), 3, 2, 0, 0})));
      }
    };
  }
  bool SetSettings(const std::string& texto) override {
    baudios = std::stol(texto);
    return PuertoControlFalso::SetSettings(texto);
  }

  std::vector<std::string> Tramas() const {
    std::vector<std::string> tramas;
    for (const auto& e : linea.escritos) tramas.push_back(e.trama);
    return tramas;
  }
};

std::vector<long> Ids(long desde, long hasta) {
  std::vector<long> ids;
  for (long id = desde; id <= hasta; ++id) ids.push_back(id);
  return ids;
}

const std::vector<long> kCuatro{1200, 2400, 4800, 9600};

// La orden M contesta solo a 4800: allí, y solo allí, se prueba cada ID; cada silencio cuesta
// solo la espera del primer byte; nada se escribe. En una línea con eco, ni el de la orden ni el
// de una lectura pasan por respuesta, ni alargan la espera.
TEST(Buscar, LaOrdenMDiceDondeProbarLosIds) {
  for (const bool eco : {false, true}) {
    LineaFalsa linea;
    linea.velocidad = 4800;
    linea.ids = {5, 9};
    linea.eco = eco;
    std::vector<std::string> avisados;
    AvisosBusqueda avisos;
    avisos.hallado = [&](const Hallazgo& h) {
      avisados.push_back(std::to_string(h.id) + "@" + std::to_string(h.baudios));
    };
    const ResultadoBusqueda resultado = Buscar(linea, {kCuatro, Ids(1, 10)}, nullptr, {}, avisos);

    EXPECT_EQ(resultado.oyenOrden, std::vector<long>{4800}) << eco;
    EXPECT_EQ(resultado.barridas, std::vector<long>{4800}) << eco;
    EXPECT_EQ(avisados, (std::vector<std::string>{"5@4800", "9@4800"})) << eco;
    const std::vector<std::string> tramas = linea.Tramas();
    ASSERT_EQ(tramas.size(), 4u + 10u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(tramas[i], ":M\r\n");
    for (std::size_t i = 4; i < tramas.size(); ++i) {
      EXPECT_EQ(tramas[i],
                PeticionLectura(static_cast<std::uint8_t>(i - 3), 26, *Registros::De(1)).trama);
    }
    EXPECT_EQ(linea.linea.HoraDe(1) - linea.linea.HoraDe(0),
              EsperaPrimerByte(1200, 4, kVueltaOrden))
        << eco;
    EXPECT_EQ(linea.linea.HoraDe(5) - linea.linea.HoraDe(4),
              EsperaPrimerByte(4800, 8, kVueltaRegistros))
        << eco;
  }
}

// Sin orden M (solo Modbus), cada ID a cada velocidad; una excepción también dice que está.
TEST(Buscar, SinOrdenMCadaIdACadaVelocidad) {
  for (const bool excepcion : {false, true}) {
    LineaFalsa linea;
    linea.velocidad = 2400;
    linea.ids = {3};
    linea.contestaOrden = false;
    linea.excepcion = excepcion;
    const ResultadoBusqueda resultado = Buscar(linea, {kCuatro, Ids(1, 4)}, nullptr, {}, {});
    EXPECT_TRUE(resultado.oyenOrden.empty());
    EXPECT_EQ(resultado.barridas, kCuatro);
    ASSERT_EQ(resultado.hallados.size(), 1u) << excepcion;
    EXPECT_EQ(resultado.hallados[0].id, 3);
    EXPECT_EQ(resultado.hallados[0].baudios, 2400);
    EXPECT_EQ(linea.Tramas().size(), 4u + 4u * 4u);
  }
}

}  // namespace

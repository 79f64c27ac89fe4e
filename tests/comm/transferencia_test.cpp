#include "transferencia.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "ajustes.h"
#include "bytes_prueba.h"
#include "carpeta_temporal.h"
#include "crc16.h"
#include "indicador_falso.h"
#include "puerto_falso.h"
#include "tramas.h"

using namespace almacen;
using namespace comm;

namespace {

using std::chrono::microseconds;
using ms = std::chrono::milliseconds;

// Dirección y cantidad de registros de cada petición de lectura escrita.
std::vector<std::pair<int, int>> Lecturas(const PuertoFalso& puerto) {
  std::vector<std::pair<int, int>> lecturas;
  for (const auto& e : puerto.escritos) {
    lecturas.push_back({IndicadorFalso::Byte(e.trama, 2) * 256 + IndicadorFalso::Byte(e.trama, 3),
                        IndicadorFalso::Byte(e.trama, 5)});
  }
  return lecturas;
}

std::string Texto(std::size_t largo) {
  std::string texto;
  for (std::size_t i = 0; i < largo; ++i) texto += static_cast<char>('0' + i % 75);
  return texto;
}

// Cada prueba corre en una carpeta temporal propia, sin archivo de ajustes salvo que lo escriba.
class TransferenciaTest : public EnCarpetaTemporal {
 protected:
  void SetUp() override {
    EnCarpetaTemporal::SetUp();
    indicador.Conectar(puerto);
    avance.progreso = [this](float v) { progreso.push_back(v); };
    avance.cancelado = [this] { return cancelar; };
  }

  Transferencia Nueva() { return Transferencia(puerto, 0, avance); }

  PuertoFalso puerto;
  IndicadorFalso indicador;
  Avance avance;
  std::vector<float> progreso;
  bool cancelar = false;
};

TEST_F(TransferenciaTest, LeerPartePorBloquesDeOcho) {
  for (const auto& [longitud, esperadas] :
       {std::pair<std::string, std::vector<std::pair<int, int>>>{"8", {{26, 8}}},
        {"9", {{26, 8}, {34, 1}}},
        {"16", {{26, 8}, {34, 8}}},
        {"0", {}}}) {
    puerto.escritos.clear();
    const std::string texto = Nueva().Leer("26", longitud).datos;
    EXPECT_EQ(Lecturas(puerto), esperadas) << longitud;
    EXPECT_EQ(texto.size(), 2 * std::stoul(longitud));
  }
}

TEST_F(TransferenciaTest, EscribirYLeerDevuelvenElMismoTextoConSuRelleno) {
  std::string dato = "ABC";
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, std::string("ABC\0", 4));
  EXPECT_EQ(dato, std::string("ABC\0", 4));
  ASSERT_EQ(puerto.escritos.size(), 2u);
  EXPECT_EQ(puerto.escritos[1].trama.substr(2, 4), Bytes({0x00, 0x1B, 0x00, 0x43}));
  EXPECT_EQ(Nueva().Leer("26", "2").datos, std::string("ABC\0", 4));
}

TEST_F(TransferenciaTest, EscribirUnMembreteCompletoVaRegistroARegistro) {
  std::string dato = Texto(76);
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, dato);
  ASSERT_EQ(puerto.escritos.size(), 38u);
  for (std::size_t i = 0; i < 38; ++i) {
    EXPECT_EQ(puerto.escritos[i].trama[1], 6);
    EXPECT_EQ(IndicadorFalso::Byte(puerto.escritos[i].trama, 3), 26 + static_cast<int>(i));
  }
  EXPECT_FLOAT_EQ(progreso.front(), 100.0f / 38);
  EXPECT_FLOAT_EQ(progreso.back(), 100.0f);
  EXPECT_EQ(Nueva().Leer("26", "38").datos, dato);

  std::string vacio;
  puerto.escritos.clear();
  EXPECT_EQ(Nueva().Escribir("26", vacio).datos, "");
  EXPECT_TRUE(puerto.escritos.empty());
}

TEST_F(TransferenciaTest, UnaPeticionSinRespuestaSeIntentaTresVecesYCortaElTrabajo) {
  indicador.callar = {1, 2, 3};
  for (int r = 26; r < 34; ++r) indicador.registros[r] = 0x4241;
  EXPECT_EQ(Nueva().Leer("26", "24").datos, "ABABABABABABABAB");
  EXPECT_EQ(Lecturas(puerto),
            (std::vector<std::pair<int, int>>{{26, 8}, {34, 8}, {34, 8}, {34, 8}}));
  EXPECT_EQ(puerto.HoraDe(2) - puerto.HoraDe(1), ms(2000));
  EXPECT_EQ(puerto.HoraDe(3) - puerto.HoraDe(2), ms(2000));
  EXPECT_EQ(progreso, (std::vector<float>{100.0f * 1 / 3, 100.0f * 2 / 3}));

  puerto.escritos.clear();
  std::string dato = Texto(6);
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, "");
  EXPECT_EQ(puerto.escritos.size(), 4u);
}

TEST_F(TransferenciaTest, LeerAvanzaPorBloquesYAtiendeCancelarTrasCadaUno) {
  EXPECT_EQ(Nueva().Leer("0", "24").datos.size(), 48u);
  EXPECT_EQ(progreso, (std::vector<float>{100.0f * 1 / 3, 100.0f * 2 / 3, 100.0f}));

  progreso.clear();
  puerto.escritos.clear();
  puerto.responder = [&](const std::string& t, std::size_t numero) {
    cancelar = numero == 1;  // el operador cancela mientras va el segundo bloque
    puerto.Llegar(ms(20), indicador.Contestar(t));
  };
  EXPECT_EQ(Nueva().Leer("0", "24").datos.size(), 32u);
  EXPECT_EQ(puerto.escritos.size(), 2u);
}

TEST_F(TransferenciaTest, CancelarDuranteUnaEscrituraTerminaEsaPeticionYDevuelveVacio) {
  int eventos = 0;
  avance.procesarEventos = [&] { ++eventos; };
  puerto.responder = [&](const std::string& t, std::size_t numero) {
    if (numero == 2) cancelar = true;
    puerto.Llegar(ms(20), t);
  };
  std::string dato = Texto(76);
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, "");
  EXPECT_EQ(puerto.escritos.size(), 3u);
  EXPECT_EQ(eventos, 3);
}

TEST_F(TransferenciaTest, ElPlazoCuentaDesdeQueSeEscribeLaPeticion) {
  Transferencia t = Nueva();
  indicador.retardo = ms(1500);
  EXPECT_EQ(t.TxD(0, 26, "AB").datos, "AB");
  EXPECT_EQ(puerto.escritos.size(), 1u);
  EXPECT_EQ(puerto.Ahora() - puerto.escritos[0].cuando, ms(1500));

  // Completa a los 2500 ms: lo llegado al plazo se rechaza y el segundo intento sale enseguida.
  puerto.escritos.clear();
  puerto.responder = [&](const std::string& trama, std::size_t numero) {
    if (numero == 0) {
      puerto.Llegar(ms(1000), trama.substr(0, 4));
      puerto.Llegar(ms(2500), trama.substr(4));
    } else {
      puerto.Llegar(ms(100), trama);
    }
  };
  std::string dato = "AB";
  EXPECT_EQ(t.Escribir("26", dato).datos, "AB");
  ASSERT_EQ(puerto.escritos.size(), 2u);
  EXPECT_EQ(puerto.escritos[1].cuando - puerto.escritos[0].cuando, ms(2000));
}

// Lo que llega antes de la respuesta correcta no le quita su lugar, ni cuenta como ella.
TEST_F(TransferenciaTest, UnaTramaAjenaNoTapaLaRespuestaQueLlegaDetras) {
  const std::string viejo = PeticionEscritura(0, 26, 'A', 'B').trama;
  const std::string ruido = Bytes({0x5A, 0x06, 0x00});
  struct Caso {
    const char* que;
    std::vector<std::pair<ms, std::string>> antes;  // llegadas previas al eco correcto
  };
  for (const Caso& c : {Caso{"eco viejo del registro anterior", {{ms(10), viejo}}},
                        Caso{"eco viejo pegado al correcto", {{ms(50), viejo}}},
                        Caso{"ruido pegado", {{ms(50), ruido}}}, Caso{"eco en dos trozos", {}}}) {
    PuertoFalso p;
    p.responder = [&](const std::string& t, std::size_t) {
      for (const auto& [cuando, bytes] : c.antes) p.Llegar(cuando, bytes);
      if (c.antes.empty()) {
        p.Llegar(ms(20), t.substr(0, 3));
        p.Llegar(ms(50), t.substr(3));
      } else {
        p.Llegar(ms(50), t + Bytes({0x11, 0x22}));  // y basura detrás
      }
    };
    EXPECT_EQ(Transferencia(p, 0, avance).TxD(0, 27, "CD").datos, "CD") << c.que;
    EXPECT_EQ(p.escritos.size(), 1u) << c.que;
    EXPECT_EQ(p.Ahora() - p.escritos[0].cuando, ms(50)) << c.que;
  }
}

TEST_F(TransferenciaTest, LoQueNoEsLaRespuestaNoCuentaYElIntentoVenceEnElPlazo) {
  for (const std::string& ajena : {PeticionEscritura(1, 26, 'A', 'B').trama,     // otro registro
                                   PeticionEscritura(1, 27, 'C', 'C').trama,     // otro valor
                                   PeticionEscritura(2, 27, 'C', 'D').trama}) {  // otro esclavo
    PuertoFalso p;
    p.responder = [&](const std::string&, std::size_t) { p.Llegar(ms(10), ajena); };
    std::string dato = "CD";
    EXPECT_EQ(Transferencia(p, 1, avance).Escribir("27", dato).datos, "");
    ASSERT_EQ(p.escritos.size(), 3u);
    EXPECT_EQ(p.HoraDe(1) - p.HoraDe(0), ms(2000));
    EXPECT_EQ(p.HoraDe(2) - p.HoraDe(1), ms(2000));
  }
}

TEST_F(TransferenciaTest, UnaExcepcionOUnEcoEstropeadoTerminanElIntentoEnseguida) {
  const std::string excepcion = ConCrc(Bytes({0x00, 0x86, 0x04}));
  puerto.responder = [&](const std::string&, std::size_t) { puerto.Llegar(ms(20), excepcion); };
  std::string dato = "AB";
  EXPECT_EQ(Nueva().Escribir("26", dato).datos, "");
  ASSERT_EQ(puerto.escritos.size(), 3u);
  EXPECT_EQ(puerto.HoraDe(1) - puerto.HoraDe(0), ms(20));
  EXPECT_EQ(puerto.HoraDe(2) - puerto.HoraDe(1), ms(20));

  // Primero un eco con el control alterado; el segundo intento sale en cuanto llega.
  PuertoFalso p;
  p.responder = [&](std::string t, std::size_t numero) {
    if (numero == 0) t.back() ^= 1;
    p.Llegar(ms(20), t);
  };
  EXPECT_EQ(Transferencia(p, 0, avance).Escribir("26", dato).datos, "AB");
  ASSERT_EQ(p.escritos.size(), 2u);
  EXPECT_EQ(p.HoraDe(1) - p.HoraDe(0), ms(20));
}

TEST_F(TransferenciaTest, AntesDeCadaPeticionSeDescartaLoViejoYLaLineaCalla35Caracteres) {
  puerto.baudios = 1200;  // 3,5 caracteres = 29,167 ms
  puerto.Llegar(microseconds(0), PeticionEscritura(0, 26, 'A', 'B').trama);  // eco viejo
  puerto.Llegar(ms(10), "ruido");
  indicador.callar = {0};
  EXPECT_EQ(Nueva().TxD(0, 26, "AB").datos, "");
  EXPECT_EQ(puerto.HoraDe(0), ms(10) + microseconds(29167));

  // Ruido sin fin: la petición sale igual, como mucho al vencer el plazo.
  PuertoFalso ruidoso;
  ruidoso.baudios = 1200;
  for (int i = 0; i < 500; ++i) ruidoso.Llegar(ms(10 * i), "x");
  Transferencia(ruidoso, 0, avance).TxD(0, 26, "AB");
  ASSERT_EQ(ruidoso.escritos.size(), 1u);
  EXPECT_EQ(ruidoso.HoraDe(0), ms(2000));
}

TEST_F(TransferenciaTest, LaDireccionDeEsclavoEsLaDelTrabajo) {
  Nueva().Leer("26", "1");
  ajustes_.EscribirIni("global", "ID_1", "9");  // lo guardado no cuenta: vale lo elegido
  std::string dato = "AB";
  Transferencia(puerto, 7, avance).Escribir("26", dato);
  ASSERT_EQ(puerto.escritos.size(), 2u);
  EXPECT_EQ(puerto.escritos[0].trama[0], 0);
  EXPECT_EQ(puerto.escritos[1].trama[0], 7);
}

TEST_F(TransferenciaTest, UnTrabajoQueNoPuedeFormarTramasNoEnviaNada) {
  const auto nadaEnviado = [&](const std::string& direccion, int registros) {
    std::string dato(2 * registros, 'x');
    const bool vacio = Nueva().Leer(direccion, std::to_string(registros)).datos.empty() &&
                       Nueva().Escribir(direccion, dato).datos.empty();
    return vacio && puerto.escritos.empty() && progreso.empty();
  };
  EXPECT_TRUE(nadaEnviado("", 1));
  EXPECT_TRUE(nadaEnviado("26x", 1));
  EXPECT_TRUE(nadaEnviado("-1", 1));
  EXPECT_TRUE(nadaEnviado("65535", 2));
  EXPECT_TRUE(nadaEnviado("65536", 1));
  EXPECT_TRUE(Nueva().Leer("26", "ocho").datos.empty());
  EXPECT_TRUE(Nueva().Leer("26", "-3").datos.empty());
  EXPECT_TRUE(Nueva().RxD(256, 26, 1).datos.empty());
  EXPECT_TRUE(Nueva().RxD(0, 65536, 1).datos.empty());
  EXPECT_TRUE(Nueva().RxD(0, 26, 0).datos.empty());
  EXPECT_TRUE(Nueva().TxD(-1, 26, "AB").datos.empty());
  EXPECT_TRUE(Nueva().TxD(0, 26, "ABC").datos.empty());
  for (const long id : {256L, -1L}) {
    std::string dato = "AB";
    EXPECT_TRUE(Transferencia(puerto, id, avance).Leer("26", "1").datos.empty()) << id;
    EXPECT_TRUE(Transferencia(puerto, id, avance).Escribir("26", dato).datos.empty()) << id;
  }
  EXPECT_TRUE(puerto.escritos.empty());

  EXPECT_EQ(Transferencia(puerto, 255, avance).Leer("65535", "1").datos.size(), 2u);
}

// Una lectura de un registro del ID 1 y lo que le llega en cada intento: el motivo y su texto.
TEST(MotivoDeLaLectura, CadaRespuestaDiceComoTermino) {
  const std::string buena = ConCrc(Bytes({0x01, 0x03, 0x02, 'B', 'A'}));
  std::string estropeada = buena;
  estropeada.back() ^= 1;
  struct Caso {
    const char* que;
    bool eco;  // la línea devuelve la petición delante
    std::string llega;
    Causa causa;
    std::string texto;
  };
  const std::vector<Caso> casos = {
      {"la respuesta", false, buena, Causa::Exito, "aceptada"},
      {"nada", false, "", Causa::SinRespuesta, "sin respuesta"},
      {"solo basura", false, "xyz", Causa::SinRespuesta, "sin respuesta"},
      {"solo el eco", true, "", Causa::SoloEco, "solo volvió el eco de la línea"},
      {"el eco y basura", true, "xyz", Causa::SoloEco, "solo volvió el eco de la línea"},
      {"excepción", false, ConCrc(Bytes({0x01, 0x83, 0x02})), Causa::Excepcion, "excepción 2"},
      {"excepción tras el eco", true, ConCrc(Bytes({0x01, 0x83, 0x04})), Causa::Excepcion,
       "excepción 4"},
      {"control alterado", false, estropeada, Causa::ControlErroneo, "bytes de control erróneos"},
      {"otro esclavo", false, ConCrc(Bytes({0x02, 0x03, 0x02, 'B', 'A'})), Causa::OtroEsclavo,
       "respuesta de otro esclavo"},
      {"otra función", false, PeticionEscritura(1, 26, 'A', 'B').trama, Causa::Ajena,
       "no es la respuesta de esta petición"},
      {"otra cuenta", false, ConCrc(Bytes({0x01, 0x03, 0x04, 'B', 'A', 'D', 'C'})),
       Causa::LargoErroneo, "largo erróneo"},
      {"otro esclavo y basura", false, ConCrc(Bytes({0x02, 0x83, 0x02})) + "xy", Causa::OtroEsclavo,
       "respuesta de otro esclavo"},
  };
  for (const Caso& c : casos) {
    PuertoFalso p;
    p.responder = [&](const std::string& trama, std::size_t) {
      if (c.eco) p.Llegar(ms(0), trama);
      p.Llegar(ms(20), c.llega);
    };
    const Entrega lectura = Transferencia(p, 1, Avance{}).Leer("26", "1");
    EXPECT_EQ(lectura.motivo.causa, c.causa) << c.que;
    EXPECT_EQ(TextoMotivo(lectura.motivo), c.texto) << c.que;
    EXPECT_EQ(lectura.datos, c.causa == Causa::Exito ? "AB" : "") << c.que;
  }
}

// Tras tres intentos que fallan distinto, vale el último: es lo que la línea hacía al final.
TEST(MotivoDeLaLectura, ValeElDelUltimoIntento) {
  PuertoFalso p;
  p.responder = [&](const std::string&, std::size_t numero) {
    if (numero == 0) p.Llegar(ms(20), ConCrc(Bytes({0x01, 0x83, 0x02})));
    if (numero == 1) p.Llegar(ms(20), ConCrc(Bytes({0x02, 0x83, 0x02})));
    if (numero == 2) p.Llegar(ms(20), ConCrc(Bytes({0x01, 0x83, 0x03})));
  };
  const Entrega lectura = Transferencia(p, 1, Avance{}).Leer("26", "1");
  EXPECT_EQ(p.escritos.size(), 3u);
  EXPECT_EQ(TextoMotivo(lectura.motivo), "excepción 3");
}

// Cancelar, o pedir lo que no forma una trama, también es un motivo; cancelar tras el último
// bloque de una lectura no le quita nada.
TEST_F(TransferenciaTest, CancelarYLoQueNoSeEnviaTienenSuMotivo) {
  cancelar = true;
  const Entrega lectura = Nueva().Leer("26", "16");
  EXPECT_EQ(TextoMotivo(lectura.motivo), "cancelado");
  EXPECT_EQ(lectura.datos.size(), 16u);
  EXPECT_TRUE(Nueva().Leer("26", "8").motivo.Exito());
  std::string dato = "AB";
  EXPECT_EQ(TextoMotivo(Nueva().Escribir("26", dato).motivo), "cancelado");

  cancelar = false;
  puerto.escritos.clear();
  EXPECT_EQ(TextoMotivo(Nueva().Leer("65535", "2").motivo), "petición fuera de rango");
  EXPECT_EQ(Nueva().TxD(0, 26, "ABC").motivo.causa, Causa::Invalida);
  EXPECT_TRUE(puerto.escritos.empty());
}

}  // namespace

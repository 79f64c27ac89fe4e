// Averías de la línea durante una subida hecha con clics en la ventana real. Cada caso conecta
// con un indicador sano y luego apunta el puerto 1 al indicador averiado (o a un puerto que no
// sirve), así el tiempo medido es solo el de la subida. Al final imprime la tabla de casos.
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSerialPort>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <vector>

#include "barra_estado.h"
#include "caja_mensaje.h"
#include "ecos.h"
#include "entorno_prueba.h"
#include "frm_Carga.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

constexpr double kPlazoS = 2.0;  // plazo de una respuesta
constexpr double kHolguraS = 3.0;

// 75 bytes: el membrete más largo que admite la ventana.
const QByteArray kMembreteLargo =
    QByteArray("BASCULAS DEL SUR S.A.\r\nRuta 5 km 12 - Tel 555-0199\r\n").leftJustified(75, '*');
// 11 bytes (6 registros), para los casos que esperan plazos enteros.
const QByteArray kMembreteCorto = "PESO NETO\r\n";
// 3 bytes (2 registros): con una avería de cada dos, solo el segundo registro la sufre.
const QByteArray kMembreteDos = "KG\n";

struct Fila {
  QString caso, resultado;
  double segundos;
  QString indicador;
};

std::vector<Fila> tabla;

struct Subida {
  bool exito = false;
  QString mensaje;
  double segundos = 0;
};

// Registros que ocupa `membrete` con su NUL final, y lo que el indicador guarda de ellos.
int Registros(const QByteArray& membrete) {
  return static_cast<int>(membrete.size() + 2) / 2;
}

QString Contenido(const QByteArray& volcado, const QByteArray& membrete) {
  QByteArray esperado = membrete + '\0';
  if (esperado.size() % 2 != 0) esperado += '\0';
  const QByteArray guardado = volcado.mid(2 * 26, esperado.size());
  int iguales = 0;
  while (2 * iguales < esperado.size() &&
         guardado.mid(2 * iguales, 2) == esperado.mid(2 * iguales, 2)) {
    ++iguales;
  }
  const int total = Registros(membrete);
  if (iguales == total) return QStringLiteral("26-%1 = membrete").arg(25 + total);
  if (iguales == 0) return QStringLiteral("nada del membrete (0 de %1)").arg(total);
  return QStringLiteral("26-%1 = membrete, %2 de %3").arg(25 + iguales).arg(iguales).arg(total);
}

class Escenario {
 public:
  Escenario() {
    carpeta.Ajustes(AjustesHacia(sano.Pty()));
    QDir().mkpath(carpeta.Ruta("ticket"));
    ventana.show();
  }

  // Conecta con el indicador sano y elige `membrete`; true si la ventana quedó lista para subir.
  bool Preparar(const QByteArray& membrete) {
    Click("CmdConect");
    const QString ruta = carpeta.Ruta("ticket/membrete.txt");
    QFile archivo(ruta);
    archivo.open(QIODevice::WriteOnly | QIODevice::Truncate);
    archivo.write(membrete);
    archivo.close();
    ElegirArchivo(&ventana, ruta);
    Click("CmdBuscar");
    return ventana.Flujos().Membrete == membrete.toStdString() + '\0' &&
           ventana.findChild<QPushButton*>(QStringLiteral("CmdSubir"))->isEnabled();
  }

  // Lleva el puerto 1 a `dispositivo` y elige en pantalla 1200 · 2^`baudios`, que es lo que usa
  // la subida.
  void Apuntar(const QString& dispositivo, int baudios = 3) {
    carpeta.Ajustes(AjustesHacia(dispositivo, baudios));
    ventana.findChild<QComboBox*>(QStringLiteral("ListaBaudios"))->setCurrentIndex(baudios);
  }

  Subida Subir() {
    auto caja = std::make_shared<QString>();
    QObject contexto;
    AtenderCaja(&contexto, [caja](QMessageBox* m) {
      *caja = m->text();
      m->button(QMessageBox::Ok)->click();
    });
    QElapsedTimer reloj;
    reloj.start();
    Click("CmdSubir");
    Subida s;
    s.segundos = reloj.elapsed() / 1000.0;
    s.exito = ventana.findChild<QLabel*>(QStringLiteral("Lbl_Fin"))->isVisible();
    s.mensaje = *caja;
    return s;
  }

  QByteArray Archivo(const QString& nombre) const {
    QFile archivo(carpeta.Ruta(nombre));
    archivo.open(QIODevice::ReadOnly);
    return archivo.readAll();
  }

  CarpetaDeTrabajo carpeta;
  Simulador sano;
  Ecos ecos;
  frm_Carga ventana{Ajustes::DeLaCarpetaActual(), ecos};

 private:
  void Click(const char* boton) {
    QTest::mouseClick(ventana.findChild<QPushButton*>(QString::fromLatin1(boton)), Qt::LeftButton);
  }
};

QString Resultado(const Subida& s) {
  if (s.exito)
    return s.mensaje.isEmpty() ? QStringLiteral("EXITO") : "EXITO y \"" + s.mensaje + '"';
  return s.mensaje.isEmpty() ? QStringLiteral("sin mensaje") : '"' + s.mensaje + '"';
}

}  // namespace

class MatrizFallasTest : public QObject {
  Q_OBJECT

 private:
  // Sube `membrete` al indicador averiado con `opciones`; anota la fila y comprueba el
  // desenlace y que no pasó de `topeS` segundos.
  void Caso(const QString& caso, const QStringList& opciones, const QByteArray& membrete,
            bool exito, double topeS, int baudios = 3) {
    Escenario e;
    QVERIFY(e.Preparar(membrete));
    Simulador averiado(QStringList(opciones) << "--volcado" << e.carpeta.Ruta("volcado.bin")
                                             << "--colisiones" << e.carpeta.Ruta("choques"));
    e.Apuntar(averiado.Pty(), baudios);
    const Subida s = e.Subir();
    averiado.Terminar();
    QString indicador = Contenido(e.Archivo("volcado.bin"), membrete);
    // En un bus semidúplex, lo que se envía mientras el indicador contesta choca con la respuesta.
    const QByteArray choques = e.Archivo("choques").trimmed();
    if (opciones.contains("--semiduplex")) indicador += "; choques: " + choques;
    tabla.push_back({caso, Resultado(s), s.segundos, indicador});
    QVERIFY2(choques.isEmpty() || choques == "0", choques);

    // La subida guarda la velocidad con que habló.
    QVERIFY(e.Archivo("Brun_Kqt.ini").contains("Baudios=" + QByteArray::number(baudios) + "."));
    QCOMPARE(s.exito, exito);
    QCOMPARE(s.mensaje, exito ? QString() : QStringLiteral("Error al cargar el Ticket"));
    QVERIFY2(s.segundos < topeS, qPrintable(QString::number(s.segundos)));
    if (exito) QVERIFY(tabla.back().indicador.contains(QStringLiteral("= membrete")));
  }

 private slots:
  void losReintentosSalvanRespuestasPerdidasOCorruptas() {
    // Todo registro salvo el primero recibe primero un eco con el control alterado.
    Caso("eco corrupto 1 de cada 2 (--corromper 2)", {"--corromper", "2"}, kMembreteLargo, true,
         kHolguraS);
    // 12 peticiones: 5 lecturas del membrete anterior, 6 escrituras y la lectura que las
    // verifica; cada respuesta perdida cuesta un plazo.
    Caso("se pierde 1 de cada 2 respuestas (--perder 2)", {"--perder", "2"}, kMembreteCorto, true,
         11 * kPlazoS + kHolguraS);
    Caso("se pierde 1 de cada 3 respuestas (--perder 3)", {"--perder", "3"}, kMembreteCorto, true,
         5 * kPlazoS + kHolguraS);
  }

  void tresIntentosSinRespuestaFallanSinDarExito() {
    // Las 5 lecturas del membrete anterior y los registros 26 y 27 se contestan; el 28 se
    // escribe pero sus tres ecos se pierden.
    Caso("3 perdidas seguidas en el reg. 28 (--perder-desde 7)", {"--perder-desde", "7"},
         kMembreteLargo, false, 3 * kPlazoS + kHolguraS);
    // Una excepción termina cada intento en cuanto llega, sin esperar el plazo. La lectura del
    // membrete anterior rechazada no impide escribir; las escrituras rechazadas, sí.
    Caso("respuesta de excepcion 04 (--excepcion)", {"--excepcion"}, kMembreteLargo, false,
         kHolguraS);
  }

  // Tramas bien formadas que no son la respuesta de la petición: no cuentan como ella y el
  // intento sigue esperando la suya hasta el plazo. Siempre así, la subida falla; una de cada
  // dos, el segundo registro pierde un plazo y su reintento lo escribe bien. Otro ID afecta
  // también a las 6 lecturas: casi cada petición pierde un plazo.
  void loQueNoEsLaRespuestaNoDaExito() {
    const struct {
      const char* caso;
      const char* opcion;
    } fallas[] = {{"eco con otro valor", "--eco-otro-valor"},
                  {"eco de otro registro", "--eco-otro-registro"},
                  {"respuesta de otro ID", "--otro-id"}};
    for (const auto& f : fallas) {
      Caso(QStringLiteral("%1 siempre (%2 1)").arg(f.caso, f.opcion), {f.opcion, "1"}, kMembreteDos,
           false, 3 * kPlazoS + kHolguraS);
      const bool lecturas = QByteArray(f.opcion) == "--otro-id";
      Caso(QStringLiteral("%1 1 de cada 2 (%2 2)").arg(f.caso, f.opcion), {f.opcion, "2"},
           kMembreteDos, true, (lecturas ? 7 : 1) * kPlazoS + kHolguraS);
    }
  }

  void unEcoViejoNoTapaElQueLlegaDetras() {
    // Desde el registro 27, cada escritura recibe primero el eco de la anterior y 100 ms
    // después el suyo: el viejo se salta y se toma el propio, sin reintentos.
    Caso("eco tardio del registro anterior, luego el suyo (--eco-tardio 1)", {"--eco-tardio", "1"},
         kMembreteLargo, true, 37 * 0.1 + kHolguraS);
  }

  void laBasuraAlrededorDelEcoNoLoTapa() {
    // El eco se encuentra entre los bytes que no forman trama; lo que sobra detrás lo descarta
    // la petición siguiente.
    Caso("4 bytes de basura tras cada eco (--basura 4)", {"--basura", "4"}, kMembreteCorto, true,
         kHolguraS);
    Caso("basura tras el eco, a 1200 baudios", {"--basura", "4", "--baudios", "1200"},
         kMembreteCorto, true, kHolguraS, 0);
    Caso("4 bytes de ruido antes de cada eco (--ruido 4)", {"--ruido", "4"}, kMembreteCorto, true,
         kHolguraS);
  }

  void respuestasLentas() {
    // 7 peticiones: 5 lecturas del membrete anterior, la escritura y su verificación.
    Caso("eco a los 1500 ms (--retardo 1500)", {"--retardo", "1500"}, "X", true,
         7 * 1.5 + kHolguraS);
    // El primer intento vence a los 2 s; su eco tardío llega durante el segundo intento, que lo
    // toma: es el eco byte por byte de la misma petición.
    Caso("eco a los 2500 ms (--retardo 2500)", {"--retardo", "2500"}, "X", true,
         7 * 2.5 + kHolguraS);
    QVERIFY(tabla.back().segundos >= kPlazoS);
  }

  // Un adaptador de dos hilos devuelve cada byte enviado: el eco de la petición llega antes que
  // la respuesta y no se toma por ella. En el bus semidúplex nada se envía mientras el indicador
  // contesta. Sin indicador solo vuelve el eco, y la lectura previa falla a sus tres plazos.
  void lineasDeDosHilos() {
    const QStringList dosHilos{"--eco-linea", "--semiduplex", "--baudios", "9600"};
    Caso("eco de la linea y bus semiduplex (--eco-linea --semiduplex)", dosHilos, kMembreteLargo,
         true, kHolguraS);
    Caso("eco de la linea sin indicador (--eco-linea --semiduplex --mudo)",
         QStringList(dosHilos) << "--mudo", kMembreteCorto, false, 3 * kPlazoS + kHolguraS);
    Caso("bus semiduplex sin eco (--semiduplex)", {"--semiduplex", "--baudios", "9600"},
         kMembreteLargo, true, kHolguraS);
  }

  // Lo que las escrituras no dicen lo dice la lectura de vuelta: un indicador que contesta pero
  // no guarda no da éxito. Si no deja leer, vale lo que dijeron las escrituras.
  void laLecturaDeVueltaJuzgaLaSubida() {
    Caso("escrituras contestadas sin guardar (--ignorar-escrituras 1)",
         {"--ignorar-escrituras", "1"}, kMembreteLargo, false, kHolguraS);
    Caso("1 de cada 5 escrituras sin guardar (--ignorar-escrituras 5)",
         {"--ignorar-escrituras", "5"}, kMembreteLargo, false, kHolguraS);
    Caso("lectura negada con la excepcion 02 (--negar-lectura)", {"--negar-lectura"},
         kMembreteLargo, true, kHolguraS);
  }

  void laLineaSeCortaAMitadYElProgramaSigueSirviendo() {
    Escenario e;
    QVERIFY(e.Preparar(kMembreteLargo));
    Simulador cortado({"--cerrar-tras", "10", "--volcado", e.carpeta.Ruta("volcado.bin")});
    e.Apuntar(cortado.Pty());
    const QByteArray ajustes = e.Archivo("Brun_Kqt.ini");
    const Subida s = e.Subir();
    cortado.Terminar();
    tabla.push_back({"la linea se cierra tras 10 peticiones (--cerrar-tras 10)", Resultado(s),
                     s.segundos, Contenido(e.Archivo("volcado.bin"), kMembreteLargo)});
    QVERIFY(!s.exito);
    QCOMPARE(s.mensaje, QStringLiteral("Error al cargar el Ticket"));
    QVERIFY(s.segundos < 3 * kPlazoS + kHolguraS);
    QCOMPARE(e.Archivo("Brun_Kqt.ini"), ajustes);

    // Otro indicador en la misma ventana: la subida siguiente sale bien.
    Simulador nuevo({"--volcado", e.carpeta.Ruta("volcado.bin")});
    e.Apuntar(nuevo.Pty());
    const QByteArray otrosAjustes = e.Archivo("Brun_Kqt.ini");
    const Subida otra = e.Subir();
    nuevo.Terminar();
    tabla.push_back({"  la subida siguiente, a un indicador nuevo", Resultado(otra), otra.segundos,
                     Contenido(e.Archivo("volcado.bin"), kMembreteLargo)});
    QVERIFY(otra.exito);
    QCOMPARE(tabla.back().indicador, QStringLiteral("26-63 = membrete"));
    QCOMPARE(e.Archivo("Brun_Kqt.ini"), otrosAjustes);
  }

  // Como un adaptador USB que se quita a mitad de la subida y se vuelve a poner: la subida falla
  // dentro de sus plazos y la siguiente, en la misma ventana y por la misma ruta, sale bien.
  void elAdaptadorSeQuitaYVuelve() {
    Escenario e;
    QVERIFY(e.Preparar(kMembreteLargo));
    const QString enlace = e.carpeta.Ruta("adaptador");
    Simulador adaptador({"--enlace", enlace, "--desenchufar-tras", "10", "--volver-tras", "1000",
                         "--volcado", e.carpeta.Ruta("volcado.bin")});
    e.Apuntar(enlace);
    const Subida s = e.Subir();
    tabla.push_back({"el adaptador se quita tras 10 peticiones (--desenchufar-tras 10)",
                     Resultado(s), s.segundos, "-"});
    QVERIFY(!s.exito);
    QCOMPARE(s.mensaje, QStringLiteral("Error al cargar el Ticket"));
    QVERIFY2(s.segundos < 3 * kPlazoS + kHolguraS, qPrintable(QString::number(s.segundos)));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(enlace), 5000);
    const Subida otra = e.Subir();
    adaptador.Terminar();
    tabla.push_back({"  vuelto a poner (--volver-tras 1000), la subida siguiente", Resultado(otra),
                     otra.segundos, Contenido(e.Archivo("volcado.bin"), kMembreteLargo)});
    QVERIFY(otra.exito);
    QCOMPARE(tabla.back().indicador, QStringLiteral("26-63 = membrete"));
  }

  void unPuertoQueNoSirveFallaAntesDeTresPlazos() {
    {
      Escenario e;
      QVERIFY(e.Preparar(kMembreteCorto));
      e.Apuntar(QStringLiteral("/dev/no-existe-este-puerto"));
      const Subida s = e.Subir();
      tabla.push_back({"el puerto no existe", Resultado(s), s.segundos, "-"});
      QVERIFY(!s.exito);
      QCOMPARE(s.mensaje, QStringLiteral("Error al cargar el Ticket"));
      QVERIFY(s.segundos < 3 * kPlazoS + kHolguraS);
    }
    {
      Escenario e;
      QVERIFY(e.Preparar(kMembreteCorto));
      Simulador indicador({"--volcado", e.carpeta.Ruta("volcado.bin")});
      QSerialPort otro(indicador.Pty());
      QVERIFY(otro.open(QIODevice::ReadWrite));
      e.Apuntar(indicador.Pty());
      const Subida s = e.Subir();
      otro.close();
      indicador.Terminar();
      tabla.push_back({"el puerto lo tiene otro programa", Resultado(s), s.segundos,
                       Contenido(e.Archivo("volcado.bin"), kMembreteCorto)});
      QVERIFY(!s.exito);
      QCOMPARE(s.mensaje, QStringLiteral("Error al cargar el Ticket"));
      QVERIFY(s.segundos < 3 * kPlazoS + kHolguraS);
    }
  }

  void cleanupTestCase() {
    std::printf("\n%-66s | %-34s | %7s | %s\n", "caso", "resultado", "tiempo", "indicador");
    std::printf("%s\n", QByteArray(138, '-').constData());
    for (const Fila& f : tabla) {
      std::printf("%-66s | %-34s | %6.2fs | %s\n", qPrintable(f.caso), qPrintable(f.resultado),
                  f.segundos, qPrintable(f.indicador));
    }
    std::fflush(stdout);
  }
};

QTEST_MAIN(MatrizFallasTest)
#include "matriz_fallas_test.moc"

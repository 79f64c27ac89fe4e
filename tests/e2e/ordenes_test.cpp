// La línea de órdenes del programa real contra el indicador simulado: cada prueba arranca el
// ejecutable como lo haría un técnico y mira su código de salida, sus dos salidas y lo que
// quedó en el indicador y en Brun_Kqt.ini.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QtTest>

#include "entorno_prueba.h"

using namespace comm;

namespace {

struct Corrida {
  int codigo = -1;
  QByteArray salida, errores;
};

Corrida Correr(const QStringList& argumentos) {
  QProcess programa;
  programa.start(QStringLiteral(CARGADOR_BIN), argumentos);
  programa.closeWriteChannel();
  programa.waitForFinished(60000);
  return {programa.exitStatus() == QProcess::NormalExit ? programa.exitCode() : -1,
          programa.readAllStandardOutput(), programa.readAllStandardError()};
}

QByteArray Leer(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("(no existe)");
}

void Escribir(const QString& ruta, const QByteArray& contenido) {
  QFile archivo(ruta);
  QVERIFY(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
  archivo.write(contenido);
}

}  // namespace

class OrdenesTest : public QObject {
  Q_OBJECT

 private slots:
  void SubeElMembrete();
  void LeeElMembreteHastaSuNul();
  void ConectaPorRegistros();
  void ConectaPorLaOrdenM();
  void NoConectaConElIndicadorCallado();
  void VariosIndicadoresConUnoCallado();
  void LasOpcionesNoCambianLosAjustes();
  void PuertoQueNoAbre();
  void BuscaLaVelocidadPorLaOrdenMSinEscribirNada();
  void BuscaUnIndicadorQueSoloHablaModbus();
  void BuscaTresIndicadoresEnUnaLinea();
  void BuscaEnUnaLineaVacia();
  void BuscaEnUnaLineaConEco();
  void PuertoEnUsoPorOtroPrograma();
  void ElAdaptadorSeQuitaYVuelveEnLaMismaOrden();
  void LineasReales_data();
  void LineasReales();
  void OrdenMalDada_data();
  void OrdenMalDada();
};

void OrdenesTest::SubeElMembrete() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--membrete", carpeta.Ruta("quedo.txt")});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));
  const QByteArray membrete = "BASCULAS DEL SUR\r\nTel 555-0199\r\n";
  Escribir(carpeta.Ruta("m.txt"), membrete);

  const Corrida corrida = Correr({"--subir", "m.txt"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray());
  QVERIFY2(corrida.errores.contains("  1  FINALIZADO con EXITO"), corrida.errores);
  QVERIFY(corrida.errores.contains("Correctos: 1 de 1\n"));
  indicador.Terminar();
  QCOMPARE(Leer(carpeta.Ruta("quedo.txt")), membrete);
}

// "Hola" CR LF, el NUL y detrás restos de un membrete anterior, que no se muestran.
void OrdenesTest::LeeElMembreteHastaSuNul() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--registro", "26=28488", "--registro", "27=24940", "--registro", "28=2573",
                       "--registro", "29=23040", "--registro", "63=16705"});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));

  Corrida corrida = Correr({"--leer"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray("Hola\r\n"));
  QVERIFY2(corrida.errores.contains("  1  Leído: 6 bytes"), corrida.errores);

  corrida = Correr({"--leer", "--hex"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray("48 6F 6C 61 0D 0A\n"));
}

// El sondeo de registros basta: no se pide el bloque de configuración ni se guarda nada.
void OrdenesTest::ConectaPorRegistros() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador;
  const QByteArray ajustes = AjustesHacia(indicador.Pty());
  carpeta.Ajustes(ajustes);

  const Corrida corrida = Correr({"--conectar"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray());
  QVERIFY2(corrida.errores.contains("  1  Conectado: responden los registros         1"),
           corrida.errores);
  QCOMPARE(Leer(carpeta.Ruta("Brun_Kqt.ini")), ajustes);
}

// Un indicador que solo contesta órdenes de línea: las 78 claves salen como en Brun_Kqt.ini, que
// las guarda igual.
void OrdenesTest::ConectaPorLaOrdenM() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--solo-linea"});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));

  const Corrida corrida = Correr({"--conectar"});
  QCOMPARE(corrida.codigo, 0);
  QVERIFY2(corrida.errores.contains("  1  Conectado: responde la orden M"), corrida.errores);
  QVERIFY(corrida.salida.startsWith("[Setup]\r\n1="));
  QVERIFY(corrida.salida.contains("\r\n4=10000.\r\n"));
  QVERIFY(corrida.salida.endsWith("\r\n"));
  QCOMPARE(corrida.salida.count("\r\n"), 79);
  QVERIFY(Leer(carpeta.Ruta("Brun_Kqt.ini")).endsWith(corrida.salida));
}

void OrdenesTest::NoConectaConElIndicadorCallado() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--mudo"});
  const QByteArray ajustes = AjustesHacia(indicador.Pty());
  carpeta.Ajustes(ajustes);

  const Corrida corrida = Correr({"--conectar"});
  QCOMPARE(corrida.codigo, 1);
  QCOMPARE(corrida.salida, QByteArray());
  QVERIFY2(corrida.errores.contains("  1  Sin comunicación: sin respuesta"), corrida.errores);
  QCOMPARE(Leer(carpeta.Ruta("Brun_Kqt.ini")), ajustes);
}

// Tres balanzas en una línea y la 2 desconectada: las otras reciben el membrete, el código es 1
// y la tabla dice cuál falló.
void OrdenesTest::VariosIndicadoresConUnoCallado() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--id", "1,2,3", "--callar", "2", "--membrete", carpeta.Ruta("quedo")});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));
  Escribir(carpeta.Ruta("m.txt"), "PESO NETO\r\n");

  const Corrida corrida = Correr({"--subir", "m.txt", "--id", "1-3"});
  QCOMPARE(corrida.codigo, 1);
  const QList<QByteArray> lineas = corrida.errores.split('\n');
  QCOMPARE(lineas.size(), 7);  // puerto, cabecera, tres ID, total y el fin de la última
  // 5 lecturas del membrete anterior, 6 escrituras y una lectura que las verifica.
  QVERIFY2(lineas[2].startsWith("  1  FINALIZADO con EXITO                          12"),
           lineas[2]);
  QVERIFY2(lineas[3].startsWith("  2  Error al cargar el Ticket: sin respuesta       3"),
           lineas[3]);
  QVERIFY2(lineas[4].startsWith("  3  FINALIZADO con EXITO                          12"),
           lineas[4]);
  QCOMPARE(lineas[5], QByteArray("Correctos: 2 de 3"));

  // Leídos de vuelta, cada uno tras su ID.
  const Corrida lectura = Correr({"--leer", "--id", "3,1"});
  QCOMPARE(lectura.codigo, 0);
  QCOMPARE(lectura.salida, QByteArray("ID 3:\nPESO NETO\r\n\nID 1:\nPESO NETO\r\n\n"));
  indicador.Terminar();
  QCOMPARE(Leer(carpeta.Ruta("quedo.1")), QByteArray("PESO NETO\r\n"));
  QCOMPARE(Leer(carpeta.Ruta("quedo.2")), QByteArray());
  QCOMPARE(Leer(carpeta.Ruta("quedo.3")), QByteArray("PESO NETO\r\n"));
}

// Brun_Kqt.ini apunta a otro puerto, otra velocidad y otro ID; la orden manda solo esta vez.
void OrdenesTest::LasOpcionesNoCambianLosAjustes() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--id", "7", "--registro", "26=16961"});
  const QByteArray ajustes = "[Global]\r\nComm=5.\r\nBaudios=0.\r\nID_1=3.\r\n";
  carpeta.Ajustes(ajustes);

  const Corrida corrida =
      Correr({"--leer", "--dispositivo", indicador.Pty(), "--baudios", "19200", "--id", "7"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray("AB"));
  QVERIFY2(corrida.errores.startsWith("Puerto Com5 (" + QFile::encodeName(indicador.Pty()) +
                                      "), 19200 baudios\n"),
           corrida.errores);
  QCOMPARE(Leer(carpeta.Ruta("Brun_Kqt.ini")), ajustes);
}

void OrdenesTest::PuertoQueNoAbre() {
  CarpetaDeTrabajo carpeta;
  const Corrida corrida = Correr({"--leer", "--dispositivo", carpeta.Ruta("no_hay")});
  QCOMPARE(corrida.codigo, 1);
  QCOMPARE(corrida.errores, "No se puede abrir Com1 (" + QFile::encodeName(carpeta.Ruta("no_hay")) +
                                "): el puerto no existe\n");
}

// La orden M contesta solo a 2400 y allí responde el 37. La búsqueda no escribe: ni una trama
// de escritura llega a la línea, los registros quedan como estaban y Brun_Kqt.ini no cambia.
void OrdenesTest::BuscaLaVelocidadPorLaOrdenMSinEscribirNada() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--id", "37", "--baudios", "2400", "--una-velocidad", "--registro",
                       "26=16961", "--volcado", carpeta.Ruta("volcado"), "--escrituras",
                       carpeta.Ruta("escrituras")});
  const QByteArray ajustes = AjustesHacia(indicador.Pty());
  carpeta.Ajustes(ajustes);

  const Corrida corrida = Correr({"--buscar", "--id", "30-40"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray("ID 37 a 2400 baudios\n"));
  QVERIFY2(corrida.errores.contains("La orden M contestó a 2400 baudios"), corrida.errores);
  QVERIFY2(corrida.errores.contains("\nPara usarlo: --puerto 1 --baudios 2400 --id 37\n"),
           corrida.errores);
  QCOMPARE(Leer(carpeta.Ruta("Brun_Kqt.ini")), ajustes);
  indicador.Terminar();
  QCOMPARE(Leer(carpeta.Ruta("escrituras")), QByteArray("escrituras 0\nignoradas 0\n"));
  QByteArray volcado(131072, '\0');
  volcado[52] = 'A';
  volcado[53] = 'B';
  QCOMPARE(Leer(carpeta.Ruta("volcado")), volcado);
}

// Sin orden M, cada ID a cada velocidad pedida; a 1200 el indicador solo oye basura.
void OrdenesTest::BuscaUnIndicadorQueSoloHablaModbus() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--solo-registros", "--id", "201", "--baudios", "9600", "--una-velocidad"});
  const QByteArray pty = QFile::encodeName(indicador.Pty());

  const Corrida corrida = Correr(
      {"--buscar", "--dispositivo", indicador.Pty(), "--baudios", "1200,9600", "--id", "199-203"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray("ID 201 a 9600 baudios\n"));
  QVERIFY2(corrida.errores.contains("Nadie contestó la orden M"), corrida.errores);
  QVERIFY2(corrida.errores.contains("\nPara usarlo: --dispositivo " + pty +
                                    " --baudios 9600 --id 201\n"),
           corrida.errores);
}

// Tres indicadores a 9600 en una línea RS-485: cada uno una vez, y una sola línea para usarlos.
void OrdenesTest::BuscaTresIndicadoresEnUnaLinea() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--id", "1,2,3", "--baudios", "9600", "--una-velocidad"});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));

  const Corrida corrida = Correr({"--buscar", "--id", "1-5"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida,
           QByteArray("ID 1 a 9600 baudios\nID 2 a 9600 baudios\nID 3 a 9600 baudios\n"));
  QVERIFY2(corrida.errores.contains("Contestaron 3 indicadores"), corrida.errores);
  QVERIFY2(corrida.errores.contains("\nPara usarlos: --puerto 1 --baudios 9600 --id 1,2,3\n"),
           corrida.errores);
}

void OrdenesTest::BuscaEnUnaLineaVacia() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--mudo"});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));

  const Corrida corrida = Correr({"--buscar", "--baudios", "2400,4800", "--id", "1-3"});
  QCOMPARE(corrida.codigo, 1);
  QCOMPARE(corrida.salida, QByteArray());
  QVERIFY2(corrida.errores.contains("Ningún indicador contestó (3 ID a 2400 y 4800 baudios)"),
           corrida.errores);
}

// Un adaptador de dos hilos devuelve cada envío, a toda velocidad: el eco de la orden M a 4800
// no dice que alguien escuche allí, ni el de una lectura que el ID contestó.
void OrdenesTest::BuscaEnUnaLineaConEco() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--eco-linea", "--id", "7", "--baudios", "9600", "--una-velocidad"});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));

  const Corrida corrida = Correr({"--buscar", "--baudios", "4800,9600", "--id", "5-8"});
  QCOMPARE(corrida.codigo, 0);
  QCOMPARE(corrida.salida, QByteArray("ID 7 a 9600 baudios\n"));
  QVERIFY2(corrida.errores.contains("La orden M contestó a 9600 baudios: se probaron"),
           corrida.errores);
}

// Cada clase de error, ya en el programa real: una línea, código 2, sin ventana ni envío.
void OrdenesTest::PuertoEnUsoPorOtroPrograma() {
  CarpetaDeTrabajo carpeta;
  Simulador indicador;
  QSerialPort otro(indicador.Pty());
  QVERIFY(otro.open(QIODevice::ReadWrite));
  const Corrida corrida = Correr({"--leer", "--dispositivo", indicador.Pty()});
  QCOMPARE(corrida.codigo, 1);
  QCOMPARE(corrida.errores, "No se puede abrir Com1 (" + QFile::encodeName(indicador.Pty()) +
                                "): el puerto está en uso por otro programa\n");
}

// El adaptador se quita tras la primera petición y vuelve 300 ms después bajo la misma ruta: el
// ID 1 falla dentro de sus plazos, sin colgarse, y el ID 2 reabre el puerto y sube bien.
void OrdenesTest::ElAdaptadorSeQuitaYVuelveEnLaMismaOrden() {
  CarpetaDeTrabajo carpeta;
  const QString enlace = carpeta.Ruta("adaptador");
  Simulador indicador({"--id", "1,2", "--enlace", enlace, "--desenchufar-tras", "1",
                       "--volver-tras", "300", "--membrete", carpeta.Ruta("quedo")});
  carpeta.Ajustes(AjustesHacia(enlace));
  Escribir(carpeta.Ruta("m.txt"), "PESO NETO\r\n");

  QElapsedTimer reloj;
  reloj.start();
  const Corrida corrida = Correr({"--subir", "m.txt", "--id", "1,2"});
  QVERIFY2(reloj.elapsed() < 3 * 2000 + 3000, QByteArray::number(reloj.elapsed()));
  QCOMPARE(corrida.codigo, 1);
  const QList<QByteArray> lineas = corrida.errores.split('\n');
  QVERIFY2(lineas.size() > 4 && lineas[2].startsWith("  1  Error al cargar el Ticket"),
           corrida.errores);
  QVERIFY2(lineas[3].startsWith("  2  FINALIZADO con EXITO"), corrida.errores);
  indicador.Terminar();
  QCOMPARE(Leer(carpeta.Ruta("quedo.2")), QByteArray("PESO NETO\r\n"));
}

// Lo que hacen las líneas y los indicadores reales: un adaptador de dos hilos que devuelve lo
// enviado, un bus semidúplex donde lo que se envía mientras el indicador contesta choca, un
// indicador que no guarda escrituras o que no deja leer. El código de salida dice si el
// indicador quedó con el membrete; ninguna subida choca con una respuesta.
void OrdenesTest::LineasReales_data() {
  QTest::addColumn<QStringList>("linea");
  QTest::addColumn<QStringList>("tarea");
  QTest::addColumn<int>("codigo");
  QTest::addColumn<double>("topeS");
  QTest::addColumn<QByteArray>("resultado");  // en la tabla, con su motivo si falló

  const QStringList subir{"--subir", "m.txt"};
  const QStringList dosHilos{"--eco-linea", "--semiduplex", "--baudios", "9600"};
  const QStringList sinIndicador = QStringList(dosHilos) << "--mudo";
  const QByteArray fin = "FINALIZADO con EXITO";
  const QByteArray soloEco = ": solo volvió el eco de la línea";
  QTest::newRow("eco y semidúplex: subir") << dosHilos << subir << 0 << 3.0 << fin;
  QTest::newRow("eco y semidúplex: conectar") << dosHilos << QStringList{"--conectar"} << 0 << 3.0
                                              << QByteArray("Conectado: responden los registros");
  QTest::newRow("eco y semidúplex: leer")
      << dosHilos << QStringList{"--leer"} << 0 << 3.0 << QByteArray("Leído: 2 bytes");
  QTest::newRow("eco y semidúplex: conectar por la orden M")
      << (QStringList(dosHilos) << "--solo-linea") << QStringList{"--conectar"} << 0 << 9.0
      << QByteArray("Conectado: responde la orden M");
  // Solo vuelve el eco: tres plazos, como una línea callada (y el de la orden M al conectar).
  QTest::newRow("eco sin indicador: subir")
      << sinIndicador << subir << 1 << 9.0 << "Error al cargar el Ticket" + soloEco;
  QTest::newRow("eco sin indicador: conectar")
      << sinIndicador << QStringList{"--conectar"} << 1 << 11.0 << "Sin comunicación" + soloEco;
  QTest::newRow("eco sin indicador: leer")
      << sinIndicador << QStringList{"--leer"} << 1 << 9.0 << "Sin respuesta completa" + soloEco;
  QTest::newRow("semidúplex sin eco: subir")
      << QStringList{"--semiduplex", "--baudios", "9600"} << subir << 0 << 3.0 << fin;
  QTest::newRow("escrituras ignoradas")
      << QStringList{"--ignorar-escrituras", "1"} << subir << 1 << 3.0
      << QByteArray("Error al cargar el Ticket: registro 26 distinto de lo escrito");
  QTest::newRow("una de cada 3 escrituras ignorada")
      << QStringList{"--ignorar-escrituras", "3"} << subir << 1 << 3.0
      << QByteArray("Error al cargar el Ticket: registro 28 distinto de lo escrito");
  // Sin poder leer se queda con lo que dijeron las escrituras, que el indicador sí guardó.
  QTest::newRow("lectura negada") << QStringList{"--negar-lectura"} << subir << 0 << 3.0 << fin;
  QTest::newRow("lectura negada: leer")
      << QStringList{"--negar-lectura"} << QStringList{"--leer"} << 1 << 3.0
      << QByteArray("Sin respuesta completa: excepción 2");
}

void OrdenesTest::LineasReales() {
  QFETCH(QStringList, linea);
  QFETCH(QStringList, tarea);
  QFETCH(int, codigo);
  QFETCH(double, topeS);
  QFETCH(QByteArray, resultado);
  CarpetaDeTrabajo carpeta;
  const QByteArray membrete = "PESO NETO\r\n";
  Escribir(carpeta.Ruta("m.txt"), membrete);
  // Antes, "HI" y su NUL.
  Simulador indicador(QStringList(linea) << "--registro"
                                         << "26=18760"
                                         << "--membrete" << carpeta.Ruta("quedo") << "--colisiones"
                                         << carpeta.Ruta("choques"));
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));

  QElapsedTimer reloj;
  reloj.start();
  const Corrida corrida = Correr(tarea);
  QVERIFY2(reloj.elapsed() < topeS * 1000, QByteArray::number(reloj.elapsed()));
  QVERIFY2(corrida.codigo == codigo, corrida.errores);
  QVERIFY2(corrida.errores.contains("  1  " + resultado + "  "), corrida.errores);
  indicador.Terminar();
  const QByteArray quedo = Leer(carpeta.Ruta("quedo"));
  if (tarea.first() == "--subir") QCOMPARE(quedo == membrete, codigo == 0);
  if (tarea.first() == "--leer" && codigo == 0) QCOMPARE(corrida.salida, QByteArray("HI"));
  const QByteArray choques = Leer(carpeta.Ruta("choques")).trimmed();
  QVERIFY2(choques == "0" || choques == "(no existe)", choques);
}

void OrdenesTest::OrdenMalDada_data() {
  QTest::addColumn<QStringList>("argumentos");
  QTest::addColumn<QByteArray>("error");
  QTest::newRow("opción") << QStringList{"--bajar"} << QByteArray("Opción desconocida: --bajar");
  QTest::newRow("valor") << QStringList{"--leer", "--baudios"}
                         << QByteArray("Falta el valor de --baudios");
  QTest::newRow("ID") << QStringList{"--leer", "--id", "1,256"}
                      << QByteArray("ID fuera de rango: 256 (de 0 a 255)");
  QTest::newRow("archivo") << QStringList{"--subir", "no.txt"}
                           << QByteArray("No existe el archivo: no.txt");
  QTest::newRow("largo") << QStringList{"--subir", "largo.txt"}
                         << QByteArray("El archivo largo.txt tiene más de 75 bytes");
  QTest::newRow("buscar al 0") << QStringList{"--buscar", "--id", "0,1"}
                               << QByteArray("--buscar prueba los ID de 1 a 255");
  QTest::newRow("velocidades") << QStringList{"--buscar", "--baudios", "2400,300"}
                               << QByteArray("Velocidad inválida: 300");
  QTest::newRow("velocidades sin buscar") << QStringList{"--leer", "--baudios", "2400,9600"}
                                          << QByteArray("Varias velocidades solo con --buscar");
  QTest::newRow("dos tareas") << QStringList{"--buscar", "--conectar"}
                              << QByteArray("Pida una sola tarea");
}

void OrdenesTest::OrdenMalDada() {
  QFETCH(QStringList, argumentos);
  QFETCH(QByteArray, error);
  CarpetaDeTrabajo carpeta;
  Simulador indicador({"--volcado", carpeta.Ruta("volcado")});
  carpeta.Ajustes(AjustesHacia(indicador.Pty()));
  Escribir(carpeta.Ruta("largo.txt"), QByteArray(76, 'x'));

  const Corrida corrida = Correr(argumentos);
  QCOMPARE(corrida.codigo, 2);
  QVERIFY2(corrida.errores.startsWith(error), corrida.errores);
  QCOMPARE(corrida.errores.count('\n'), 1);
  QCOMPARE(corrida.salida, QByteArray());
  indicador.Terminar();
  QCOMPARE(Leer(carpeta.Ruta("volcado")), QByteArray(131072, '\0'));
}

QTEST_GUILESS_MAIN(OrdenesTest)
#include "ordenes_test.moc"

#include "puerto_serie.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>
#include <chrono>
#include <string>
#include <thread>

#include "entorno_prueba.h"

using namespace comm;

using namespace std::chrono_literals;
using Reloj = Puerto::Reloj;

namespace {

std::string TodosLosBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

}  // namespace

class PuertoSerieTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    maestro_ = std::make_unique<Maestro>();
    carpeta_ = std::make_unique<CarpetaDeTrabajo>();
  }
  void cleanup() {
    carpeta_.reset();
    maestro_.reset();
  }

  void pasaCadaByteEnAmbosSentidos() {
    PuertoSerie puerto;
    puerto.SetDispositivo(maestro_->Esclavo().toStdString());
    QVERIFY(puerto.SetPortOpen(true));
    QCOMPARE(puerto.Dispositivo(), maestro_->Esclavo().toStdString());

    puerto.Output(TodosLosBytes());
    QCOMPARE(maestro_->Leer(256), TodosLosBytes());

    const auto antes = Reloj::now();
    QVERIFY(maestro_->Escribir(TodosLosBytes()));
    puerto.Esperar(256, Reloj::now() + 2s);
    QVERIFY(puerto.UltimaRecepcion() >= antes);
    QCOMPARE(puerto.InBufferCount(), std::size_t{256});
    QCOMPARE(puerto.Input(), TodosLosBytes());
    QCOMPARE(puerto.InBufferCount(), std::size_t{0});
  }

  // Lo rápido que responde cada espera lo mide el banco de pruebas (scripts/bench); aquí, que
  // termine por la razón correcta.
  void esperaHastaTenerLosBytesOHastaElPlazo() {
    PuertoSerie puerto;
    puerto.SetDispositivo(maestro_->Esclavo().toStdString());
    QVERIFY(puerto.SetPortOpen(true));

    // Bytes que ya están en el búfer cuentan sin esperar a que lleguen otros.
    QVERIFY(maestro_->Escribir("abcd"));
    QTRY_COMPARE_WITH_TIMEOUT(puerto.InBufferCount(), std::size_t{4}, 1000);
    auto plazo = Reloj::now() + 30s;
    puerto.Esperar(4, plazo);
    QVERIFY(Reloj::now() < plazo);

    // Bytes que llegan durante la espera la terminan en cuanto están todos.
    std::thread indicador([this] {
      std::this_thread::sleep_for(50ms);
      maestro_->Escribir("ef");
    });
    plazo = Reloj::now() + 30s;
    puerto.Esperar(6, plazo);
    indicador.join();
    QVERIFY(Reloj::now() < plazo);
    QCOMPARE(puerto.Input(), std::string("abcdef"));

    // Sin bastantes bytes, hasta el plazo y no antes.
    QVERIFY(maestro_->Escribir("g"));
    plazo = Reloj::now() + 150ms;
    puerto.Esperar(2, plazo);
    QVERIFY(Reloj::now() >= plazo);
    QCOMPARE(puerto.Input(), std::string("g"));
  }

  // Un puerto caído se cierra y sus esperas duran hasta el plazo: un bucle de reintentos no
  // gira (el procesador que gasta lo mide el banco de pruebas).
  void unPuertoQueDesapareceSeCierraYNoGira() {
    PuertoSerie puerto;
    puerto.SetDispositivo(maestro_->Esclavo().toStdString());
    QVERIFY(puerto.SetPortOpen(true));
    maestro_->Cerrar();

    const auto inicio = Reloj::now();
    for (int intento = 0; intento < 3; ++intento) {
      puerto.Output("xy");
      puerto.Esperar(8, Reloj::now() + 100ms);
    }
    QVERIFY(Reloj::now() - inicio >= 300ms);
    QVERIFY(!puerto.PortOpen());
    QCOMPARE(puerto.Input(), std::string());
    QCOMPARE(puerto.InBufferCount(), std::size_t{0});
  }

  // Abierto en exclusiva: otra copia no mezcla sus bytes con los nuestros y sabe por qué no abre.
  void unPuertoAbiertoNoSeAbreDosVeces() {
    PuertoSerie puerto;
    puerto.SetDispositivo(maestro_->Esclavo().toStdString());
    QVERIFY(puerto.SetPortOpen(true));
    PuertoSerie otro;
    otro.SetDispositivo(maestro_->Esclavo().toStdString());
    QVERIFY(!otro.SetPortOpen(true));
    QCOMPARE(otro.ErrorApertura(), std::string("el puerto está en uso por otro programa"));
    QVERIFY(puerto.SetPortOpen(false));
    QVERIFY(otro.SetPortOpen(true));
  }

  // Un usuario sin permiso sobre el dispositivo (el esclavo es de root, 0620) no es un puerto
  // en uso. Las pruebas corren como root: lo intenta un hijo que pasa a ser nobody.
  void sinPermisoLoDiceConElGrupoDialout() {
    const passwd* nadie = getpwnam("nobody");
    if (geteuid() != 0 || nadie == nullptr) QSKIP("hace falta ser root y tener el usuario nobody");
    QVERIFY(QFile::setPermissions(carpeta_->Ruta("."), QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ReadOther |
                                                           QFile::ExeOther));
    const std::string esperado =
        "no hay permiso para abrir el puerto: el usuario no está en el grupo dialout";
    const pid_t hijo = fork();
    if (hijo == 0) {
      if (setgid(nadie->pw_gid) != 0 || setuid(nadie->pw_uid) != 0) _exit(2);
      PuertoSerie puerto;
      puerto.SetDispositivo(maestro_->Esclavo().toStdString());
      _exit(!puerto.SetPortOpen(true) && puerto.ErrorApertura() == esperado ? 0 : 1);
    }
    int estado = 0;
    QCOMPARE(waitpid(hijo, &estado, 0), hijo);
    QVERIFY(WIFEXITED(estado));
    QCOMPARE(WEXITSTATUS(estado), 0);
  }

  void propiedadesQueNoValenConservanSuValor_data() {
    QTest::addColumn<QString>("texto");
    for (const char* texto :
         {"", "9600", "9600,n,8", "9600,n,8,1,", "abc,n,8,1", "0,n,8,1", "-9600,n,8,1",
          "9600,x,8,1", "9600,nn,8,1", "9600,n,9,1", "9600,n,4,1", "9600,n,8,3", "9600, n,8,1"}) {
      QTest::newRow(texto) << QString(texto);
    }
  }
  void propiedadesQueNoValenConservanSuValor() {
    QFETCH(QString, texto);
    PuertoSerie puerto;
    puerto.SetDispositivo(maestro_->Esclavo().toStdString());
    QVERIFY(puerto.SetSettings("4800,E,7,2"));
    QVERIFY(!puerto.SetSettings(texto.toStdString()));
    QCOMPARE(puerto.Settings(), std::string("4800,E,7,2"));
    QCOMPARE(puerto.Baudios(), 4800L);
  }

  void numeroDePuertoYApertura() {
    PuertoSerie puerto;
    QVERIFY(!puerto.SetCommPort(0));
    QVERIFY(!puerto.SetCommPort(256));
    QVERIFY(!puerto.SetHandshaking(1));
    QCOMPARE(puerto.CommPort(), 1L);

    // Un dispositivo que no existe no abre, y la espera en el puerto cerrado dura el plazo.
    QVERIFY(puerto.SetCommPort(3));
    QVERIFY(puerto.SetDispositivo(carpeta_->Ruta("ninguno").toStdString()));
    QVERIFY(!puerto.SetPortOpen(true));
    QCOMPARE(puerto.Dispositivo(), carpeta_->Ruta("ninguno").toStdString());
    QVERIFY(!puerto.PortOpen());
    const auto plazo = Reloj::now() + 100ms;
    puerto.Esperar(1, plazo);
    QVERIFY(Reloj::now() >= plazo);

    // Abierto no cambia de número ni de dispositivo ni se abre dos veces; RTS en un pty no
    // impide abrir.
    QVERIFY(puerto.SetCommPort(1));
    QVERIFY(puerto.SetDispositivo(maestro_->Esclavo().toStdString()));
    QVERIFY(puerto.SetRTSEnable(true));
    QVERIFY(puerto.SetPortOpen(true));
    QVERIFY(!puerto.SetCommPort(2));
    QVERIFY(!puerto.SetDispositivo("/dev/ttyS1"));
    QVERIFY(!puerto.SetPortOpen(true));
    QVERIFY(puerto.SetPortOpen(false));
    QVERIFY(!puerto.PortOpen());
  }

 private:
  std::unique_ptr<Maestro> maestro_;
  std::unique_ptr<CarpetaDeTrabajo> carpeta_;
};

QTEST_GUILESS_MAIN(PuertoSerieTest)
#include "puerto_serie_test.moc"

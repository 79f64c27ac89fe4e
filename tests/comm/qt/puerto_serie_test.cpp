#include "puerto_serie.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QtTest>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "entorno_prueba.h"

using namespace std::chrono_literals;
using Reloj = Puerto::Reloj;

namespace {

// El lado del indicador: el maestro de un pseudoterminal cuyo esclavo abre el puerto.
class Maestro {
 public:
  Maestro(const Maestro&) = delete;
  Maestro& operator=(const Maestro&) = delete;
  Maestro() : fd_(posix_openpt(O_RDWR | O_NOCTTY)) {
    grantpt(fd_);
    unlockpt(fd_);
  }
  ~Maestro() { Cerrar(); }
  QString Esclavo() const { return QString::fromLocal8Bit(ptsname(fd_)); }
  void Escribir(const std::string& datos) const {
    QVERIFY(::write(fd_, datos.data(), datos.size()) == static_cast<ssize_t>(datos.size()));
  }
  std::string Leer(std::size_t n) const {
    std::string leido;
    char trozo[512];
    pollfd espera{fd_, POLLIN, 0};
    while (leido.size() < n && poll(&espera, 1, 2000) > 0) {
      const ssize_t r = ::read(fd_, trozo, sizeof trozo);
      if (r <= 0) break;
      leido.append(trozo, static_cast<std::size_t>(r));
    }
    return leido;
  }
  void Cerrar() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

std::string TodosLosBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

double MsDesde(Reloj::time_point inicio) {
  return std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
}

}  // namespace

class PuertoSerieTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    maestro_ = std::make_unique<Maestro>();
    carpeta_ = std::make_unique<CarpetaDeTrabajo>(
        "[Puertos]\r\nCom1=" + QFile::encodeName(maestro_->Esclavo()) + ".\r\n");
  }
  void cleanup() {
    carpeta_.reset();
    maestro_.reset();
  }

  void pasaCadaByteEnAmbosSentidos() {
    PuertoSerie puerto;
    QVERIFY(puerto.SetPortOpen(true));
    QCOMPARE(puerto.Dispositivo(), maestro_->Esclavo().toStdString());

    puerto.Output(TodosLosBytes());
    QCOMPARE(maestro_->Leer(256), TodosLosBytes());

    const auto antes = Reloj::now();
    maestro_->Escribir(TodosLosBytes());
    puerto.Esperar(256, Reloj::now() + 2s);
    QVERIFY(puerto.UltimaRecepcion() >= antes);
    QCOMPARE(puerto.InBufferCount(), std::size_t{256});
    QCOMPARE(puerto.Input(), TodosLosBytes());
    QCOMPARE(puerto.InBufferCount(), std::size_t{0});
  }

  void esperaHastaTenerLosBytesOHastaElPlazo() {
    PuertoSerie puerto;
    QVERIFY(puerto.SetPortOpen(true));

    // Bytes que ya están en el búfer cuentan sin esperar a que lleguen otros.
    maestro_->Escribir("abcd");
    QTRY_COMPARE_WITH_TIMEOUT(puerto.InBufferCount(), std::size_t{4}, 1000);
    auto inicio = Reloj::now();
    puerto.Esperar(4, inicio + 2s);
    QVERIFY(MsDesde(inicio) < 100);

    // Bytes que llegan durante la espera la terminan en cuanto están todos.
    std::thread indicador([this] {
      std::this_thread::sleep_for(50ms);
      maestro_->Escribir("ef");
    });
    inicio = Reloj::now();
    puerto.Esperar(6, inicio + 2s);
    indicador.join();
    QVERIFY(MsDesde(inicio) < 500);
    QCOMPARE(puerto.Input(), std::string("abcdef"));

    // Sin bastantes bytes, el plazo.
    maestro_->Escribir("g");
    inicio = Reloj::now();
    puerto.Esperar(2, inicio + 150ms);
    QVERIFY(MsDesde(inicio) >= 150);
    QVERIFY(MsDesde(inicio) < 400);
    QCOMPARE(puerto.Input(), std::string("g"));
  }

  void unPuertoQueDesapareceSeCierraYNoGira() {
    PuertoSerie puerto;
    QVERIFY(puerto.SetPortOpen(true));
    maestro_->Cerrar();

    const double cpu = SegundosDeCpu();
    const auto inicio = Reloj::now();
    for (int intento = 0; intento < 3; ++intento) {
      puerto.Output("xy");
      puerto.Esperar(8, Reloj::now() + 100ms);
    }
    QVERIFY(MsDesde(inicio) >= 300);
    QVERIFY(SegundosDeCpu() - cpu < 0.05);
    QVERIFY(!puerto.PortOpen());
    QCOMPARE(puerto.Input(), std::string());
    QCOMPARE(puerto.InBufferCount(), std::size_t{0});
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

    // Sin ajuste "Com3", /dev/ttyS2; aquí no existe y no abre.
    QVERIFY(puerto.SetCommPort(3));
    QVERIFY(!puerto.SetPortOpen(true));
    QCOMPARE(puerto.Dispositivo(), std::string("/dev/ttyS2"));
    QVERIFY(!puerto.PortOpen());
    const auto inicio = Reloj::now();
    puerto.Esperar(1, inicio + 100ms);
    QVERIFY(MsDesde(inicio) >= 100);

    // Abierto no cambia de número ni se abre dos veces; RTS en un pty no impide abrir.
    QVERIFY(puerto.SetCommPort(1));
    QVERIFY(puerto.SetRTSEnable(true));
    QVERIFY(puerto.SetPortOpen(true));
    QVERIFY(!puerto.SetCommPort(2));
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

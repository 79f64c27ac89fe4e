#include "esperas.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "FrmComm.h"
#include "entorno_prueba.h"
#include "puerto_serie.h"

using namespace comm;

using namespace std::chrono_literals;
using Reloj = Puerto::Reloj;

namespace {

constexpr int kRepeticiones = 5;

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double MsDesde(Reloj::time_point inicio) {
  return std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
}

QByteArray PuertoHacia(const Maestro& maestro) {
  return "[Puertos]\r\nCom1=" + QFile::encodeName(maestro.Esclavo()) + ".\r\n";
}

// Las tres esperas de PuertoSerie, la mediana de cada una.
void MedirPuerto(CifrasEsperas& cifras) {
  std::vector<double> enBufer, llegada, plazo;
  for (int i = 0; i < kRepeticiones; ++i) {
    Maestro maestro;
    CarpetaDeTrabajo carpeta(PuertoHacia(maestro));
    PuertoSerie puerto;
    puerto.SetDispositivo(maestro.Esclavo().toStdString());
    puerto.SetPortOpen(true);

    maestro.Escribir("abcd");
    puerto.Esperar(4, Reloj::now() + 1s);  // ahora ya están en el búfer
    auto inicio = Reloj::now();
    puerto.Esperar(4, inicio + 2s);
    enBufer.push_back(MsDesde(inicio));

    std::thread indicador([&maestro] {
      std::this_thread::sleep_for(50ms);
      maestro.Escribir("ef");
    });
    inicio = Reloj::now();
    puerto.Esperar(6, inicio + 2s);
    llegada.push_back(MsDesde(inicio));
    indicador.join();

    inicio = Reloj::now();
    puerto.Esperar(7, inicio + 150ms);
    plazo.push_back(MsDesde(inicio));
  }
  cifras.enBuferMs = Mediana(enBufer);
  cifras.llegadaMs = Mediana(llegada);
  cifras.plazoMs = Mediana(plazo);
}

double CpuPuertoCaido() {
  Maestro maestro;
  CarpetaDeTrabajo carpeta(PuertoHacia(maestro));
  PuertoSerie puerto;
  puerto.SetDispositivo(maestro.Esclavo().toStdString());
  puerto.SetPortOpen(true);
  maestro.Cerrar();
  const double cpu = SegundosDeCpu();
  for (int intento = 0; intento < 3; ++intento) {
    puerto.Output("xy");
    puerto.Esperar(8, Reloj::now() + 100ms);
  }
  return SegundosDeCpu() - cpu;
}

void Escritura(FrmComm& dlg, const std::string& texto) {
  Apuntar(dlg, kSeleccionDePrueba);
  dlg.xFnc = "T";
  dlg.xDire = "26";
  dlg.xDato = texto;
}

double PedidoMalo() {
  Maestro maestro;
  CarpetaDeTrabajo carpeta(PuertoHacia(maestro));
  std::vector<double> tiempos;
  for (int i = 0; i < kRepeticiones; ++i) {
    FrmComm dlg;
    Escritura(dlg, "AB");
    dlg.xDire = "x";
    QElapsedTimer reloj;
    reloj.start();
    dlg.exec();
    tiempos.push_back(static_cast<double>(reloj.nsecsElapsed()) / 1e6);
  }
  return Mediana(tiempos);
}

// Una escritura larga con ecos lentos, cancelada con un clic a los 250 ms.
double Cancelar() {
  Simulador indicador({"--retardo", "40"});
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));
  FrmComm dlg;
  Escritura(dlg, std::string(75, 'C'));
  QElapsedTimer reloj;
  QTimer::singleShot(250, &dlg, [&dlg, &reloj] {
    reloj.start();
    QTest::mouseClick(dlg.findChild<QPushButton*>("CmdCancel"), Qt::LeftButton);
  });
  dlg.exec();
  return static_cast<double>(reloj.nsecsElapsed()) / 1e6;
}

void Desaparece(CifrasEsperas& cifras) {
  Simulador indicador({"--cerrar-tras", "3"});
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));
  FrmComm dlg;
  Escritura(dlg, "0123456789");
  const double cpu = SegundosDeCpu();
  QElapsedTimer reloj;
  reloj.start();
  dlg.exec();
  cifras.desapareceS = static_cast<double>(reloj.elapsed()) / 1000;
  cifras.desapareceCpuS = SegundosDeCpu() - cpu;
}

}  // namespace

CifrasEsperas MedirEsperas() {
  CifrasEsperas cifras{};
  MedirPuerto(cifras);
  cifras.cpuCaidoS = CpuPuertoCaido();
  cifras.pedidoMaloMs = PedidoMalo();
  cifras.cancelarMs = Cancelar();
  Desaparece(cifras);
  return cifras;
}

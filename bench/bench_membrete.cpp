// Cifras del programa frente al indicador simulado, en una tabla:
//  - subida de 76 caracteres (38 registros) como la hace la ventana, con la lectura previa y la
//    de vuelta, cada petición por el diálogo de comunicación a 9600 baudios, frente al mínimo
//    del pseudoterminal para esas peticiones; lo que cuesta la lectura de vuelta; las 38
//    escrituras solas frente al mínimo del protocolo y a un cliente de referencia con libmodbus;
//    y lo que cuesta la traza encendida;
//  - procesador gastado mientras una petición espera tres intentos sin respuesta;
//  - tiempo desde el arranque del proceso hasta la ventana principal pintada;
//  - pico de memoria residente del programa haciendo una subida con la ventana;
//  - lo que tardan en terminar las esperas del puerto y del diálogo (esperas.cpp).
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "FrmComm.h"
#include "ecos.h"
#include "entorno_prueba.h"
#include "esperas.h"
#include "pasos.h"
#include "programa_hijo.h"
#include "referencia_libmodbus.h"
#include "traza_archivo.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

constexpr int kRepeticiones = 5;
constexpr int kBaudios = 9600;
constexpr int kIndiceBaudios = 3;  // 1200 · 2^3
constexpr int kRegistros = 38;
// Com1 es el indicador, como lo deja AjustesHacia.
const Seleccion kSeleccion{1, kIndiceBaudios, 1};
constexpr double kMsPorCaracter = 10 * 1000.0 / kBaudios;  // 10 bits por carácter
// Por registro en la línea: petición y eco de 8 bytes, cada uno tras 3,5 caracteres de silencio.
constexpr double kMinimoMs = kRegistros * (8 + 8 + 2 * 3.5) * kMsPorCaracter;
// En un pseudoterminal la petición llega al instante: quedan el silencio del maestro y el eco
// del simulador con su silencio. Un maestro que no guarda silencio se ahorra el suyo.
constexpr double kEscriturasPtyMs = kRegistros * (8 + 2 * 3.5) * kMsPorCaracter;
constexpr double kMinimoPtySinSilencioMs = kRegistros * (8 + 3.5) * kMsPorCaracter;
// Una lectura de los 38 registros: bloques de 8, 8, 8, 8 y 6, cada respuesta de 5 + 2·n
// caracteres tras los dos silencios.
constexpr double kLecturaPtyMs = (5 * 2 * 3.5 + 4 * (5 + 2 * 8) + (5 + 2 * 6)) * kMsPorCaracter;
// La subida entera: lectura del membrete anterior, escrituras y lectura de vuelta.
constexpr double kMinimoPtyMs = kLecturaPtyMs + kEscriturasPtyMs + kLecturaPtyMs;

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Anota cuándo dispara el temporizador del diálogo, es decir, cuándo empieza la petición.
class Arranque : public QObject {
 public:
  explicit Arranque(QObject* temporizador) { temporizador->installEventFilter(this); }
  qint64 ms = -1;
  QElapsedTimer reloj;

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() == QEvent::Timer && ms < 0) ms = reloj.elapsed();
    return false;
  }
};

// Milisegundos de la escritura por FrmComm, sin la espera inicial del temporizador; -1 si falló.
double EscribirConFrmComm(const std::string& texto, Traza* traza = nullptr) {
  FrmComm dlg;
  Apuntar(dlg, kSeleccion);
  dlg.traza = traza;
  dlg.xFnc = "T";
  dlg.xDire = "26";
  dlg.xDato = texto;
  Arranque arranque(dlg.findChild<QTimer*>("TimerOn"));
  arranque.reloj.start();
  dlg.exec();
  return dlg.xOK ? static_cast<double>(arranque.reloj.elapsed() - arranque.ms) : -1;
}

// La subida de la ventana, cada petición por su diálogo. Milisegundos de cada una, sin la
// espera inicial del temporizador; vacío si la subida falló.
std::vector<double> SubirConFrmComm(const std::string& texto, Ecos& ecos) {
  std::vector<double> peticiones;
  Peticion base;
  Apuntar(base, kSeleccion);
  base.ecos = &ecos;
  const Motivo subida = SubirMembrete(base, texto, [&](Peticion& peticion) {
    FrmComm dlg;
    static_cast<Peticion&>(dlg) = peticion;
    Arranque arranque(dlg.findChild<QTimer*>("TimerOn"));
    arranque.reloj.start();
    dlg.exec();
    peticiones.push_back(static_cast<double>(arranque.reloj.elapsed() - arranque.ms));
    peticion = static_cast<Peticion&>(dlg);
  });
  return subida.Exito() ? peticiones : std::vector<double>{};
}

struct Subidas {
  double entera, lecturaDeVuelta;       // la subida de la ventana
  double frmComm, conTraza, libmodbus;  // las 38 escrituras solas
  double bytesDeTraza;                  // por escritura de 38 registros
};

// Las tres maneras de escribir, alternadas contra el mismo indicador a 9600 baudios.
Subidas MedirSubidas() {
  Simulador indicador({"--baudios", QString::number(kBaudios)});
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty(), kIndiceBaudios));
  const std::filesystem::path log = carpeta.Ruta("Brun_Kqt.log").toStdString();
  TrazaArchivo traza(log);
  std::vector<double> enteras, deVuelta, propio, conTraza, referencia;
  std::string texto(2 * kRegistros, 'A');
  Ecos ecos;
  for (int i = 0; i < kRepeticiones; ++i) {
    texto[0] = static_cast<char>('A' + i);  // otro texto cada vez
    // 75 caracteres y el NUL, como un membrete del tope.
    const std::vector<double> subida = SubirConFrmComm(texto.substr(0, 75) + '\0', ecos);
    double suma = 0;
    for (const double ms : subida) suma += ms;
    enteras.push_back(subida.empty() ? -1 : suma);
    deVuelta.push_back(subida.empty() ? -1 : subida.back());
    propio.push_back(EscribirConFrmComm(texto));
    conTraza.push_back(EscribirConFrmComm(texto, &traza));
    referencia.push_back(
        EscribirConLibmodbus(indicador.Pty().toStdString(), kBaudios, 1, 26, kRegistros));
  }
  std::error_code error;
  const double bytes = static_cast<double>(std::filesystem::file_size(log, error));
  return {Mediana(enteras),  Mediana(deVuelta),   Mediana(propio),
          Mediana(conTraza), Mediana(referencia), bytes / kRepeticiones};
}

// Microsegundos por línea de la traza en archivo, medidos sobre 2000 líneas como las de una
// subida.
double MicrosPorLineaDeTraza() {
  CarpetaDeTrabajo carpeta;
  TrazaArchivo traza(carpeta.Ruta("Brun_Kqt.log").toStdString());
  const std::string linea = "<- 01 06 00 1A 41 41 58 9D  aceptada, a los 16 ms";
  constexpr int kLineas = 2000;
  QElapsedTimer reloj;
  reloj.start();
  for (int i = 0; i < kLineas; ++i) traza.Anotar(linea);
  return static_cast<double>(reloj.nsecsElapsed()) / 1000.0 / kLineas;
}

// Segundos de CPU gastados por cada 6 s de una lectura que nadie contesta.
double CpuEsperando() {
  Simulador indicador({"--mudo"});
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty(), kIndiceBaudios));
  FrmComm dlg;
  Apuntar(dlg, kSeleccion);
  dlg.xFnc = "R";
  dlg.xDire = "26";
  dlg.xLong = "1";
  QElapsedTimer reloj;
  reloj.start();
  const double cpu = SegundosDeCpu();
  dlg.exec();
  return (SegundosDeCpu() - cpu) * 6000 / static_cast<double>(reloj.elapsed());
}

// Lanza este ejecutable con `argumentos` en `carpeta`; milisegundos hasta su primera línea de
// salida, que deja en `linea`.
double Hijo(const QStringList& argumentos, const QString& carpeta, QByteArray& linea) {
  QProcess hijo;
  hijo.setWorkingDirectory(carpeta);
  QElapsedTimer reloj;
  reloj.start();
  hijo.start(QCoreApplication::applicationFilePath(), argumentos);
  while (!hijo.canReadLine() && hijo.waitForReadyRead(30000)) {
  }
  const double ms = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
  linea = hijo.readLine().trimmed();
  hijo.waitForFinished(30000);
  return ms;
}

double ArranqueVentana() {
  CarpetaDeTrabajo carpeta;
  std::vector<double> tiempos;
  for (int i = 0; i < kRepeticiones; ++i) {
    QByteArray linea;
    const double ms = Hijo({"--ventana"}, carpeta.Ruta("."), linea);
    tiempos.push_back(linea == "VISIBLE" ? ms : -1);
  }
  return Mediana(tiempos);
}

// Pico de memoria residente, en MiB, del programa subiendo un membrete de 75 bytes; -1 si falló.
double MemoriaSubiendo() {
  Simulador indicador;
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty(), kIndiceBaudios));
  QFile archivo(carpeta.Ruta("membrete.txt"));
  archivo.open(QIODevice::WriteOnly);
  archivo.write(QByteArray(75, 'M'));
  archivo.close();
  QByteArray linea;
  Hijo({"--subida", archivo.fileName()}, carpeta.Ruta("."), linea);
  const QList<QByteArray> partes = linea.split(' ');
  if (partes.size() != 2 || partes[0] != "EXITO") return -1;
  return partes[1].toDouble() / 1024;
}

void Fila(const char* medida, const std::string& valor, const char* objetivo, bool cumple) {
  std::printf("%-50s | %-42s | %-9s | %s\n", medida, valor.c_str(), objetivo, cumple ? "si" : "NO");
}

std::string Texto(const char* formato, double a, double b = 0) {
  char texto[96];
  std::snprintf(texto, sizeof texto, formato, a, b);
  return texto;
}

int Medir(int argc, char** argv) {
  QApplication app(argc, argv);
  const Subidas subidas = MedirSubidas();
  const double microsPorLinea = MicrosPorLineaDeTraza();
  const double cpu = CpuEsperando();
  const double ventana = ArranqueVentana();
  const double memoria = MemoriaSubiendo();
  const CifrasEsperas esperas = MedirEsperas();

  std::printf("%-50s | %-42s | %-9s | %s\n", "medida", "valor", "objetivo", "cumple");
  std::printf("%s\n", std::string(118, '-').c_str());
  Fila("subida de 38 registros con sus lecturas (mediana)", Texto("%.1f ms", subidas.entera), "-",
       subidas.entera > 0);
  Fila("  frente al minimo del pseudoterminal",
       Texto("%.3f x %.1f ms", subidas.entera / kMinimoPtyMs, kMinimoPtyMs), "<= 1.03 x",
       subidas.entera > 0 && subidas.entera <= 1.03 * kMinimoPtyMs);
  Fila("  la lectura de vuelta (mediana)",
       Texto("%.1f ms = %.1f %% de la subida", subidas.lecturaDeVuelta,
             100 * subidas.lecturaDeVuelta / subidas.entera),
       "-", subidas.lecturaDeVuelta > 0);
  Fila("38 escrituras solas a 9600 (FrmComm, mediana)",
       Texto("%.1f ms = %.3f x minimo (910 ms)", subidas.frmComm, subidas.frmComm / kMinimoMs), "-",
       subidas.frmComm > 0);
  Fila("  frente al minimo del pseudoterminal",
       Texto("%.3f x %.1f ms", subidas.frmComm / kEscriturasPtyMs, kEscriturasPtyMs), "<= 1.03 x",
       subidas.frmComm > 0 && subidas.frmComm <= 1.03 * kEscriturasPtyMs);
  Fila("  con la traza encendida (mediana)",
       Texto("%.1f ms = %+.1f ms por subida", subidas.conTraza, subidas.conTraza - subidas.frmComm),
       "-", subidas.conTraza > 0);
  Fila("  lo que escribe la traza por subida", Texto("%.0f bytes", subidas.bytesDeTraza), "-",
       true);
  // Dos líneas por registro (petición y respuesta) y la de la apertura.
  Fila("  costo de una linea de traza",
       Texto("%.1f us; 38 registros: %.2f ms", microsPorLinea,
             microsPorLinea * (2 * kRegistros + 1) / 1000),
       "-", true);
  Fila("las mismas 38 escrituras con libmodbus (mediana)",
       Texto("%.1f ms = %.3f x min. pty sin silencio", subidas.libmodbus,
             subidas.libmodbus / kMinimoPtySinSilencioMs),
       "-", subidas.libmodbus > 0);
  Fila("  FrmComm / libmodbus", Texto("%.3f", subidas.frmComm / subidas.libmodbus), "-", true);
  Fila("CPU esperando tres intentos sin respuesta", Texto("%.4f s por 6 s", cpu), "< 0.01 s",
       cpu < 0.01);
  Fila("arranque del proceso hasta la ventana pintada", Texto("%.0f ms (mediana)", ventana),
       "< 300 ms", ventana > 0 && ventana < 300);
  Fila("pico de memoria residente subiendo 75 bytes", Texto("%.1f MiB", memoria), "< 60 MiB",
       memoria > 0 && memoria < 60);
  Fila("Esperar con los bytes ya en el bufer", Texto("%.3f ms (mediana)", esperas.enBuferMs),
       "< 100 ms", esperas.enBuferMs < 100);
  Fila("Esperar bytes que llegan a los 50 ms", Texto("%.2f ms (mediana)", esperas.llegadaMs),
       "< 500 ms", esperas.llegadaMs < 500);
  Fila("Esperar sin bytes, plazo de 150 ms", Texto("%.2f ms (mediana)", esperas.plazoMs),
       "150-400ms", esperas.plazoMs >= 150 && esperas.plazoMs < 400);
  Fila("CPU de tres esperas de 100 ms en un puerto caido", Texto("%.4f s", esperas.cpuCaidoS),
       "< 0.05 s", esperas.cpuCaidoS < 0.05);
  Fila("pedido que no se puede formar, de principio a fin",
       Texto("%.1f ms (mediana)", esperas.pedidoMaloMs), "< 375 ms", esperas.pedidoMaloMs < 375);
  Fila("del clic en Cancelar al cierre del dialogo", Texto("%.1f ms", esperas.cancelarMs),
       "< 750 ms", esperas.cancelarMs < 750);
  Fila("escritura cuyo indicador se va tras 3 peticiones",
       Texto("%.2f s, %.3f s de CPU", esperas.desapareceS, esperas.desapareceCpuS), "< 7 s, 0.2",
       esperas.desapareceS < 7 && esperas.desapareceCpuS < 0.2);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string modo = argc > 1 ? argv[1] : "";
  if (modo == "--ventana") return MostrarVentana(argc, argv);
  if (modo == "--subida" && argc > 2)
    return SubirConVentana(argc, argv, QString::fromLocal8Bit(argv[2]));
  return Medir(argc, argv);
}

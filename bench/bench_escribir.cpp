// Cifras del diálogo de comunicación frente al indicador simulado:
//  (a) duración de la escritura de 76 caracteres (38 registros) a 9600 baudios, frente al
//      mínimo del protocolo;
//  (b) procesador gastado mientras una petición espera tres intentos sin respuesta.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "FrmComm.h"
#include "entorno_prueba.h"

namespace {

constexpr int kRepeticiones = 5;
constexpr int kBaudios = 9600;
constexpr int kRegistros = 38;
constexpr double kMsPorCaracter = 10 * 1000.0 / kBaudios;  // 10 bits por carácter
// Por registro: petición y eco de 8 bytes y dos silencios de 3,5 caracteres.
constexpr double kMinimoMs = kRegistros * (8 + 8 + 2 * 3.5) * kMsPorCaracter;
// En un pseudoterminal la petición no tarda nada en la línea: solo el simulador marca el ritmo
// de su respuesta (silencio y 8 bytes) y el núcleo guarda su silencio antes de cada petición.
constexpr double kMinimoPtyMs = kRegistros * (8 + 2 * 3.5) * kMsPorCaracter;
// Sin ritmo en el simulador solo queda el silencio del núcleo.
constexpr double kSilenciosMs = kRegistros * 3.5 * kMsPorCaracter;

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

// Milisegundos de la petición, sin la espera inicial del temporizador; -1 si falló.
double Escribir(const std::string& texto) {
  FrmComm dlg;
  dlg.xFnc = "T";
  dlg.xDire = "26";
  dlg.xDato = texto;
  Arranque arranque(dlg.findChild<QTimer*>("TimerOn"));
  arranque.reloj.start();
  dlg.exec();
  return dlg.xOK ? static_cast<double>(arranque.reloj.elapsed() - arranque.ms) : -1;
}

// Mediana de varias escrituras de 76 caracteres, en ms.
double Subida(const QStringList& argumentos) {
  Simulador indicador(argumentos);
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty(), 3));
  std::string texto(76, 'A');
  std::vector<double> tiempos;
  for (int i = 0; i < kRepeticiones; ++i) {
    texto[0] = static_cast<char>('A' + i);  // otro texto cada vez
    tiempos.push_back(Escribir(texto));
  }
  std::sort(tiempos.begin(), tiempos.end());
  return tiempos[tiempos.size() / 2];
}

void Subidas() {
  const double conRitmo = Subida({"--baudios", QString::number(kBaudios)});
  const double sinRitmo = Subida({});
  std::printf("(a) escritura de 76 caracteres a %d baudios, mediana de %d\n", kBaudios,
              kRepeticiones);
  std::printf("    %.1f ms = %.3f x minimo del protocolo (%.1f ms)\n", conRitmo,
              conRitmo / kMinimoMs, kMinimoMs);
  std::printf("    %.1f ms = %.3f x minimo en un pseudoterminal (%.1f ms)\n", conRitmo,
              conRitmo / kMinimoPtyMs, kMinimoPtyMs);
  std::printf("    sin ritmo en el simulador: %.1f ms, %.2f ms por registro aparte de silencios\n",
              sinRitmo, (sinRitmo - kSilenciosMs) / kRegistros);
}

void EsperaSinRespuesta() {
  Simulador indicador({"--mudo"});
  CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty(), 3));
  FrmComm dlg;
  dlg.xFnc = "R";
  dlg.xDire = "26";
  dlg.xLong = "1";
  QElapsedTimer reloj;
  reloj.start();
  const double cpu = SegundosDeCpu();
  dlg.exec();
  const double gastado = SegundosDeCpu() - cpu;
  const double segundos = reloj.elapsed() / 1000.0;
  std::printf("(b) lectura sin respuesta: %.2f s de espera, %.4f s de CPU (%.4f por 6 s)\n",
              segundos, gastado, gastado * 6 / segundos);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Subidas();
  EsperaSinRespuesta();
  return 0;
}

// What an operator does in the demo, without a person: connect, choose the letterhead given
// as argument, upload, leave with "Salir". Runs from the demo folder, the program's own.
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "aplicacion.h"
#include "barra_estado.h"
#include "caja_mensaje.h"
#include "frm_Carga.h"

namespace {

void Decir(const QString& texto) {
  std::printf("  %s\n", texto.toLocal8Bit().constData());
  std::fflush(stdout);
}

void Pulsar(const frm_Carga& ventana, const char* boton) {
  auto* control = ventana.findChild<QPushButton*>(QString::fromLatin1(boton));
  Decir(QStringLiteral("Pulsa \"%1\"").arg(control->text()));
  control->click();
}

// Any message box is shown on the console and closed with OK.
void ContarCajas(QObject* contexto) {
  AtenderCaja(contexto, [contexto](QMessageBox* caja) {
    Decir(QStringLiteral("Mensaje \"%1\": %2").arg(caja->windowTitle(), caja->text()));
    caja->button(QMessageBox::Ok)->click();
    ContarCajas(contexto);
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  PrepararAplicacion();
  if (argc != 2) {
    std::fprintf(stderr, "uso: demo_automatico ticket/ARCHIVO.txt\n");
    return 2;
  }
  // A dialog left open must not hang whoever runs the demo.
  QTimer::singleShot(30000, [] {
    std::fprintf(stderr, "la demostración no terminó en 30 s\n");
    std::exit(3);
  });
  frm_Carga ventana;
  ventana.show();
  ContarCajas(&ventana);

  Pulsar(ventana, "CmdConect");
  Decir(ventana.findChild<BarraEstado*>()->Panel(1)->text());
  ElegirArchivo(&ventana, QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
  Pulsar(ventana, "CmdBuscar");
  Decir(QStringLiteral("Membrete de %1 bytes").arg(ventana.Flujos().Membrete.size()));
  Pulsar(ventana, "CmdSubir");
  bool exito = ventana.findChild<QLabel*>(QStringLiteral("Lbl_Fin"))->isVisible();
  if (exito) Decir(QStringLiteral("FINALIZADO con EXITO"));

  bool terminado = false;
  QObject::connect(&ventana, &frm_Carga::Salida, [&terminado] { terminado = true; });
  Pulsar(ventana, "Cmd_Salir");
  return exito && terminado ? 0 : 1;
}

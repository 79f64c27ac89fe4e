// Lo que hace un operador en la demostración, sin una persona: conectar, elegir el membrete dado
// como argumento, subirlo y salir con "Salir". Corre en la carpeta de la demostración, la del
// programa.
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
#include "ecos.h"
#include "frm_Carga.h"

using namespace almacen;
using namespace comm;
using namespace carga;

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

// Cada caja de mensaje se muestra en la consola y se cierra con Aceptar.
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
  // Un diálogo que quede abierto no debe colgar a quien corre la demostración.
  QTimer::singleShot(30000, [] {
    std::fprintf(stderr, "la demostración no terminó en 30 s\n");
    std::exit(3);
  });
  Ecos ecos;
  frm_Carga ventana{Ajustes::DeLaCarpetaActual(), ecos};
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

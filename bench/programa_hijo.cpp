#include "programa_hijo.h"

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "aplicacion.h"
#include "caja_mensaje.h"
#include "ecos.h"
#include "frm_Carga.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

// Avisa del primer pintado de la ventana y termina el programa.
class PrimerPintado : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    if (evento->type() == QEvent::Paint) {
      std::printf("VISIBLE\n");
      std::fflush(stdout);
      QCoreApplication::exit(0);
    }
    return false;
  }
};

void Click(frm_Carga& ventana, const char* boton) {
  QTest::mouseClick(ventana.findChild<QPushButton*>(QString::fromLatin1(boton)), Qt::LeftButton);
}

}  // namespace

int MostrarVentana(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepararAplicacion();
  Ecos ecos;
  frm_Carga ventana{Ajustes::DeLaCarpetaActual(), ecos};
  PrimerPintado aviso;
  ventana.installEventFilter(&aviso);
  ventana.show();
  return QApplication::exec();
}

int SubirConVentana(int argc, char** argv, const QString& archivo) {
  QApplication app(argc, argv);
  PrepararAplicacion();
  Ecos ecos;
  frm_Carga ventana{Ajustes::DeLaCarpetaActual(), ecos};
  ventana.show();
  Click(ventana, "CmdConect");
  ElegirArchivo(&ventana, archivo);
  Click(ventana, "CmdBuscar");
  // Un fallo abre una caja de mensaje: se cierra sola para no esperar a nadie.
  AtenderCaja(&ventana, [](QMessageBox* caja) { caja->button(QMessageBox::Ok)->click(); });
  Click(ventana, "CmdSubir");
  const bool exito = ventana.findChild<QLabel*>(QStringLiteral("Lbl_Fin"))->isVisible();
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  std::printf("%s %ld\n", exito ? "EXITO" : "FALLO", uso.ru_maxrss);
  return exito ? 0 : 1;
}

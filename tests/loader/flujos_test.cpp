// Conectar, elegir y subir por la ventana real contra el indicador simulado.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <csignal>
#include <memory>

#include "FrmComm.h"
#include "ajustes.h"
#include "barra_estado.h"
#include "caja_mensaje.h"
#include "ecos.h"
#include "entorno_prueba.h"
#include "frm_Carga.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

template <typename T>
T* Hijo(const QWidget& ventana, const char* nombre) {
  return ventana.findChild<T*>(QString::fromLatin1(nombre));
}

// Cuenta las veces que se muestra un diálogo de comunicación.
class ContadorDialogos : public QObject {
 public:
  ContadorDialogos() { qApp->installEventFilter(this); }
  ~ContadorDialogos() override { qApp->removeEventFilter(this); }
  int veces = 0;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (evento->type() == QEvent::Show && qobject_cast<FrmComm*>(objeto)) ++veces;
    return false;
  }
};

struct Caja {
  QString titulo, texto;
  QMessageBox::Icon icono = QMessageBox::NoIcon;
};

// Anota la próxima caja de mensaje y la cierra con su botón Aceptar.
std::shared_ptr<Caja> EsperarCaja(QObject* contexto) {
  auto vista = std::make_shared<Caja>();
  AtenderCaja(contexto, [vista](QMessageBox* caja) {
    *vista = {caja->windowTitle(), caja->text(), caja->icon()};
    caja->button(QMessageBox::Ok)->click();
  });
  return vista;
}

class Escenario {
 public:
  explicit Escenario(QStringList opciones)
      : indicador(opciones << "--volcado" << carpeta.Ruta("volcado.bin")) {
    carpeta.Ajustes(AjustesHacia(indicador.Pty()));
    QDir().mkpath(carpeta.Ruta("ticket"));
    ventana.show();
  }

  void Click(const char* boton) {
    QTest::mouseClick(Hijo<QPushButton>(ventana, boton), Qt::LeftButton);
  }
  QString Estado() const { return ventana.findChild<BarraEstado*>()->Panel(1)->text(); }
  bool Habilitado(const char* boton) const {
    return Hijo<QPushButton>(ventana, boton)->isEnabled();
  }
  bool Exito() const { return Hijo<QLabel>(ventana, "Lbl_Fin")->isVisible(); }

  QString ArchivoMembrete(const QByteArray& bytes) {
    QString ruta = carpeta.Ruta("ticket/membrete.txt");
    QFile archivo(ruta);
    archivo.open(QIODevice::WriteOnly | QIODevice::Truncate);
    archivo.write(bytes);
    return ruta;
  }
  void Buscar(const QString& archivo) {
    ElegirArchivo(&ventana, archivo);
    Click("CmdBuscar");
  }
  // Los registros desde el 26, como los tiene el indicador una vez detenido.
  QByteArray Registros(int cuantos) {
    indicador.Terminar();
    QFile volcado(carpeta.Ruta("volcado.bin"));
    volcado.open(QIODevice::ReadOnly);
    return volcado.readAll().mid(2 * 26, 2 * cuantos);
  }

  CarpetaDeTrabajo carpeta;
  Simulador indicador;
  Ecos ecos;
  frm_Carga ventana{Ajustes::DeLaCarpetaActual(), ecos};
};

}  // namespace

class FlujosTest : public QObject {
  Q_OBJECT

 private slots:
  void conectaConElSondeoDeRegistros() {
    Escenario e({});
    ContadorDialogos dialogos;
    e.Click("CmdConect");
    QCOMPARE(dialogos.veces, 1);
    QCOMPARE(e.Estado(), QStringLiteral("Estado: Conectado"));
    QVERIFY(e.Habilitado("CmdBuscar"));
    QCOMPARE(QString::fromStdString(Ajustes::DeLaCarpetaActual().LeerIni("Setup", "1", "ninguno")),
             QStringLiteral("ninguno"));
  }

  void conectaConLaOrdenMCuandoNoHayRegistros() {
    QByteArray bloque(90, '\x07');
    bloque[3] = 16;
    bloque[4] = 39;
    bloque[5] = 0;
    bloque[26] = '\xAA';
    bloque[89] = '\x55';
    Escenario e({"--solo-linea", "--setup", QString::fromLatin1(bloque.toHex())});
    ContadorDialogos dialogos;
    e.Click("CmdConect");
    QCOMPARE(dialogos.veces, 2);
    QCOMPARE(e.Estado(), QStringLiteral("Estado: Conectado"));
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Setup", "4", ""), std::string("10000"));
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Setup", "15", ""), std::string("170"));
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Setup", "78", ""), std::string("85"));
    for (int clave = 1; clave <= 78; ++clave) {
      QVERIFY(!Ajustes::DeLaCarpetaActual().LeerIni("Setup", std::to_string(clave), "").empty());
    }
  }

  void unaConexionFallidaTrasUnaBuenaLoDiceYDejaBuscar() {
    Escenario e({});
    e.Click("CmdConect");
    QVERIFY(e.Habilitado("CmdBuscar"));

    ::kill(e.indicador.Pid(), SIGUSR1);  // el indicador enmudece
    auto caja = EsperarCaja(&e.ventana);
    e.Click("CmdConect");
    QCOMPARE(caja->titulo, QStringLiteral("Error"));
    QCOMPARE(caja->texto,
             QStringLiteral("No se puede establecer la comunicacion con el indicador"));
    QCOMPARE(caja->icono, QMessageBox::Critical);
    QCOMPARE(e.Estado(), QStringLiteral("Estado: Desconectado"));
    QVERIFY(e.Habilitado("CmdBuscar"));
  }

  void subeUnMembreteDe75BytesEntero() {
    Escenario e({});
    e.Click("CmdConect");
    QByteArray texto = "ACOPIO LA ESPERANZA\r\nTel 555-0199\r\n";
    texto.append(QByteArray("\x00\xFF\x80\x11\x13", 5));
    texto = texto.leftJustified(75, '-');
    e.Buscar(e.ArchivoMembrete(texto));
    QCOMPARE(e.ventana.Flujos().Membrete.size(), std::size_t{76});
    QVERIFY(e.Habilitado("CmdSubir"));

    e.Click("CmdSubir");
    QVERIFY(e.Exito());
    QCOMPARE(e.Registros(38), texto + '\0');
  }

  void rechazaUnMembreteDe76Bytes() {
    Escenario e({});
    e.Click("CmdConect");
    auto caja = EsperarCaja(&e.ventana);
    e.Buscar(e.ArchivoMembrete(QByteArray(76, 'x')));
    QCOMPARE(caja->titulo, QStringLiteral("Error"));
    QCOMPARE(caja->texto, QStringLiteral("La longitud del formulario es mayor a 75 bytes"));
    QCOMPARE(caja->icono, QMessageBox::Warning);
    QVERIFY(e.ventana.Flujos().Membrete.empty());
    QVERIFY(!e.Habilitado("CmdSubir"));
  }

  void unArchivoVacioSubeUnRegistroDeDosNul() {
    Escenario e({"--registro", "26=16705", "--registro", "27=16705"});
    e.Click("CmdConect");
    e.Buscar(e.ArchivoMembrete({}));
    QCOMPARE(e.ventana.Flujos().Membrete, std::string(1, '\0'));
    e.Click("CmdSubir");
    QVERIFY(e.Exito());
    QCOMPARE(e.Registros(2), QByteArray("\0\0AA", 4));
  }

  void cancelarLaEleccionSueltaElMembreteYVuelveALaCarpeta() {
    Escenario e({});
    e.Click("CmdConect");
    e.Buscar(e.ArchivoMembrete("AB"));
    QVERIFY(e.Habilitado("CmdSubir"));
    QDir::setCurrent(QDir::tempPath());
    e.Buscar({});
    QVERIFY(e.ventana.Flujos().Membrete.empty());
    QVERIFY(e.Habilitado("CmdSubir"));
    QCOMPARE(QDir::current(), QDir(e.carpeta.Ruta(".")));
  }

  void unaSubidaSinRespuestaFallaYElReintentoSube() {
    Escenario e({});
    e.Click("CmdConect");
    e.Buscar(e.ArchivoMembrete("AB"));

    ::kill(e.indicador.Pid(), SIGUSR1);
    auto caja = EsperarCaja(&e.ventana);
    e.Click("CmdSubir");
    QCOMPARE(caja->texto, QStringLiteral("Error al cargar el Ticket"));
    QCOMPARE(caja->icono, QMessageBox::Critical);
    QVERIFY(!e.Exito());
    QCOMPARE(e.ventana.Flujos().Membrete, std::string("AB\0", 3));

    ::kill(e.indicador.Pid(), SIGUSR1);
    e.Click("CmdSubir");
    QVERIFY(e.Exito());
    QCOMPARE(e.Registros(2), QByteArray("AB\0\0", 4));
  }

  void elPuertoElegidoEnPantallaValeSinSalir() {
    Escenario e({});
    // El puerto 3 lleva al indicador; el guardado, el 1, no lleva a ninguna parte.
    e.carpeta.Ajustes(
        "[Puertos]\r\nCom1=/dev/null/nada.\r\nCom3=" + QFile::encodeName(e.indicador.Pty()) +
        ".\r\n[Global]\r\nComm=1.\r\nBaudios=3.\r\nID_1=1.\r\n");
    Hijo<QComboBox>(e.ventana, "ListaPuerto")->setCurrentIndex(2);
    e.Click("CmdConect");
    QCOMPARE(e.Estado(), QStringLiteral("Estado: Conectado"));
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Comm", ""), std::string("3"));
  }

  // Un archivo de ajustes que no se puede reescribir (aquí, porque el temporal del escritor ya
  // existe como carpeta) no desvía las peticiones a lo guardado: se usa la pantalla y se avisa.
  void sinPoderGuardarSeUsaLaPantallaYSeAvisa() {
    Escenario e({});
    e.carpeta.Ajustes("[Puertos]\r\nCom1=" + QFile::encodeName(e.indicador.Pty()) +
                      ".\r\n[Global]\r\nComm=1.\r\nBaudios=3.\r\nID_1=9.\r\n");
    QVERIFY(QDir().mkpath(e.carpeta.Ruta(
        QStringLiteral("Brun_Kqt.ini.%1.tmp").arg(QCoreApplication::applicationPid()))));
    Hijo<QScrollBar>(e.ventana, "HScrollId0")->setValue(1);
    e.Click("CmdConect");
    QCOMPARE(e.Estado(), QStringLiteral("Estado: Conectado"));
    QCOMPARE(e.ventana.findChild<BarraEstado*>()->currentMessage(),
             QStringLiteral("No se pudieron guardar los ajustes en Brun_Kqt.ini"));
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("global", "ID_1", ""), std::string("9"));

    e.Buscar(e.ArchivoMembrete("AB"));
    e.Click("CmdSubir");
    QVERIFY(e.Exito());
    QCOMPARE(e.Registros(2), QByteArray("AB\0\0", 4));
  }
};

QTEST_MAIN(FlujosTest)
#include "flujos_test.moc"

#include "frm_Carga.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "FrmComm.h"
#include "ajustes.h"
#include "aplicacion.h"
#include "barra_estado.h"
#include "caja_mensaje.h"
#include "ecos.h"
#include "texto_ayuda.h"
#include "twips.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

template <typename T>
T* Hijo(const QWidget& ventana, const char* nombre) {
  return ventana.findChild<T*>(QString::fromLatin1(nombre));
}

std::unique_ptr<frm_Carga> Abrir() {
  static Ecos ecos;  // como el del programa: dura toda la prueba
  auto ventana = std::make_unique<frm_Carga>(Ajustes::DeLaCarpetaActual(), ecos);
  ventana->show();
  return ventana;
}

QByteArray ArchivoAjustes() {
  QFile archivo(QStringLiteral("Brun_Kqt.ini"));
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

bool AyudaVisible(const frm_Carga& ventana) {
  return Hijo<QGroupBox>(ventana, "Frame2")->x() == 0;
}

// Lo que tapa el centro de `control`: él mismo, o el panel de ayuda si está encima.
QWidget* Visible(const frm_Carga& ventana, const QWidget* control) {
  return ventana.childAt(control->mapTo(&ventana, control->rect().center()));
}

void Click(const frm_Carga& ventana, const char* boton) {
  QTest::mouseClick(Hijo<QPushButton>(ventana, boton), Qt::LeftButton);
}

// Lleva el foco a `boton` y pulsa `tecla` allí, como el operador.
void TeclaEn(const frm_Carga& ventana, const char* boton, Qt::Key tecla) {
  Hijo<QPushButton>(ventana, boton)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), tecla);
}

void ClickCasilla(const frm_Carga& ventana) {
  auto* casilla = Hijo<QCheckBox>(ventana, "Chk_inicio");
  QTest::mouseClick(casilla, Qt::LeftButton, {}, QPoint(6, casilla->height() / 2));
}

// Lo que el diálogo de archivos muestra escrito: título, etiquetas, botones (o su sugerencia si
// solo tienen icono), columnas de la lista y tipos de archivo.
QStringList TextosDelDialogo(const QFileDialog& dialogo) {
  QStringList textos{dialogo.windowTitle()};
  for (const QWidget* hijo : dialogo.findChildren<QWidget*>()) {
    if (!hijo->isVisible()) continue;
    if (const auto* etiqueta = qobject_cast<const QLabel*>(hijo)) textos << etiqueta->text();
    if (const auto* boton = qobject_cast<const QAbstractButton*>(hijo))
      textos << (boton->text().isEmpty() ? boton->toolTip() : boton->text());
    if (const auto* columnas = qobject_cast<const QHeaderView*>(hijo)) {
      for (int i = 0; i < columnas->count(); ++i) {
        if (!columnas->isSectionHidden(i))
          textos << columnas->model()->headerData(i, Qt::Horizontal).toString();
      }
    }
  }
  const auto* tipos = dialogo.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  for (int i = 0; i < tipos->count(); ++i) textos << tipos->itemText(i);
  textos.removeAll(QString());
  textos.sort();
  return textos;
}

}  // namespace

class PruebaVentana : public QObject {
  Q_OBJECT

 private slots:
  // Como el programa: los textos de Qt en castellano.
  void initTestCase() { PrepararAplicacion(); }

  // Cada prueba corre en una carpeta vacía: sin archivo de ajustes.
  void init() {
    carpeta_ = std::make_unique<QTemporaryDir>();
    anterior_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(carpeta_->path()));
  }

  void cleanup() {
    QDir::setCurrent(anterior_);
    carpeta_.reset();
  }

  void primerArranqueSinAjustes() {
    const QDateTime antes = QDateTime::currentDateTime();
    auto ventana = Abrir();
    const QDateTime despues = QDateTime::currentDateTime();
    QVERIFY(QTest::qWaitForWindowActive(ventana.get()));
    auto* conectar = Hijo<QPushButton>(*ventana, "CmdConect");
    QVERIFY(AyudaVisible(*ventana));
    QVERIFY(Hijo<QGroupBox>(*ventana, "Frame2")->isAncestorOf(Visible(*ventana, conectar)));
    QVERIFY(!Hijo<QCheckBox>(*ventana, "Chk_inicio")->isChecked());
    QCOMPARE(Hijo<QLabel>(*ventana, "LabelId0")->text(), QStringLiteral("1"));
    QCOMPARE(Hijo<QComboBox>(*ventana, "ListaPuerto")->currentText(), QStringLiteral("Com1"));
    QCOMPARE(Hijo<QComboBox>(*ventana, "ListaBaudios")->currentText(), QStringLiteral("9600"));
    QCOMPARE(Hijo<QLabel>(*ventana, "lblVersion")->text(), QString::fromUtf8("Versión 3.0.1"));
    QCOMPARE(QApplication::focusWidget(), conectar);
    QVERIFY(!Hijo<QPushButton>(*ventana, "CmdBuscar")->isEnabled());
    QVERIFY(!Hijo<QPushButton>(*ventana, "CmdSubir")->isEnabled());
    QVERIFY(Hijo<QLabel>(*ventana, "Lbl_Fin")->isHidden());
    // La guía llega entera, con los espacios al final de línea y el último salto.
    QCOMPARE(Hijo<QPlainTextEdit>(*ventana, "Text1")->toPlainText(),
             QString::fromUtf8(kTextoAyuda).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    auto* barra = Hijo<BarraEstado>(*ventana, "sbStatusBar");
    const QLocale local = QLocale::system();
    QCOMPARE(barra->Panel(1)->text(), QStringLiteral("Estado"));
    const auto corto = [&local](const auto& fecha_u_hora) {
      return local.toString(fecha_u_hora, QLocale::ShortFormat);
    };
    QVERIFY(QStringList({corto(antes.date()), corto(despues.date())})
                .contains(barra->Panel(2)->text()));
    QVERIFY(QStringList({corto(antes.time()), corto(despues.time())})
                .contains(barra->Panel(3)->text()));
    QVERIFY(!QFile::exists(QStringLiteral("Brun_Kqt.ini")));
  }

  void ayudaOcultaAlInicioTrasTildarLaCasilla() {
    {
      auto ventana = Abrir();
      ClickCasilla(*ventana);
      QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Mostrar", ""), std::string("1"));
      Click(*ventana, "Cmd_Salir");
    }
    auto ventana = Abrir();
    auto* conectar = Hijo<QPushButton>(*ventana, "CmdConect");
    QCOMPARE(Hijo<QGroupBox>(*ventana, "Frame2")->x(), Twips(5600, ventana.get()));
    QCOMPARE(Visible(*ventana, conectar), conectar);
    Click(*ventana, "CmdHelp");
    QVERIFY(AyudaVisible(*ventana));
    Click(*ventana, "CmdCerrar");
    QCOMPARE(Visible(*ventana, conectar), conectar);
    ClickCasilla(*ventana);
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Mostrar", ""), std::string("0"));
  }

  void cierreSinSalirRechazado() {
    Ajustes::DeLaCarpetaActual().EscribirIni("Global", "Comm", 2L);
    auto ventana = Abrir();
    Hijo<QComboBox>(*ventana, "ListaPuerto")->setCurrentIndex(4);
    QSignalSpy fin(ventana.get(), &frm_Carga::Salida);
    const QByteArray antes = ArchivoAjustes();
    QString texto, titulo;
    QMessageBox::Icon icono = QMessageBox::Critical;
    qsizetype botones = 0;
    QWidget* duena = nullptr;
    {
      QObject paso;
      AtenderCaja(&paso, [&](QMessageBox* caja) {
        texto = caja->text();
        titulo = caja->windowTitle();
        icono = caja->icon();
        botones = caja->buttons().size();
        duena = caja->parentWidget();
        caja->button(QMessageBox::Ok)->click();
      });
      QVERIFY(!ventana->close());
    }
    QCOMPARE(texto, QString::fromUtf8("Debe utilizar el botón SALIR\r\r Para cerrar su sesión"));
    QCOMPARE(titulo, QStringLiteral("Brun_Kesta"));
    QCOMPARE(icono, QMessageBox::NoIcon);
    QCOMPARE(botones, 1);
    QCOMPARE(duena, ventana.get());
    QVERIFY(ventana->isVisible());
    QCOMPARE(fin.count(), 0);
    QCOMPARE(ArchivoAjustes(), antes);
  }

  void salirGuardaLasEleccionesYTermina() {
    {
      auto ventana = Abrir();
      QTest::keyClick(Hijo<QComboBox>(*ventana, "ListaPuerto"), Qt::Key_Down);
      QTest::keyClick(Hijo<QComboBox>(*ventana, "ListaPuerto"), Qt::Key_Down);
      QTest::keyClick(Hijo<QComboBox>(*ventana, "ListaBaudios"), Qt::Key_Up);
      Hijo<QScrollBar>(*ventana, "HScrollId0")->setValue(17);
      QSignalSpy fin(ventana.get(), &frm_Carga::Salida);
      QApplication::setOverrideCursor(Qt::WaitCursor);
      QApplication::setOverrideCursor(Qt::WaitCursor);
      Click(*ventana, "Cmd_Salir");
      QCOMPARE(fin.count(), 1);
      QCOMPARE(QApplication::overrideCursor(), nullptr);
      const QByteArray guardado = ArchivoAjustes();
      QVERIFY(guardado.contains("Comm=3.") && guardado.contains("Baudios=2."));
      QVERIFY(guardado.contains("ID_1=17."));
    }
    auto ventana = Abrir();
    QCOMPARE(Hijo<QComboBox>(*ventana, "ListaPuerto")->currentText(), QStringLiteral("Com3"));
    QCOMPARE(Hijo<QComboBox>(*ventana, "ListaBaudios")->currentText(), QStringLiteral("4800"));
    QCOMPARE(Hijo<QLabel>(*ventana, "LabelId0")->text(), QStringLiteral("17"));
  }

  // Lo que no es un número o queda fuera de rango vale como ausente. `muestra` es lo que la
  // ventana muestra de esa clave: la casilla (0/1), el ID, el puerto (1-255) o la velocidad (0-3).
  void valoresGuardados_data() {
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("guardado");
    QTest::addColumn<int>("muestra");
    const struct {
      const char* clave;
      const char* guardado;
      int muestra;
    } casos[] = {{"Mostrar", "2", 0},  {"Mostrar", "si", 0}, {"ID_1", "0", 0},
                 {"ID_1", "256", 1},   {"ID_1", "-1", 1},    {"ID_1", "", 1},
                 {"ID_1", "65553", 1}, {"Comm", "12", 12},   {"Comm", "255", 255},
                 {"Comm", "256", 1},   {"Comm", "-1", 1},    {"Baudios", "4", 3},
                 {"Baudios", "-2", 3}, {"Baudios", "2.5", 3}};
    for (const auto& caso : casos) {
      QTest::addRow("%s=%s", caso.clave, caso.guardado)
          << QString::fromLatin1(caso.clave) << QString::fromLatin1(caso.guardado) << caso.muestra;
    }
  }

  void valoresGuardados() {
    QFETCH(QString, clave);
    QFETCH(QString, guardado);
    QFETCH(int, muestra);
    Ajustes::DeLaCarpetaActual().EscribirIni("Global", clave.toStdString(), guardado.toStdString());
    auto ventana = Abrir();
    const QMap<QString, int> muestras = {
        {"Mostrar", Hijo<QCheckBox>(*ventana, "Chk_inicio")->isChecked() ? 1 : 0},
        {"ID_1", Hijo<QLabel>(*ventana, "LabelId0")->text().toInt()},
        {"Comm", Hijo<QComboBox>(*ventana, "ListaPuerto")->currentIndex() + 1},
        {"Baudios", Hijo<QComboBox>(*ventana, "ListaBaudios")->currentIndex()}};
    QCOMPARE(muestras.value(clave), muestra);
    QCOMPARE(AyudaVisible(*ventana), muestras.value("Mostrar") == 0);
  }

  // Un adaptador USB sin clave en [Puertos] toma el número siguiente a los asignados; elegido y
  // con "Salir", su nombre estable queda en [Puertos] y el número es suyo en el próximo inicio.
  void adaptadorNuevoQuedaConSuNumero() {
    const QString porId = carpeta_->filePath(QStringLiteral("by-id"));
    QVERIFY(QDir().mkdir(porId));
    const std::string adaptador =
        (porId + QStringLiteral("/usb-ACME_USB_Serie_A1-if00")).toStdString();
    QFile(QString::fromStdString(adaptador)).open(QIODevice::WriteOnly);
    Ajustes::DeLaCarpetaActual().EscribirIni("Puertos", "Com10", "/dev/ttyS3");
    const PuertosPc pc{{}, AdaptadoresEn(porId.toStdString())};
    Ecos ecos;
    {
      frm_Carga ventana(Ajustes::DeLaCarpetaActual(), ecos, nullptr, nullptr, pc);
      auto* lista = Hijo<QComboBox>(ventana, "ListaPuerto");
      QCOMPARE(lista->count(), 11);
      lista->setCurrentIndex(10);
      Click(ventana, "Cmd_Salir");
    }
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Puertos", "Com11", ""), adaptador);
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Comm", ""), std::string("11"));
    frm_Carga ventana(Ajustes::DeLaCarpetaActual(), ecos, nullptr, nullptr, pc);
    QCOMPARE(Hijo<QComboBox>(ventana, "ListaPuerto")->count(), 11);
    QCOMPARE(Hijo<QComboBox>(ventana, "ListaPuerto")->currentText(), QStringLiteral("Com11"));
  }

  void listasSinEleccion() {
    Ajustes::DeLaCarpetaActual().EscribirIni("Global", "Comm", 0L);
    Ajustes::DeLaCarpetaActual().EscribirIni("Global", "Baudios", -1L);
    auto ventana = Abrir();
    QCOMPARE(Hijo<QComboBox>(*ventana, "ListaPuerto")->currentIndex(), -1);
    QCOMPARE(Hijo<QComboBox>(*ventana, "ListaBaudios")->currentIndex(), -1);
    Click(*ventana, "Cmd_Salir");
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Comm", ""), std::string("0"));
    QCOMPARE(Ajustes::DeLaCarpetaActual().LeerIni("Global", "Baudios", ""), std::string("-1"));
  }

  // Las teclas de una barra horizontal de Windows: izquierda, arriba y RePág bajan; derecha,
  // abajo y AvPág suben; Inicio y Fin van a los extremos.
  void teclasDeLaBarraDelId_data() {
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QString>("id");
    QTest::newRow("izquierda") << int(Qt::Key_Left) << "99";
    QTest::newRow("arriba") << int(Qt::Key_Up) << "99";
    QTest::newRow("RePag") << int(Qt::Key_PageUp) << "84";
    QTest::newRow("derecha") << int(Qt::Key_Right) << "101";
    QTest::newRow("abajo") << int(Qt::Key_Down) << "101";
    QTest::newRow("AvPag") << int(Qt::Key_PageDown) << "116";
    QTest::newRow("Inicio") << int(Qt::Key_Home) << "0";
    QTest::newRow("Fin") << int(Qt::Key_End) << "255";
  }
  void teclasDeLaBarraDelId() {
    QFETCH(int, tecla);
    QFETCH(QString, id);
    Ajustes::DeLaCarpetaActual().EscribirIni("global", "ID_1", 100L);
    auto ventana = Abrir();
    QTest::keyClick(Hijo<QScrollBar>(*ventana, "HScrollId0"), static_cast<Qt::Key>(tecla));
    QCOMPARE(Hijo<QLabel>(*ventana, "LabelId0")->text(), id);
  }

  void indicadorSigueAlId() {
    auto ventana = Abrir();
    auto* barra = Hijo<QScrollBar>(*ventana, "HScrollId0");
    auto* indicador = Hijo<QLabel>(*ventana, "LabelId0");
    // Mientras se arrastra el cursor el indicador no cambia; al soltarlo, sí.
    barra->setSliderDown(true);
    barra->setSliderPosition(100);
    QCOMPARE(indicador->text(), QStringLiteral("1"));
    barra->setSliderDown(false);
    QCOMPARE(indicador->text(), QStringLiteral("100"));
  }

  // Intro, también la del teclado numérico, pulsa el botón que tiene el foco.
  void introPulsaElBotonConFoco() {
    auto ventana = Abrir();
    QVERIFY(QTest::qWaitForWindowActive(ventana.get()));
    TeclaEn(*ventana, "CmdCerrar", Qt::Key_Return);
    QVERIFY(!AyudaVisible(*ventana));
    TeclaEn(*ventana, "CmdHelp", Qt::Key_Enter);
    QVERIFY(AyudaVisible(*ventana));
    TeclaEn(*ventana, "CmdCerrar", Qt::Key_Enter);
    QVERIFY(!AyudaVisible(*ventana));
    QSignalSpy fin(ventana.get(), &frm_Carga::Salida);
    TeclaEn(*ventana, "Cmd_Salir", Qt::Key_Return);
    QCOMPARE(fin.count(), 1);
  }

  // "Comunicando" con la letra de la ventana principal, no con la del escritorio.
  void comunicandoConLaLetraDeLaVentana() {
    auto ventana = Abrir();
    FrmComm dialogo(ventana.get());
    QCOMPARE(ventana->font().pointSizeF(), 8.25);
    QCOMPARE(dialogo.font(), ventana->font());
    for (const char* control : {"Label1", "CmdCancel"})
      QCOMPARE(Hijo<QWidget>(dialogo, control)->font(), ventana->font());
    QVERIFY(dialogo.font() != QApplication::font());
  }

  void dialogoDeArchivosEnCastellano() {
    QVERIFY(QDir().mkpath(QStringLiteral("ticket")));
    auto ventana = Abrir();
    Hijo<QPushButton>(*ventana, "CmdBuscar")->setEnabled(true);  // como tras conectar
    QStringList textos, caja;
    AtenderDialogoArchivos(ventana.get(), [&textos, &caja](QFileDialog* dialogo) {
      textos = TextosDelDialogo(*dialogo);
      // Un nombre que no existe: el diálogo lo rechaza con una caja suya.
      AtenderCaja(dialogo, [&caja](QMessageBox* aviso) {
        caja << aviso->text();
        for (const QAbstractButton* boton : aviso->buttons()) caja << boton->text();
        aviso->buttons().constFirst()->click();
      });
      dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("no_existe.txt");
      QMetaObject::invokeMethod(dialogo, "accept");
      dialogo->reject();
    });
    Click(*ventana, "CmdBuscar");
    QCOMPARE(textos,
             QStringList({"&Abrir", "&Nombre de archivo:", "Abrir", "Archivos de Texto",
                          "Archivos de tipo:", "Atrás", "Cancelar", "Crear nueva carpeta",
                          "Directorio superior", "Nombre", "Siguiente", "Tamaño", "Tipo",
                          "Ver en:", "Vista de lista", "Vista detallada", "Última modificación"}));
    QCOMPARE(caja, QStringList({"no_existe.txt\nArchivo no encontrado.\nVerifique que el nombre "
                                "del archivo es correcto.",
                                "Aceptar"}));
  }

  // El catálogo de Qt se busca primero junto al programa y después en la instalación de Qt.
  void catalogoJuntoAlProgramaPrimero() {
    const QString deQt =
        QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath("qtbase_es.qm");
    QTemporaryDir programa;
    QVERIFY(QFile::copy(deQt, programa.filePath("qtbase_es.qm")));
    QCOMPARE(TraducirQt(programa.path()), programa.filePath("qtbase_es.qm"));
    QTemporaryDir vacia;
    QCOMPARE(TraducirQt(vacia.path()), deQt);
  }

  void ordenDeTabulacion() {
    auto ventana = Abrir();
    Hijo<QPushButton>(*ventana, "CmdBuscar")->setEnabled(true);
    Hijo<QPushButton>(*ventana, "CmdSubir")->setEnabled(true);
    QVERIFY(QTest::qWaitForWindowActive(ventana.get()));
    QStringList recorrido;
    for (int paso = 0; paso < 12 && QApplication::focusWidget() != nullptr; ++paso) {
      recorrido << QApplication::focusWidget()->objectName();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(recorrido, QStringList({"CmdConect", "CmdSubir", "CmdBuscar", "Cmd_Salir",
                                     "ListaPuerto", "ListaBaudios", "HScrollId0", "CmdHelp",
                                     "CmdCerrar", "Text1", "Chk_inicio", "CmdConect"}));
  }

 private:
  std::unique_ptr<QTemporaryDir> carpeta_;
  QString anterior_;
};

QTEST_MAIN(PruebaVentana)
#include "frm_carga_test.moc"

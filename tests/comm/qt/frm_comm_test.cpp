#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "FrmComm.h"
#include "entorno_prueba.h"
#include "traza.h"

using namespace comm;

namespace {

// Ocho registros 26..33 con bytes que un puerto mal configurado no dejaría pasar.
const std::vector<std::pair<int, int>> kRegistros = {
    {26, 0x4241}, {27, 0x00FF}, {28, 0x1311}, {29, 0x0000},
    {30, 0xFF80}, {31, 0x0A0D}, {32, 0x7E01}, {33, 0x2020},
};

QStringList ConRegistros(QStringList argumentos) {
  for (const auto& [registro, valor] : kRegistros) {
    argumentos << "--registro" << QString("%1=%2").arg(registro).arg(valor);
  }
  return argumentos;
}

std::string BytesDeRegistros() {
  std::string bytes;
  for (const auto& par : kRegistros) {
    bytes.push_back(static_cast<char>(par.second & 0xFF));
    bytes.push_back(static_cast<char>(par.second >> 8));
  }
  return bytes;
}

std::string BloqueSetup() {
  std::string bloque;
  for (int i = 0; i < 90; ++i) bloque.push_back(static_cast<char>(i * 37 + 5));
  return bloque;
}

std::string Membrete() {
  std::string texto = "BASCULAS DEL SUR\r\nRUT 76.123.456-7";
  texto += std::string("\0\x11\x13\xFF\x80", 5);
  texto.resize(75, '*');
  return texto;
}

QString Estado(const FrmComm& dlg) {
  return dlg.findChild<QLabel*>("Label1")->text();
}
int Barra(const FrmComm& dlg) {
  return dlg.findChild<QProgressBar*>("ProgBar")->value();
}

std::string Leer(int direccion, int registros) {
  FrmComm dlg;
  Apuntar(dlg, kSeleccionDePrueba);
  dlg.xFnc = "R";
  dlg.xDire = std::to_string(direccion);
  dlg.xLong = std::to_string(registros);
  dlg.exec();
  return dlg.xDato;
}

}  // namespace

class FrmCommTest : public QObject {
  Q_OBJECT

 private slots:
  void leeYLuegoEnviaUnaOrdenConElMismoObjeto() {
    Simulador indicador(ConRegistros(
        {"--setup", QString::fromLatin1(QByteArray::fromStdString(BloqueSetup()).toHex())}));
    QVERIFY(!indicador.Pty().isEmpty());
    CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));

    FrmComm dlg;

    Apuntar(dlg, kSeleccionDePrueba);
    dlg.xFnc = "R";
    dlg.xDire = "26";
    dlg.xLong = "8";
    dlg.xText = "Leyendo registros";
    dlg.exec();
    QVERIFY(dlg.xOK);
    QCOMPARE(dlg.xDato, BytesDeRegistros());
    QCOMPARE(Estado(dlg), QString("Leyendo registros"));
    QCOMPARE(dlg.Comm1().Settings(), std::string("9600,n,8,1"));
    QVERIFY(!dlg.Comm1().PortOpen());

    dlg.xFnc = "C";
    dlg.xDato = "M";
    dlg.exec();
    QCOMPARE(dlg.xDato, BloqueSetup());
    QVERIFY(dlg.xOK);
    QCOMPARE(Estado(dlg), QString("Enviando datos..."));
    QCOMPARE(Barra(dlg), 100);
    QVERIFY(!dlg.Comm1().PortOpen());
  }

  void escribeElMembreteSinTocarLosCampos() {
    Simulador indicador;
    QVERIFY(!indicador.Pty().isEmpty());
    CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));

    FrmComm dlg;

    Apuntar(dlg, kSeleccionDePrueba);
    dlg.xFnc = "T";
    dlg.xDire = "26";
    dlg.xDato = Membrete();
    dlg.exec();
    QVERIFY(dlg.xOK);
    QCOMPARE(dlg.xDato, Membrete());
    QCOMPARE(dlg.xDire, std::string("26"));
    QCOMPARE(Leer(26, 38), Membrete() + '\0');
  }

  // Fallan sin enviar nada, así que tampoco esperan respuesta (cuánto tardan lo mide el banco
  // de pruebas).
  void pedidosQueNoSePuedenFormarFallanSinEnviarNada() {
    Maestro indicador;
    CarpetaDeTrabajo carpeta("[Puertos]\r\nCom1=" + QFile::encodeName(indicador.Esclavo()) +
                             ".\r\n");
    for (const auto& [fnc, dire, largo] :
         {std::tuple("R", "", "8"), std::tuple("R", "26", "ocho"), std::tuple("R", "70000", "1"),
          std::tuple("T", "x", "")}) {
      FrmComm dlg;
      Apuntar(dlg, kSeleccionDePrueba);
      dlg.xFnc = fnc;
      dlg.xDire = dire;
      dlg.xLong = largo;
      dlg.xDato = "AB";
      dlg.xOK = true;
      dlg.exec();
      QVERIFY2(!dlg.xOK, fnc);
      QVERIFY2(dlg.Comm1().Dispositivo() == indicador.Esclavo().toStdString(), fnc);
    }
    QCOMPARE(indicador.Pendientes(), std::size_t{0});
  }

  void tomaElPuertoDeLaPeticion() {
    CarpetaDeTrabajo carpeta("[Puertos]\r\nCom5=/dev/ninguno.\r\n");
    FrmComm dlg;
    dlg.xFnc = "r";  // no es una petición: solo abre y cierra el puerto
    dlg.xOK = true;
    Apuntar(dlg, {5, 0, 1});
    dlg.exec();
    QCOMPARE(dlg.Comm1().CommPort(), 5L);
    QCOMPARE(dlg.Comm1().Settings(), std::string("1200,n,8,1"));
    QCOMPARE(dlg.Comm1().Dispositivo(), std::string("/dev/ninguno"));
    QVERIFY(dlg.xOK);
    QCOMPARE(Barra(dlg), 100);

    // Una elección que no sirve deja lo que había.
    for (const Seleccion mala : {Seleccion{0, -1, 1}, Seleccion{256, 5, 1}}) {
      Apuntar(dlg, mala);
      dlg.exec();
      QCOMPARE(dlg.Comm1().CommPort(), 5L);
      QCOMPARE(dlg.Comm1().Settings(), std::string("1200,n,8,1"));
    }
  }

  // La traza dice qué puerto se abrió y a qué velocidad, o por qué no se pudo.
  void laTrazaAnotaLaAperturaDelPuerto() {
    struct : Traza {
      std::vector<std::string> lineas;
      void Anotar(const std::string& suceso) override { lineas.push_back(suceso); }
    } traza;
    Simulador indicador;
    QVERIFY(!indicador.Pty().isEmpty());
    CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));
    FrmComm dlg;
    Apuntar(dlg, kSeleccionDePrueba);
    dlg.traza = &traza;
    dlg.xFnc = "T";
    dlg.xDire = "26";
    dlg.xDato = "AB";
    dlg.exec();
    QVERIFY(dlg.xOK);
    QCOMPARE(traza.lineas.size(), std::size_t{3});
    const std::string respuesta = traza.lineas.back();
    traza.lineas.pop_back();
    QCOMPARE(traza.lineas, (std::vector<std::string>{
                               "abre " + indicador.Pty().toStdString() + " a 9600 baudios",
                               "-> 01 06 00 1A 42 41 58 9D  intento 1 de 3",
                           }));
    QVERIFY2(std::regex_match(respuesta,
                              std::regex("<- 01 06 00 1A 42 41 58 9D  aceptada, a los \\d+ ms")),
             respuesta.c_str());

    carpeta.Ajustes("[Puertos]\r\nCom5=/dev/ninguno.\r\n");
    traza.lineas.clear();
    dlg.xFnc = "r";
    Apuntar(dlg, {5, 3, 1});
    dlg.exec();
    QCOMPARE(traza.lineas,
             std::vector<std::string>{"no se pudo abrir /dev/ninguno: el puerto no existe"});

    // El adaptador se quita tras el primer registro: la traza lo dice una vez.
    const QString enlace = carpeta.Ruta("adaptador");
    Simulador quitado({"--enlace", enlace, "--desenchufar-tras", "1"});
    carpeta.Ajustes(AjustesHacia(enlace));
    traza.lineas.clear();
    dlg.xFnc = "T";
    dlg.xDato = "ABCD";
    Apuntar(dlg, kSeleccionDePrueba);
    dlg.exec();
    QVERIFY(!dlg.xOK);
    QCOMPARE(std::count(traza.lineas.begin(), traza.lineas.end(),
                        "se perdió el puerto: el adaptador se quitó o dejó de responder"),
             1);
  }

  void cancelarTerminaLaEscritura_data() {
    QTest::addColumn<QString>("como");
    QTest::newRow("boton") << "boton";
    QTest::newRow("marco") << "marco";
    QTest::newRow("escape") << "escape";
    QTest::newRow("intro") << "intro";
  }
  void cancelarTerminaLaEscritura() {
    QFETCH(QString, como);
    Simulador indicador({"--retardo", "40"});
    QVERIFY(!indicador.Pty().isEmpty());
    CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));

    FrmComm dlg;

    Apuntar(dlg, kSeleccionDePrueba);
    dlg.xFnc = "T";
    dlg.xDire = "26";
    dlg.xDato = Membrete();
    bool seguiaAbierto = false;
    // Se cancela con la escritura en marcha: un plazo contado desde antes de mostrar el diálogo
    // podría vencer antes de que empiece, en una máquina cargada.
    QTimer enMarcha;
    enMarcha.start(10);
    QObject::connect(&enMarcha, &QTimer::timeout, &dlg, [&] {
      if (Barra(dlg) == 0) return;
      enMarcha.stop();
      if (como == "boton")
        QTest::mouseClick(dlg.findChild<QPushButton*>("CmdCancel"), Qt::LeftButton);
      if (como == "marco") dlg.close();
      if (como == "escape") QTest::keyClick(&dlg, Qt::Key_Escape);
      // Como en Windows, Intro pulsa el botón que tiene el foco, el único: "Cancelar".
      QWidget* foco = QApplication::focusWidget();
      if (como == "intro" && foco == dlg.findChild<QPushButton*>("CmdCancel"))
        QTest::keyClick(foco, Qt::Key_Return);
      seguiaAbierto = dlg.isVisible();
    });
    dlg.exec();
    QVERIFY(seguiaAbierto);
    QVERIFY(!dlg.xOK);
    QVERIFY(dlg.xCancel);

    const std::string escrito = Leer(26, 38);
    QCOMPARE(escrito.substr(0, 2), Membrete().substr(0, 2));
    QCOMPARE(escrito.substr(74), std::string(2, '\0'));
  }

  void unPuertoQueDesapareceFallaYQuedaCerrado() {
    Simulador indicador({"--cerrar-tras", "3"});
    QVERIFY(!indicador.Pty().isEmpty());
    CarpetaDeTrabajo carpeta(AjustesHacia(indicador.Pty()));

    FrmComm dlg;

    Apuntar(dlg, kSeleccionDePrueba);
    dlg.xFnc = "T";
    dlg.xDire = "26";
    dlg.xDato = "0123456789";
    dlg.exec();
    // El tiempo y el procesador que cuesta lo mide el banco de pruebas.
    QVERIFY(!dlg.xOK);
    QVERIFY(!dlg.Comm1().PortOpen());
  }
};

QTEST_MAIN(FrmCommTest)
#include "frm_comm_test.moc"

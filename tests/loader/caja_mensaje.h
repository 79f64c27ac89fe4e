#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Espera la próxima ventana modal de tipo `Modal` (mirando cada 10 ms) y le aplica `accion`
// una sola vez. El reloj muere con `contexto`, así no alcanza a la ventana de un paso posterior.
template <typename Modal>
void AtenderModal(QObject* contexto, std::function<void(Modal*)> accion) {
  auto* reloj = new QTimer(contexto);
  QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, accion] {
    auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
    if (modal == nullptr) return;
    reloj->stop();
    reloj->deleteLater();
    accion(modal);
  });
  reloj->start(10);
}

// La próxima caja de mensaje.
inline void AtenderCaja(QObject* contexto, std::function<void(QMessageBox*)> accion) {
  AtenderModal<QMessageBox>(contexto, std::move(accion));
}

// El próximo diálogo de archivos. Siempre el de Qt: uno del escritorio no se deja manejar
// desde la prueba.
inline void AtenderDialogoArchivos(QObject* contexto, std::function<void(QFileDialog*)> accion) {
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  AtenderModal<QFileDialog>(contexto, std::move(accion));
}

// Responde al próximo diálogo de archivos con `archivo`, o lo cancela si `archivo` está vacío.
inline void ElegirArchivo(QObject* contexto, const QString& archivo) {
  AtenderDialogoArchivos(contexto, [archivo](QFileDialog* dialogo) {
    if (archivo.isEmpty()) return dialogo->reject();
    dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(archivo);
    QMetaObject::invokeMethod(dialogo, "accept");
  });
}

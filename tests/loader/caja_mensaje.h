#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Espera la próxima caja de mensaje modal (mirando cada 10 ms) y le aplica `accion` una sola
// vez. El reloj muere con `contexto`, así no alcanza a la caja de un paso posterior.
inline void AtenderCaja(QObject* contexto, std::function<void(QMessageBox*)> accion) {
  auto* reloj = new QTimer(contexto);
  QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, accion] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (caja == nullptr) return;
    reloj->stop();
    reloj->deleteLater();
    accion(caja);
  });
  reloj->start(10);
}

// Responde al próximo diálogo de archivos con `archivo`, o lo cancela si `archivo` está vacío.
inline void ElegirArchivo(QObject* contexto, const QString& archivo) {
  auto* reloj = new QTimer(contexto);
  QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, archivo] {
    auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialogo == nullptr) return;
    reloj->stop();
    reloj->deleteLater();
    if (archivo.isEmpty()) return dialogo->reject();
    dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(archivo);
    QMetaObject::invokeMethod(dialogo, "accept");
  });
  reloj->start(10);
}

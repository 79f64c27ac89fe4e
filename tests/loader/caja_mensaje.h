#pragma once

#include <QApplication>
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

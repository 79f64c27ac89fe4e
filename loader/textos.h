#pragma once

#include <iterator>

#include "velocidades.h"

namespace carga {

// Los textos de las ventanas, una sola vez para todas las plataformas (UTF-8).
namespace textos {

inline constexpr char kTitulo[] = "Brun - Kesta";
inline constexpr char kTituloPrograma[] = "Brun_Kesta";
inline constexpr char kAyuda[] = "Ayuda";
inline constexpr char kNoMostrar[] = "No mostrar al inicio";
inline constexpr char kCerrar[] = "Cerrar";
inline constexpr char kEncabezado[] = "Cargador de Membrete para Kesta";
inline constexpr char kSerie[] = "Comunicación con Indicador";
inline constexpr char kEtiquetaId[] = "ID (Indicador):";
inline constexpr char kPuerto[] = "Puerto:";
inline constexpr char kBaudios[] = "Baudios:";
inline constexpr char kSalir[] = "Salir";
inline constexpr char kFin[] = "FINALIZADO con EXITO";
inline constexpr char kErrorCarga[] = "Error al cargar el Ticket";
inline constexpr char kConectar[] = "Conectar Kesta";
inline constexpr char kBuscar[] = "Buscar Archivo";
inline constexpr char kSubir[] = "Subir a Indicador";
inline constexpr char kEstado[] = "Estado";
inline constexpr const char* kVelocidades[] = {comm::kVelocidades[0], comm::kVelocidades[1],
                                               comm::kVelocidades[2], comm::kVelocidades[3]};
static_assert(std::size(kVelocidades) == comm::kVelocidadesVentana);

// Diálogo "Comunicando".
inline constexpr char kComunicando[] = "Comunicando";
inline constexpr char kEnviando[] = "Enviando datos...";
inline constexpr char kCancelar[] = "Cancelar";

// Diálogo de archivos: una sola entrada de filtro.
inline constexpr char kFiltroNombre[] = "Archivos de Texto";
inline constexpr char kFiltroPatron[] = "*.txt";
inline constexpr char kCarpetaMembretes[] = "ticket";

}  // namespace textos

}  // namespace carga

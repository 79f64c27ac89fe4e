// Las ventanas de Windows, manejadas como lo haría el operador: teclas, clics y cajas de mensaje.
// Hablan con un puerto falso que devuelve el eco de cada escritura.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "FrmComm.h"
#include "ecos.h"
#include "frm_Carga.h"
#include "puerto_control.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

namespace fs = std::filesystem;

// Devuelve al instante el eco de cada escritura de un registro (función 6, 8 bytes).
class PuertoEco : public PuertoControl {
 public:
  std::vector<std::string> escritos;
  std::function<void()> alEscribir;  // durante la petición, tras cada trama

  bool SetCommPort(long) override { return true; }
  bool SetDispositivo(const std::string&) override { return true; }
  bool SetSettings(const std::string&) override { return true; }
  bool SetHandshaking(int) override { return true; }
  bool SetRTSEnable(bool) override { return true; }
  bool PortOpen() const override { return abierto_; }
  bool SetPortOpen(bool abrir) override {
    abierto_ = abrir;
    return true;
  }
  std::string ErrorApertura() const override { return {}; }

  std::string Input() override { return std::exchange(recibido_, {}); }
  void Output(const std::string& datos) override {
    escritos.push_back(datos);
    if (datos.size() == 8 && datos[1] == 6) recibido_ += datos;
    if (alEscribir) alEscribir();
  }
  std::size_t InBufferCount() override { return recibido_.size(); }
  void Esperar(std::size_t, Reloj::time_point) override {}
  Reloj::time_point Ahora() override { return Reloj::now(); }
  Reloj::time_point UltimaRecepcion() override { return {}; }
  long Baudios() override { return 0; }

 private:
  bool abierto_ = false;
  std::string recibido_;
};

std::wstring Texto(HWND ventana) {
  std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(ventana)) + 1, L'\0');
  texto.resize(static_cast<std::size_t>(
      GetWindowTextW(ventana, texto.data(), static_cast<int>(texto.size()))));
  return texto;
}

// Los controles de `raiz` de la clase dada, en el orden en que se crearon.
std::vector<HWND> Hijos(HWND raiz, const wchar_t* clase) {
  struct Busqueda {
    const wchar_t* clase;
    std::vector<HWND> hallados;
  } busqueda{clase, {}};
  EnumChildWindows(
      raiz,
      [](HWND hijo, LPARAM datos) {
        auto* b = reinterpret_cast<Busqueda*>(datos);
        wchar_t nombre[64];
        GetClassNameW(hijo, nombre, 64);
        if (lstrcmpiW(nombre, b->clase) == 0) b->hallados.push_back(hijo);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&busqueda));
  return busqueda.hallados;
}

// El control de ese texto; los recuadros de los marcos (Frame2 dice "Ayuda") no cuentan.
HWND Control(HWND raiz, const wchar_t* clase, const std::wstring& texto) {
  for (HWND hijo : Hijos(raiz, clase)) {
    const bool recuadro = (GetWindowLongW(hijo, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
                          lstrcmpiW(clase, L"Button") == 0;
    if (!recuadro && Texto(hijo) == texto) return hijo;
  }
  return nullptr;
}

int Izquierda(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  POINT punto{rect.left, rect.top};
  ScreenToClient(GetParent(control), &punto);
  return punto.x;
}

// Cierra con Aceptar la próxima caja de mensaje y anota su título y su texto.
struct Caja {
  static inline std::wstring titulo;
  static inline std::wstring texto;

  static void CerrarLaProxima() {
    titulo.clear();
    texto.clear();
    SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
      HWND caja = FindWindowW(L"#32770", nullptr);
      if (!caja) return;
      KillTimer(nullptr, id);
      titulo = Texto(caja);
      texto = Texto(GetDlgItem(caja, 0xFFFF));
      PostMessageW(caja, WM_COMMAND, IDOK, 0);
    });
  }
};

MSG Tecla(HWND control, WPARAM tecla) {
  return MSG{control, WM_KEYDOWN, tecla, 0, 0, {}};
}

class VentanasWin : public testing::Test {
 protected:
  void SetUp() override {
    carpeta_ =
        fs::temp_directory_path() / ("ventanas_win_" + std::to_string(GetCurrentProcessId()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(carpeta_);
    anterior_ = fs::current_path();
    fs::current_path(carpeta_);
  }

  void TearDown() override {
    ventana_.reset();
    fs::current_path(anterior_);
    std::error_code ec;
    fs::remove_all(carpeta_, ec);
  }

  void Abrir() {
    ventana_ = std::make_unique<frm_Carga>(puerto_, ::Ajustes(carpeta_), ecos_);
    ventana_->Mostrar(SW_SHOW);
    principal_ = FindWindowW(L"frm_Carga", nullptr);
  }

  HWND Boton(const char* texto) const { return Control(principal_, L"Button", Ancho(texto)); }
  HWND Barra() const { return Hijos(principal_, L"ScrollBar").at(0); }
  HWND EtiquetaId() const { return Control(principal_, L"Static", Ancho(std::to_string(Id()))); }
  int Id() const { return GetScrollPos(Barra(), SB_CTL); }
  HWND Ayuda() const { return GetParent(Boton("Cerrar")); }

  std::string Ajustes() const {
    std::ifstream entrada(carpeta_ / "Brun_Kqt.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(entrada), {});
  }

  fs::path carpeta_;
  fs::path anterior_;
  PuertoEco puerto_;
  Ecos ecos_;
  std::unique_ptr<frm_Carga> ventana_;
  HWND principal_ = nullptr;
};

TEST_F(VentanasWin, PrimerArranqueComoLaVentanaDeLinux) {
  Abrir();
  EXPECT_EQ(Texto(principal_), L"Brun - Kesta");
  RECT cliente;
  GetClientRect(principal_, &cliente);
  EXPECT_EQ(cliente.right, Px(5280));
  EXPECT_EQ(cliente.bottom, Px(4740));

  // La ayuda tapa el contenido; el foco en "Conectar Kesta".
  EXPECT_EQ(Izquierda(Ayuda()), 0);
  EXPECT_EQ(GetFocus(), Boton("Conectar Kesta"));
  EXPECT_FALSE(IsWindowEnabled(Boton("Buscar Archivo")));
  EXPECT_FALSE(IsWindowEnabled(Boton("Subir a Indicador")));
  EXPECT_FALSE(IsWindowVisible(Control(principal_, L"Static", L"FINALIZADO con EXITO")));

  EXPECT_EQ(Id(), 1);
  EXPECT_NE(EtiquetaId(), nullptr);
  const std::vector<HWND> listas = Hijos(principal_, L"ComboBox");
  ASSERT_EQ(listas.size(), 2u);
  EXPECT_EQ(SendMessageW(listas[0], CB_GETCURSEL, 0, 0), 0);  // Com1
  EXPECT_EQ(SendMessageW(listas[1], CB_GETCURSEL, 0, 0), 3);  // 9600
  EXPECT_NE(Control(principal_, L"Static", L"Versi\u00f3n 3.0.1"), nullptr);
  // Nada se guarda sin que el operador lo pida.
  EXPECT_EQ(Ajustes(), "");
}

TEST_F(VentanasWin, TabIntroYTeclasDelId) {
  Abrir();
  const std::vector<HWND> listas = Hijos(principal_, L"ComboBox");
  const HWND texto = Hijos(principal_, L"Edit").at(0);
  const HWND casilla = Boton("No mostrar al inicio");
  // Los botones deshabilitados se saltan.
  const HWND orden[] = {Boton("Salir"), listas[0],      listas[1],
                        Barra(),        Boton("Ayuda"), Boton("Cerrar"),
                        texto,          casilla,        Boton("Conectar Kesta")};
  for (HWND esperado : orden) {
    EXPECT_TRUE(ventana_->Tecla(Tecla(GetFocus(), VK_TAB)));
    EXPECT_EQ(GetFocus(), esperado);
  }

  // Intro pulsa el botón con foco.
  EXPECT_TRUE(ventana_->Tecla(Tecla(Boton("Cerrar"), VK_RETURN)));
  EXPECT_EQ(Izquierda(Ayuda()), Px(5600));
  EXPECT_TRUE(ventana_->Tecla(Tecla(Boton("Ayuda"), VK_RETURN)));
  EXPECT_EQ(Izquierda(Ayuda()), 0);
  EXPECT_FALSE(ventana_->Tecla(Tecla(listas[0], VK_RETURN)));

  // Izquierda, Arriba y Re Pág bajan el ID; Derecha, Abajo y Av Pág lo suben; la etiqueta sigue.
  const std::pair<WPARAM, int> pasos[] = {
      {VK_RIGHT, 2}, {VK_DOWN, 3},  {VK_NEXT, 19}, {VK_LEFT, 18},   {VK_UP, 17},
      {VK_PRIOR, 1}, {VK_PRIOR, 0}, {VK_END, 255}, {VK_RIGHT, 255}, {VK_HOME, 0}};
  for (const auto& [tecla, id] : pasos) {
    SendMessageW(Barra(), WM_KEYDOWN, tecla, 0);
    EXPECT_EQ(Id(), id) << "tecla " << tecla;
    EXPECT_NE(EtiquetaId(), nullptr) << "tecla " << tecla;
  }
}

TEST_F(VentanasWin, CierreRechazadoYSalirGuardaLaEleccion) {
  Abrir();
  Caja::CerrarLaProxima();
  SendMessageW(principal_, WM_CLOSE, 0, 0);
  EXPECT_EQ(Caja::titulo, L"Brun_Kesta");
  EXPECT_EQ(Caja::texto, L"Debe utilizar el bot\u00f3n SALIR\r\r Para cerrar su sesi\u00f3n");
  EXPECT_TRUE(IsWindowVisible(principal_));
  EXPECT_EQ(Ajustes(), "");

  const std::vector<HWND> listas = Hijos(principal_, L"ComboBox");
  SendMessageW(listas[0], CB_SETCURSEL, 2, 0);    // Com3
  SendMessageW(listas[1], CB_SETCURSEL, 2, 0);    // 4800
  SendMessageW(Barra(), WM_KEYDOWN, VK_NEXT, 0);  // 1 + 16
  SendMessageW(Boton("Salir"), BM_CLICK, 0, 0);

  const std::string ajustes = Ajustes();
  EXPECT_NE(ajustes.find("Comm=3."), std::string::npos) << ajustes;
  EXPECT_NE(ajustes.find("Baudios=2."), std::string::npos) << ajustes;
  EXPECT_NE(ajustes.find("ID_1=17."), std::string::npos) << ajustes;
  MSG fin;
  EXPECT_TRUE(PeekMessageW(&fin, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(VentanasWin, LaCasillaSeGuardaYOcultaLaAyudaAlArrancar) {
  Abrir();
  SendMessageW(Boton("No mostrar al inicio"), BM_CLICK, 0, 0);
  EXPECT_NE(Ajustes().find("Mostrar=1."), std::string::npos);

  ventana_.reset();
  Abrir();
  EXPECT_EQ(SendMessageW(Boton("No mostrar al inicio"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Izquierda(Ayuda()), Px(5600));
}

// Un "Comm" guardado por encima de 8 (un adaptador USB) es la elección al arrancar, y "Salir" lo
// vuelve a guardar.
TEST_F(VentanasWin, PuertoGuardadoPorEncimaDeOcho) {
  std::ofstream(carpeta_ / "Brun_Kqt.ini", std::ios::binary) << "[Global]\r\nComm=12.\r\n";
  Abrir();
  const HWND lista = Hijos(principal_, L"ComboBox").at(0);
  EXPECT_EQ(SendMessageW(lista, CB_GETCOUNT, 0, 0), 12);
  EXPECT_EQ(SendMessageW(lista, CB_GETCURSEL, 0, 0), 11);
  SendMessageW(Boton("Salir"), BM_CLICK, 0, 0);
  EXPECT_NE(Ajustes().find("Comm=12."), std::string::npos) << Ajustes();
}

// Apagar o cerrar la sesión se rechaza con la caja de todo cierre, salvo si es forzoso.
TEST_F(VentanasWin, FinDeSesionRechazadoSalvoForzoso) {
  Abrir();
  Caja::CerrarLaProxima();
  EXPECT_EQ(SendMessageW(principal_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_EQ(Caja::titulo, L"Brun_Kesta");
  EXPECT_EQ(SendMessageW(principal_, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL), TRUE);
  EXPECT_TRUE(IsWindowVisible(principal_));
}

// Una escritura de cuatro registros por "Comunicando", y la misma cortada por el operador.
TEST_F(VentanasWin, ComunicandoEscribeYSeCancelaConEscapeOConElMarco) {
  Abrir();
  const auto escribir = [&](std::function<void(HWND dialogo)> durante) {
    Peticion peticion;
    peticion.xFnc = "T";
    peticion.xDire = "26";
    peticion.xDato = "MEMBRETE";
    peticion.seleccion = Seleccion{1, 3, 1};
    puerto_.escritos.clear();
    puerto_.alEscribir = [&] {
      HWND dialogo = FindWindowW(L"FrmComm", L"Comunicando");
      EXPECT_NE(dialogo, nullptr);
      EXPECT_FALSE(IsWindowEnabled(principal_));
      if (durante && puerto_.escritos.size() == 1) durante(dialogo);
    };
    FrmComm(principal_, puerto_).Mostrar(peticion);
    EXPECT_TRUE(IsWindowEnabled(principal_));
    EXPECT_FALSE(puerto_.PortOpen());
    return peticion.xOK;
  };

  EXPECT_TRUE(escribir(nullptr));
  EXPECT_EQ(puerto_.escritos.size(), 4u);

  EXPECT_FALSE(escribir([](HWND dialogo) { PostMessageW(dialogo, WM_KEYDOWN, VK_ESCAPE, 0); }));
  EXPECT_EQ(puerto_.escritos.size(), 1u);

  EXPECT_FALSE(escribir([](HWND dialogo) { PostMessageW(dialogo, WM_CLOSE, 0, 0); }));
  EXPECT_EQ(puerto_.escritos.size(), 1u);

  // Intro sobre "Cancelar", que tiene el foco, como en un diálogo.
  EXPECT_FALSE(escribir([](HWND dialogo) {
    PostMessageW(FindWindowExW(dialogo, nullptr, L"Button", L"Cancelar"), WM_KEYDOWN, VK_RETURN, 0);
  }));
  EXPECT_EQ(puerto_.escritos.size(), 1u);
}

// "Comunicando" aparece centrado sobre la ventana principal, también para subir.
TEST_F(VentanasWin, ComunicandoCentradoSobreLaVentana) {
  Abrir();
  SetWindowPos(principal_, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT dueno{};
  RECT propio{};
  GetWindowRect(principal_, &dueno);
  puerto_.alEscribir = [&] { GetWindowRect(FindWindowW(L"FrmComm", L"Comunicando"), &propio); };
  Peticion peticion;
  peticion.xFnc = "T";
  peticion.xDire = "26";
  peticion.xDato = "AB";
  peticion.seleccion = Seleccion{1, 3, 1};
  FrmComm(principal_, puerto_).Mostrar(peticion);
  EXPECT_NEAR((propio.left + propio.right) / 2, (dueno.left + dueno.right) / 2, 1);
  EXPECT_NEAR((propio.top + propio.bottom) / 2, (dueno.top + dueno.bottom) / 2, 1);
}

}  // namespace

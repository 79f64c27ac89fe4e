// Pide a una ventana X que se cierre como lo pide el botón de cierre del marco: le manda
// WM_DELETE_WINDOW. "xdotool windowclose" destruye la ventana, que no es lo mismo.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: pedir_cierre VENTANA\n");
    return 2;
  }
  Display* pantalla = XOpenDisplay(nullptr);
  if (!pantalla) {
    std::fprintf(stderr, "pedir_cierre: no hay pantalla\n");
    return 1;
  }
  XEvent evento{};
  evento.xclient.type = ClientMessage;
  evento.xclient.window = std::strtoul(argv[1], nullptr, 0);
  evento.xclient.message_type = XInternAtom(pantalla, "WM_PROTOCOLS", False);
  evento.xclient.format = 32;
  evento.xclient.data.l[0] = static_cast<long>(XInternAtom(pantalla, "WM_DELETE_WINDOW", False));
  evento.xclient.data.l[1] = CurrentTime;
  const Status enviado = XSendEvent(pantalla, evento.xclient.window, False, NoEventMask, &evento);
  XSync(pantalla, False);
  XCloseDisplay(pantalla);
  return enviado ? 0 : 1;
}

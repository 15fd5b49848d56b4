// x11_close_window WINDOW-ID: asks an X11 client to close one of its windows
// the way a window manager's close button does, with a WM_DELETE_WINDOW
// message (the client then decides, as it does for a person's click).
// Exit code: 0 when the message was sent, 1 otherwise.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: x11_close_window WINDOW-ID\n");
    return 1;
  }
  char* end = nullptr;
  const unsigned long id = std::strtoul(argv[1], &end, 0);
  if (end == argv[1] || *end != '\0' || id == 0) {
    std::fprintf(stderr, "x11_close_window: not a window id: %s\n", argv[1]);
    return 1;
  }

  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "x11_close_window: cannot open the display\n");
    xcb_disconnect(connection);
    return 1;
  }

  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(id);
  message.type = Atom(connection, "WM_PROTOCOLS");
  message.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;

  // No event mask: the event goes to the client that created the window.
  xcb_void_cookie_t cookie =
      xcb_send_event_checked(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                             reinterpret_cast<const char*>(&message));
  xcb_generic_error_t* error = xcb_request_check(connection, cookie);
  const bool sent = error == nullptr && message.type != XCB_ATOM_NONE;
  if (error != nullptr) {
    std::fprintf(stderr, "x11_close_window: X error %d for window %s\n", error->error_code,
                 argv[1]);
    std::free(error);
  }
  xcb_disconnect(connection);
  return sent ? 0 : 1;
}

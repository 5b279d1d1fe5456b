/* A pointer for a Wayland compositor with no input devices, through wlroots' virtual-pointer
 * protocol (declared here by hand: Debian ships no XML of it). Reads lines from stdin:
 * "move X Y" (output pixels), "down", "up" (the left button); each is sent at once.
 * Usage: wl_pointer OUTPUT_WIDTH OUTPUT_HEIGHT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static const struct wl_interface* none[8];
static const struct wl_message pointer_requests[] = {
    {"motion", "uff", none}, {"motion_absolute", "uuuuu", none},
    {"button", "uuu", none}, {"axis", "uuf", none},
    {"frame", "", none},
};
static const struct wl_interface pointer_interface = {"zwlr_virtual_pointer_v1", 1, 5,
                                                      pointer_requests,          0, NULL};
static const struct wl_interface* create_types[] = {&wl_seat_interface, &pointer_interface};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", create_types}};
static const struct wl_interface manager_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, manager_requests, 0, NULL};
static struct wl_seat* seat;
static struct wl_proxy* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  (void)data, (void)version;
  if (strcmp(interface, wl_seat_interface.name) == 0)
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  else if (strcmp(interface, manager_interface.name) == 0)
    manager = wl_registry_bind(registry, name, &manager_interface, 1);
}
static void removed(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data, (void)registry, (void)name;
}

int main(int argc, char** argv) {
  static const struct wl_registry_listener listener = {global, removed};
  struct wl_display* display = wl_display_connect(NULL);
  if (argc != 3 || display == NULL)
    return fprintf(stderr, "wl_pointer: no display\n"), 2;
  wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
  wl_display_roundtrip(display);
  if (manager == NULL)
    return fprintf(stderr, "wl_pointer: no virtual-pointer protocol\n"), 2;
  struct wl_proxy* pointer =
      wl_proxy_marshal_constructor(manager, 0, &pointer_interface, seat, NULL);
  char line[64];
  unsigned x, y, time = 0;
  while (fgets(line, sizeof line, stdin) != NULL) {
    time += 10;
    if (sscanf(line, "move %u %u", &x, &y) == 2)
      wl_proxy_marshal(pointer, 1, time, x, y, atoi(argv[1]), atoi(argv[2]));
    else if (strncmp(line, "down", 4) == 0 || strncmp(line, "up", 2) == 0)
      wl_proxy_marshal(pointer, 2, time, 0x110 /* BTN_LEFT */, line[0] == 'd');
    wl_proxy_marshal(pointer, 4);
    wl_display_roundtrip(display);
  }
  wl_display_disconnect(display);
  return 0;
}

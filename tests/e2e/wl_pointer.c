/* A pointer for a compositor with no input devices, through wlroots' virtual-pointer protocol
 * (declared here: Debian has no XML of it). Lines on stdin: "move X Y" (output pixels), "down"
 * and "up" (the left button), each sent at once. Usage: wl_pointer OUTPUT_WIDTH OUTPUT_HEIGHT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static const struct wl_interface* none[2];
static const struct wl_message pointer_requests[] = {{"motion", "uff", none},
                                                     {"motion_absolute", "uuuuu", none},
                                                     {"button", "uuu", none},
                                                     {"axis", "uuf", none},
                                                     {"frame", "", none}};
static const struct wl_interface pointer = {"zwlr_virtual_pointer_v1", 1, 5,
                                            pointer_requests,          0, NULL};
static const struct wl_interface* create_types[] = {&wl_seat_interface, &pointer};
static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", create_types}};
static const struct wl_interface manager = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, manager_requests, 0, NULL};
static struct wl_proxy* bound[2]; /* the seat, the manager */

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  const struct wl_interface* wanted[] = {&wl_seat_interface, &manager};
  (void)data, (void)version;
  for (int i = 0; i < 2; ++i)
    if (strcmp(interface, wanted[i]->name) == 0)
      bound[i] = wl_registry_bind(registry, name, wanted[i], 1);
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
  if (bound[1] == NULL)
    return fprintf(stderr, "wl_pointer: no virtual-pointer protocol\n"), 2;
  struct wl_proxy* device = wl_proxy_marshal_constructor(bound[1], 0, &pointer, bound[0], NULL);
  char line[64];
  unsigned x, y, time = 0;
  while (fgets(line, sizeof line, stdin) != NULL) {
    time += 10;
    if (sscanf(line, "move %u %u", &x, &y) == 2)
      wl_proxy_marshal(device, 1, time, x, y, atoi(argv[1]), atoi(argv[2]));
    else /* BTN_LEFT, pressed or released */
      wl_proxy_marshal(device, 2, time, 0x110, strncmp(line, "down", 4) == 0);
    wl_proxy_marshal(device, 4); /* frame */
    wl_display_roundtrip(display);
  }
  return 0;
}

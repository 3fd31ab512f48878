// The Wayland tests' screenshots on kwin: its ScreenShot2 D-Bus interface
// (CaptureArea, the image written to a pipe), as a binary PPM on standard
// output. kwin must run with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1.
//   kwin_screenshot X Y WIDTH HEIGHT
#include <dbus/dbus.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The results' dictionary: only unsigned numbers are wanted.
uint32_t resultNumber(DBusMessage* reply, const char* wanted) {
    DBusMessageIter top;
    DBusMessageIter dictionary;
    if (!dbus_message_iter_init(reply, &top) || dbus_message_iter_get_arg_type(&top) != DBUS_TYPE_ARRAY) return 0;
    dbus_message_iter_recurse(&top, &dictionary);
    while (dbus_message_iter_get_arg_type(&dictionary) == DBUS_TYPE_DICT_ENTRY) {
        DBusMessageIter entry;
        DBusMessageIter variant;
        dbus_message_iter_recurse(&dictionary, &entry);
        const char* key = nullptr;
        dbus_message_iter_get_basic(&entry, &key);
        dbus_message_iter_next(&entry);
        dbus_message_iter_recurse(&entry, &variant);
        if (key && std::strcmp(key, wanted) == 0) {
            int type = dbus_message_iter_get_arg_type(&variant);
            if (type == DBUS_TYPE_UINT32 || type == DBUS_TYPE_INT32) {
                uint32_t value = 0;
                dbus_message_iter_get_basic(&variant, &value);
                return value;
            }
        }
        dbus_message_iter_next(&dictionary);
    }
    return 0;
}

void appendEmptyOptions(DBusMessageIter& arguments) {
    DBusMessageIter options;
    dbus_message_iter_open_container(&arguments, DBUS_TYPE_ARRAY, "{sv}", &options);
    dbus_message_iter_close_container(&arguments, &options);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: kwin_screenshot X Y WIDTH HEIGHT\n");
        return 2;
    }
    int32_t x = std::atoi(argv[1]);
    int32_t y = std::atoi(argv[2]);
    uint32_t width = uint32_t(std::atoi(argv[3]));
    uint32_t height = uint32_t(std::atoi(argv[4]));
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get(DBUS_BUS_SESSION, &error);
    if (!bus) {
        std::fprintf(stderr, "kwin_screenshot: no session bus: %s\n", error.message);
        return 1;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return 1;
    DBusMessage* call = dbus_message_new_method_call("org.kde.KWin", "/org/kde/KWin/ScreenShot2",
                                                     "org.kde.KWin.ScreenShot2", "CaptureArea");
    DBusMessageIter arguments;
    dbus_message_iter_init_append(call, &arguments);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_INT32, &x);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_INT32, &y);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_UINT32, &width);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_UINT32, &height);
    appendEmptyOptions(arguments);
    dbus_message_iter_append_basic(&arguments, DBUS_TYPE_UNIX_FD, &pipeEnds[1]);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, 10000, &error);
    // The message holds a copy of the pipe's end: kwin's must be the last.
    dbus_message_unref(call);
    close(pipeEnds[1]);
    if (!reply) {
        std::fprintf(stderr, "kwin_screenshot: CaptureArea failed: %s\n", error.message);
        return 1;
    }
    uint32_t shotWidth = resultNumber(reply, "width");
    uint32_t shotHeight = resultNumber(reply, "height");
    uint32_t stride = resultNumber(reply, "stride");
    std::vector<uint8_t> data;
    uint8_t chunk[65536];
    for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) data.insert(data.end(), chunk, chunk + got);
    if (shotWidth == 0 || shotHeight == 0 || stride < shotWidth * 4 || data.size() < std::size_t(stride) * shotHeight) {
        std::fprintf(stderr, "kwin_screenshot: %ux%u image (stride %u) but %zu bytes\n", shotWidth, shotHeight, stride,
                     data.size());
        return 1;
    }
    // QImage's 32-bit formats: B, G, R, A in memory.
    std::string out = "P6\n" + std::to_string(shotWidth) + " " + std::to_string(shotHeight) + "\n255\n";
    for (uint32_t row = 0; row < shotHeight; ++row)
        for (uint32_t column = 0; column < shotWidth; ++column) {
            const uint8_t* pixel = &data[std::size_t(row) * stride + column * 4];
            out += char(pixel[2]);
            out += char(pixel[1]);
            out += char(pixel[0]);
        }
    fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

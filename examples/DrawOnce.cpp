// The smallest host program: start the zigzag module, drag once across the page and save the drawing.
//
//   draw_once [MODULE] [OUT.svg]
#include <cstdio>
#include <string>

#include "host/base/Platform.h"
#include "host/core/ToolSession.h"

int main(int argc, char** argv) {
    const std::string module = argc > 1 ? argv[1] : zz::besideExecutable("KT07_Zigzag.aip");
    const std::string out = argc > 2 ? argv[2] : "zigzag.svg";

    zz::ToolSession session;
    std::string error;
    if (!session.load(module, &error) || session.startup() != kSPNoError) {
        std::fprintf(stderr, "draw_once: the module did not start: %s\n", error.c_str());
        return 1;
    }
    session.mouseDown({{100.0f, 600.0f}});
    session.drag({{400.0f, 200.0f}});
    session.mouseUp({{400.0f, 200.0f}});
    session.shutdown();

    if (!session.exportSvg(out, &error)) {
        std::fprintf(stderr, "draw_once: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %s\n", out.c_str());
    return 0;
}

// make_screen_host of a build without a screen of its own: the WebAssembly
// engine run by node renders headless only.
#include "platform/hosts/screen_host.h"

#include <cstdio>

namespace vilora {

std::unique_ptr<host_system> make_screen_host(const screen_host_options&) {
    std::fputs("vilora: this build has no screen to show on (--capture DIR and --bench render "
               "without one)\n",
               stderr);
    return nullptr;
}

} // namespace vilora

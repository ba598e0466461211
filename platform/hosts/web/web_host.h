// The web backend: the show in a browser page. Frames go to the page's canvas,
// the overlay to a canvas over it; keys and the tab's visibility come from the
// browser; sound goes to the page's audio sink, an AudioWorklet. Everything the
// page gives the engine hangs on `Module.page`, which page.js sets up before
// the engine starts. Nothing else knows the browser.
#pragma once

#include "platform/hosts/host.h"

#include <memory>

namespace vilora {

std::unique_ptr<host_system> make_web_host();

} // namespace vilora

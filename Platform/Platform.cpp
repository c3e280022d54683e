#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace Platform {

namespace {

Backend* s_backend = nullptr;

}

Display::~Display() {}
Sound::~Sound() {}
Backend::~Backend() {}

void Use_Backend(Backend* backend) { s_backend = backend; }

Backend& Current_Backend() {
    if (!s_backend) {
        std::fprintf(stderr, "zizo: no platform backend was chosen before the demo started\n");
        std::abort();
    }
    return *s_backend;
}

}

// Offscreen GL through Mesa's surfaceless EGL platform: one display, pbuffer surfaces, and
// compatibility-profile contexts for the headless platform.
#pragma once

namespace headless_egl {

bool ensureDisplay();
// A pbuffer surface and a compatibility context sharing nothing; both null on failure.
bool createSurfaceAndContext(int width, int height, void** surface, void** context);
bool makeCurrent(void* surface, void* context); // both null: release
// Depth buffer bits of the surfaces made (0 without a display).
int depthBits();
void destroy(void* surface, void* context);

} // namespace headless_egl

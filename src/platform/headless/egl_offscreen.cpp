// Mesa surfaceless EGL: a real llvmpipe GL context with an RGBA8 + depth24 pbuffer, no display.
#include "platform/headless/egl_offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace headless_egl {

namespace {
EGLDisplay g_display = EGL_NO_DISPLAY;
EGLConfig g_config = nullptr;
} // namespace

bool ensureDisplay() {
    if (g_display != EGL_NO_DISPLAY) {
        return true;
    }
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        return false;
    }
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        return false;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        return false;
    }
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_ALPHA_SIZE,
                                 8,
                                 EGL_DEPTH_SIZE,
                                 24,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &g_config, 1, &count) || count < 1) {
        eglTerminate(display);
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        eglTerminate(display);
        return false;
    }
    g_display = display;
    return true;
}

bool createSurfaceAndContext(int width, int height, void** surface, void** context) {
    *surface = nullptr;
    *context = nullptr;
    if (!ensureDisplay()) {
        return false;
    }
    const EGLint pbuffer[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface s = eglCreatePbufferSurface(g_display, g_config, pbuffer);
    if (s == EGL_NO_SURFACE) {
        return false;
    }
    // No profile attributes: Mesa then gives the compatibility profile the game's GL 1.1 needs.
    EGLContext c = eglCreateContext(g_display, g_config, EGL_NO_CONTEXT, nullptr);
    if (c == EGL_NO_CONTEXT) {
        eglDestroySurface(g_display, s);
        return false;
    }
    *surface = s;
    *context = c;
    return true;
}

int depthBits() {
    EGLint bits = 0;
    if (!ensureDisplay() || !eglGetConfigAttrib(g_display, g_config, EGL_DEPTH_SIZE, &bits)) {
        return 0;
    }
    return bits;
}

bool makeCurrent(void* surface, void* context) {
    if (!ensureDisplay()) {
        return false;
    }
    if (!surface || !context) {
        return eglMakeCurrent(g_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) ==
               EGL_TRUE;
    }
    return eglMakeCurrent(g_display, static_cast<EGLSurface>(surface),
                          static_cast<EGLSurface>(surface),
                          static_cast<EGLContext>(context)) == EGL_TRUE;
}

void destroy(void* surface, void* context) {
    if (g_display == EGL_NO_DISPLAY) {
        return;
    }
    if (context) {
        eglDestroyContext(g_display, static_cast<EGLContext>(context));
    }
    if (surface) {
        eglDestroySurface(g_display, static_cast<EGLSurface>(surface));
    }
}

} // namespace headless_egl

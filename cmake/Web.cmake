# The browser build (HW_WEB, configured through emcmake): GL comes from the compiler's own legacy
# GL layer over WebGL, so the GL targets the layers link are empty, and nothing else is found.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "HW_WEB needs the emscripten toolchain: configure with emcmake (scripts/web)")
endif()
foreach(target OpenGL::GL OpenGL::GLU)
  add_library(${target} INTERFACE IMPORTED)
endforeach()
set(HW_TESTS OFF CACHE BOOL "" FORCE)
set(HW_BENCH OFF CACHE BOOL "" FORCE)
set(HW_ASSETS OFF CACHE BOOL "" FORCE)
if(NOT EXISTS "${HW_DATA_DIR}/times_new1.glf")
  message(FATAL_ERROR "HW_DATA_DIR (${HW_DATA_DIR}) holds no generated data: build the desktop "
                      "tree first and point HW_DATA_DIR at its data folder")
endif()

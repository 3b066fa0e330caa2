# The browser build (emscripten). Emscripten's own GLFW 3, WebGL (graphics/ draws with a
# shader of its own there) and OpenAL stand in for the desktop libraries, under the names
# the subsystems link; stb comes from the system's headers through a folder of its own,
# since emscripten's sysroot hides /usr/include; GoogleTest is built from its sources for
# the tests run under node.
add_library(glfw INTERFACE)
target_link_options(glfw INTERFACE -sUSE_GLFW=3)
add_library(OpenGL::GL INTERFACE IMPORTED)
set(OPENAL_LIBRARY -lopenal)
set(OPENAL_INCLUDE_DIR "")

set(VORTAN_WEB_INCLUDE ${CMAKE_BINARY_DIR}/web-include)
file(MAKE_DIRECTORY ${VORTAN_WEB_INCLUDE}/stb)
foreach(header stb_image.h stb_vorbis.h)
  file(COPY /usr/include/stb/${header} DESTINATION ${VORTAN_WEB_INCLUDE}/stb)
endforeach()
include_directories(SYSTEM ${VORTAN_WEB_INCLUDE})

# Runtime errors unwind as C++ exceptions, as on the desktop.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

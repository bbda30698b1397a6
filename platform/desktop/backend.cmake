# The Linux desktop back end: defines quillfrost_platform and qf_game_code().

find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
find_package(OpenGL REQUIRED)

# The platform layer: our own Windows-named interfaces on SDL2, OpenGL and
# POSIX. SDL and GL are private to it: game code sees only those interfaces.
# Its folders: declarations/ (the Windows headers), shared/ (D3DX subset and
# recording device), posix/ (files, modules, RIFF), win32/ (message queue,
# window classes, last error), dinput/ (the controller device), dsound/ (the
# sound objects), gl/ (the D3D9 device on GL) and desktop/ (window, input and
# sound output on SDL2).
include(${CMAKE_SOURCE_DIR}/platform/platform_library.cmake)
qf_platform_library(shared posix win32 dinput dsound gl desktop)
# Game code includes <windows.h>, <d3d9.h>, <d3dx9.h>, ... as it would on
# Windows; here those names resolve to our own declarations.
target_include_directories(quillfrost_platform PUBLIC ${CMAKE_SOURCE_DIR}
  ${CMAKE_SOURCE_DIR}/platform/declarations ${CMAKE_SOURCE_DIR}/platform/shared)
target_link_libraries(quillfrost_platform PRIVATE PkgConfig::SDL2 OpenGL::GL ${CMAKE_DL_LIBS})

# Headers that game code must not include. <SDL.h> is not on its include path
# anyway, but <SDL2/...> and <GL/...> lie in the system folder, so each gets a
# stand-in that stops the compile.
set(QF_SEAM_DIR ${CMAKE_BINARY_DIR}/seam)
foreach(dir ${SDL2_INCLUDE_DIRS} GL KHR EGL GLES GLES2 GLES3)
  if(NOT IS_ABSOLUTE ${dir})
    set(dir ${OPENGL_INCLUDE_DIR}/${dir})
  endif()
  get_filename_component(prefix ${dir} NAME)
  file(GLOB_RECURSE headers RELATIVE ${dir} ${dir}/*.h)
  foreach(header ${headers})
    file(CONFIGURE OUTPUT ${QF_SEAM_DIR}/${prefix}/${header}
      CONTENT "#error \"${prefix}/${header}: only platform/ may include SDL or GL headers\"\n")
  endforeach()
endforeach()
function(qf_game_code target)
  target_include_directories(${target} BEFORE PRIVATE ${QF_SEAM_DIR})
endfunction()

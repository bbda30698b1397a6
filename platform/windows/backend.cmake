# The Windows back end: defines quillfrost_platform and qf_game_code().

# On Windows the game calls the real Win32, Direct3D 9, DirectInput 8,
# DirectSound 8 and winmm; the platform library adds only what Windows lacks:
# shared/ (the D3DX subset's matrices, effect-file parser, recording device)
# and windows/ (D3DX effects and textures over the real Direct3D 9 device, and
# the wrapper of that device that paces Present and batches vertex locks).
include(${CMAKE_SOURCE_DIR}/platform/platform_library.cmake)
qf_platform_library(shared windows)
# <windows.h>, <d3d9.h>, ... are the SDK's; only <d3dx9.h> is ours, found
# before the one MinGW-w64 ships (which would need d3dx9_43.dll).
target_include_directories(quillfrost_platform PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/platform/shared)
target_compile_definitions(quillfrost_platform PUBLIC UNICODE _UNICODE NOMINMAX)
# d3dcompiler_47.dll is opened at run time (every Windows 10 and 11 has it),
# and so is d3d9.dll: our Direct3DCreate9 (paced_direct3d.cpp) wraps the
# system's, so the import library must not define it too.
target_link_libraries(quillfrost_platform PUBLIC dinput8 dxguid dsound winmm user32 gdi32)
# A static C++ runtime: no MinGW DLL to ship.
target_link_options(quillfrost_platform INTERFACE -static -static-libgcc -static-libstdc++)
# Compiled into every program (a static library would drop it, as nothing
# calls it): puts the standard streams in binary mode.
target_sources(quillfrost_platform INTERFACE ${CMAKE_SOURCE_DIR}/platform/windows/startup/binary_streams.cpp)

# Game code sees no SDL or GL here at all: nothing to fence off.
function(qf_game_code target)
endfunction()

# The device wrapper and the pace clock checked against the system's
# Direct3D 9, under Wine, by tests/windows/windows_test.sh.
add_executable(paced_device_check ${CMAKE_SOURCE_DIR}/tests/windows/paced_device_check.cpp)
target_link_libraries(paced_device_check PRIVATE quillfrost_platform)

# No link time in the programs' headers (with SOURCE_DATE_EPOCH set the linker
# writes that instead): the same sources give the same bytes.
target_link_options(quillfrost_platform INTERFACE -Wl,--no-insert-timestamp)

# Each program carries a version resource (name, description, version),
# compiled by MinGW's windres; added once the programs exist.
enable_language(RC)
function(qf_version_resources)
  foreach(program quillfrost quillfrost-replay)
    if(NOT TARGET ${program})
      continue()
    endif()
    if(program STREQUAL "quillfrost")
      set(QF_FILE_DESCRIPTION "Quillfrost, a 3-D arena action game")
    else()
      set(QF_FILE_DESCRIPTION "Quillfrost replay tool")
    endif()
    set(QF_PROGRAM ${program})
    configure_file(${CMAKE_SOURCE_DIR}/platform/windows/version.rc.in ${CMAKE_BINARY_DIR}/${program}.rc @ONLY)
    target_sources(${program} PRIVATE ${CMAKE_BINARY_DIR}/${program}.rc)
  endforeach()
endfunction()
cmake_language(DEFER CALL qf_version_resources)

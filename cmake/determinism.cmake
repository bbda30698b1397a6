# Replays are byte for byte the same on every platform because game code takes
# its sines, cosines and arc tangents from math/float_trig.h and its random
# numbers from world/game_random.h. The C library's own round and seed as each
# library pleases, so game code must not call them: after a game target is
# built, the undefined symbols of its objects are read with nm, and a target
# that calls one of these fails to build, naming the object and the function
# (and the file is deleted, so the next build checks again). Reading symbols
# rather than poisoning names leaves the system headers alone, and holds for
# GCC, Clang, Emscripten and MinGW alike.
set(QF_FORBIDDEN_CALLS
  sin sinf sinl cos cosf cosl tan tanf tanl sincos sincosf sincosl
  atan atanf atanl atan2 atan2f atan2l rand srand)

if(NOT CMAKE_NM)
  message(FATAL_ERROR "no nm found for ${CMAKE_CXX_COMPILER}: game targets cannot be checked for C library calls")
endif()

# Checks the target's own objects: for a static library the archive itself,
# for a program the objects compiled for it (the libraries it links are
# checked on their own).
function(qf_deterministic_calls target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    set(inputs $<TARGET_FILE:${target}>)
  else()
    set(inputs $<TARGET_OBJECTS:${target}>)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} "-DFORBIDDEN=${QF_FORBIDDEN_CALLS}" "-DINPUTS=${inputs}"
            -DBUILT=$<TARGET_FILE:${target}> -P ${CMAKE_SOURCE_DIR}/cmake/check_determinism.cmake
    VERBATIM)
endfunction()

# Included by each back end's backend.cmake: qf_platform_library(folder...)
# makes the quillfrost_platform library of the .cpp files in those folders of
# platform/.
function(qf_platform_library)
  set(sources)
  foreach(dir ${ARGN})
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  add_library(quillfrost_platform STATIC ${sources})
endfunction()

# The web back end (Emscripten, WebAssembly, WebGL 2): defines
# quillfrost_platform and qf_game_code(), and, once the targets exist, links
# the game for the page and the replay tool for Node.

# WebAssembly SIMD lets the compiler vectorise loops of independent float
# operations (about a sixth off the game's CPU per frame); each result stays
# the IEEE one, so the replay output is unchanged, as its comparison checks.
add_compile_options(-msimd128)

# The platform layer: our own Windows-named interfaces on the HTML5 API,
# WebGL 2 and the Emscripten file system. Its folders: declarations/ and
# shared/, win32/, dinput/ and dsound/ as on the desktop, posix/ (files and
# RIFF on Emscripten's POSIX), gl/ (the D3D9 device, switched to WebGL 2) and
# web/ (page window, input, gamepad, Web Audio).
include(${CMAKE_SOURCE_DIR}/platform/platform_library.cmake)
qf_platform_library(shared posix win32 dinput dsound gl web)
target_include_directories(quillfrost_platform PUBLIC ${CMAKE_SOURCE_DIR}
  ${CMAKE_SOURCE_DIR}/platform/declarations ${CMAKE_SOURCE_DIR}/platform/shared)
target_compile_definitions(quillfrost_platform PRIVATE QF_GL_WEBGL2)

# Headers that game code must not include: Emscripten's own and the GL ones in
# its system folder each get a stand-in that stops the compile.
set(QF_SEAM_DIR ${CMAKE_BINARY_DIR}/seam)
foreach(header emscripten.h emscripten/html5.h GLES3/gl3.h GLES2/gl2.h GL/gl.h EGL/egl.h)
  file(CONFIGURE OUTPUT ${QF_SEAM_DIR}/${header}
    CONTENT "#error \"${header}: only platform/ may include browser or GL headers\"\n")
endforeach()
function(qf_game_code target)
  target_include_directories(${target} BEFORE PRIVATE ${QF_SEAM_DIR})
endfunction()

# The media generator is a tool run at build time, so it is built for this
# machine with its own compiler, and its files are written to media/ and the
# build folder, as in the desktop build.
find_program(QF_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
set(QF_HOST_GENERATOR ${CMAKE_BINARY_DIR}/host/generate_media)
set(QF_GENERATOR_SOURCES generate_media.cpp pictures.cpp front_end.cpp tunes.cpp)
list(TRANSFORM QF_GENERATOR_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/assets/)
add_custom_command(OUTPUT ${QF_HOST_GENERATOR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${QF_HOST_CXX} -std=c++20 -O2 -ffp-contract=off -fno-fast-math -I${CMAKE_SOURCE_DIR}/assets
          ${QF_GENERATOR_SOURCES} -o ${QF_HOST_GENERATOR}
  DEPENDS ${QF_GENERATOR_SOURCES} ${CMAKE_SOURCE_DIR}/assets/generated_media.h
  COMMENT "Building the media generator for this machine")
set(QF_MEDIA_DIR ${CMAKE_BINARY_DIR}/media)
set(QF_WAVES songfinal.wav bingl.wav bing2.wav)
set(QF_MEDIA_FILES tiles.bmp particle.bmp particlecheaper7.bmp TheFrontEnd.bmp score.bmp myshader.fx)
set(QF_MEDIA_OUTPUTS)
foreach(file ${QF_MEDIA_FILES})
  list(APPEND QF_MEDIA_OUTPUTS ${QF_MEDIA_DIR}/${file})
endforeach()
foreach(file ${QF_WAVES})
  list(APPEND QF_MEDIA_OUTPUTS ${CMAKE_BINARY_DIR}/${file})
endforeach()
add_custom_command(OUTPUT ${QF_MEDIA_OUTPUTS}
  COMMAND ${QF_HOST_GENERATOR} ${QF_MEDIA_DIR} ${CMAKE_BINARY_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/assets/myshader.fx ${QF_MEDIA_DIR}/myshader.fx
  DEPENDS ${QF_HOST_GENERATOR} ${CMAKE_SOURCE_DIR}/assets/myshader.fx
  COMMENT "Generating bitmaps and wave files")

# The files the game opens, packed by Emscripten's file packager into
# quillfrost.data and its loader quillfrost-data.js: media/ where the media
# search finds it and the waves in the working folder, where the wave loader
# opens them. qf_web_pack leaves out the files named after the folder.
set(QF_WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the page and its files go")
set(QF_SITE_DIR ${QF_WEB_SITE_DIR})
find_program(QF_FILE_PACKAGER file_packager.py PATHS ${EMSCRIPTEN_ROOT_PATH}/tools NO_DEFAULT_PATH REQUIRED)
function(qf_web_pack folder)
  set(arguments)
  foreach(file ${QF_MEDIA_FILES})
    if(NOT file IN_LIST ARGN)
      list(APPEND arguments ${CMAKE_BINARY_DIR}/media/${file}@/media/${file})
    endif()
  endforeach()
  foreach(file ${QF_WAVES})
    if(NOT file IN_LIST ARGN)
      list(APPEND arguments ${CMAKE_BINARY_DIR}/${file}@/${file})
    endif()
  endforeach()
  file(MAKE_DIRECTORY ${folder})
  # Run in the site's folder and given bare output names, since the packager
  # writes the package's name as given into the loader; its random package
  # id becomes one made from the package's bytes.
  add_custom_command(OUTPUT ${folder}/quillfrost.data ${folder}/quillfrost-data.js
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
            python3 ${QF_FILE_PACKAGER} quillfrost.data --preload ${arguments}
            --js-output=quillfrost-data.js
    COMMAND ${CMAKE_COMMAND} -DDATA=quillfrost.data -DLOADER=quillfrost-data.js
            -P ${CMAKE_SOURCE_DIR}/cmake/stable_package_uuid.cmake
    DEPENDS ${QF_MEDIA_OUTPUTS} ${CMAKE_SOURCE_DIR}/cmake/stable_package_uuid.cmake
    WORKING_DIRECTORY ${folder}
    COMMENT "Packing the media and waves into ${folder}")
  set(page_files index.html touch_sticks.js manifest.webmanifest)
  list(TRANSFORM page_files PREPEND ${CMAKE_SOURCE_DIR}/platform/web/ OUTPUT_VARIABLE page_sources)
  add_custom_command(OUTPUT ${folder}/index.html ${folder}/touch_sticks.js ${folder}/manifest.webmanifest
                            ${folder}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${page_sources} ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${folder}/LICENSE.txt
    DEPENDS ${page_sources} ${CMAKE_SOURCE_DIR}/LICENSE)
endfunction()
qf_web_pack(${QF_SITE_DIR})
# The app icons of the manifest, from the title picture.
add_custom_command(OUTPUT ${QF_SITE_DIR}/icon-192.png ${QF_SITE_DIR}/icon-512.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QF_SITE_DIR}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/platform/web/make_icons.py ${QF_MEDIA_DIR}/TheFrontEnd.bmp ${QF_SITE_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/make_icons.py ${QF_MEDIA_DIR}/TheFrontEnd.bmp
  COMMENT "Drawing the app icons from the title picture")
add_custom_target(quillfrost_site ALL DEPENDS ${QF_SITE_DIR}/quillfrost.data ${QF_SITE_DIR}/index.html
  ${QF_SITE_DIR}/icon-192.png)

# For the tests: the same page and module with the floor's bitmap left out.
set(QF_MISSING_SITE_DIR ${CMAKE_BINARY_DIR}/site-without-tiles)
qf_web_pack(${QF_MISSING_SITE_DIR} tiles.bmp)
add_custom_target(quillfrost_site_without_tiles
  COMMAND ${CMAKE_COMMAND} -E copy ${QF_SITE_DIR}/quillfrost.js ${QF_SITE_DIR}/quillfrost.wasm
          ${QF_SITE_DIR}/icon-192.png ${QF_SITE_DIR}/icon-512.png ${QF_MISSING_SITE_DIR}
  DEPENDS quillfrost ${QF_MISSING_SITE_DIR}/quillfrost.data ${QF_MISSING_SITE_DIR}/index.html)

# -O2 for both; exceptions stay off as in the game's code.
set(QF_WEB_COMMON_LINK -O2 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB)

function(qf_web_targets)
  # The page's module: WebGL 2 only, and Asyncify so Present can sleep until
  # the next animation frame. Only the frame's path is instrumented: Present
  # (found through its direct call of the sleep) and the functions that reach
  # it through pointers, listed in asyncify_add.json; the linker warns about
  # the names that the optimiser has inlined into main.
  set_target_properties(quillfrost PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${QF_SITE_DIR})
  target_link_options(quillfrost PRIVATE ${QF_WEB_COMMON_LINK} -sENVIRONMENT=web -sMIN_WEBGL_VERSION=2
    -sMAX_WEBGL_VERSION=2 -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT=1
    -sASYNCIFY_ADD=@${CMAKE_SOURCE_DIR}/platform/web/asyncify_add.json -sFORCE_FILESYSTEM=1
    --post-js ${CMAKE_SOURCE_DIR}/platform/web/main_return.js)
  set_property(TARGET quillfrost APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/main_return.js
    ${CMAKE_SOURCE_DIR}/platform/web/asyncify_add.json)
  add_dependencies(quillfrost quillfrost_site)
  # The replay tool for Node, reading scripts and the media from the real file
  # system; compiled synchronously, as Node's fetch cannot load a file path.
  if(TARGET quillfrost-replay)
    set_target_properties(quillfrost-replay PROPERTIES SUFFIX .js)
    target_link_options(quillfrost-replay PRIVATE ${QF_WEB_COMMON_LINK} -sENVIRONMENT=node -sNODERAWFS=1
      -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)
    add_custom_target(quillfrost_replay_media ALL DEPENDS ${QF_MEDIA_OUTPUTS})
    add_dependencies(quillfrost-replay quillfrost_replay_media)
  endif()
  # The back end's own parsing checks, run under Node by scripts/test_web.sh.
  add_executable(web_platform_test ${CMAKE_SOURCE_DIR}/tests/web/web_platform_test.cpp)
  target_link_libraries(web_platform_test PRIVATE quillfrost_platform)
  target_link_options(web_platform_test PRIVATE ${QF_WEB_COMMON_LINK} -sENVIRONMENT=node -sNODERAWFS=1
    -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1)
endfunction()
cmake_language(DEFER CALL qf_web_targets)

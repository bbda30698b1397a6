# Emscripten's file packager names each package with a random UUID, which
# only its optional IndexedDB cache reads. Replaced by one made from the
# package's own bytes, the loader is the same for the same files.
# Usage: cmake -DDATA=quillfrost.data -DLOADER=quillfrost-data.js -P stable_package_uuid.cmake
file(SHA256 ${DATA} hash)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" uuid ${hash})
file(READ ${LOADER} text)
string(REGEX REPLACE "\"package_uuid\": *\"[0-9a-f-]+\"" "\"package_uuid\": \"${uuid}\"" stable "${text}")
if(stable STREQUAL text)
  message(FATAL_ERROR "${LOADER}: no package_uuid to replace")
endif()
file(WRITE ${LOADER} "${stable}")

# Run after a game target is built (see determinism.cmake): NM, FORBIDDEN (the
# functions), INPUTS (archives or objects) and BUILT (the file to delete when
# the check fails).
execute_process(COMMAND ${NM} -u ${INPUTS} RESULT_VARIABLE status OUTPUT_VARIABLE symbols ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  file(REMOVE ${BUILT})
  message(FATAL_ERROR "${NM} could not read the undefined symbols of ${INPUTS}: ${errors}")
endif()

# nm names each object on a line of its own ("name.o:") before its symbols,
# one "U name" line each. MinGW links the C runtime's functions through
# __imp_ pointers, and some targets put an underscore before C names.
list(JOIN FORBIDDEN "|" names)
string(REPLACE "\n" ";" lines "${symbols}")
set(object "${INPUTS}")  # nm names no object when given one
set(found "")
foreach(line IN LISTS lines)
  if(line MATCHES "^(.+):$")
    set(object ${CMAKE_MATCH_1})
  elseif(line MATCHES "^ *U +(__imp_)?_?(${names})$")
    list(APPEND found "${object} calls ${CMAKE_MATCH_2} from the C library")
  endif()
endforeach()

if(found)
  file(REMOVE ${BUILT})
  foreach(line IN LISTS found)
    message(NOTICE "${line}")
  endforeach()
  message(NOTICE "Game code takes sine, cosine and arc tangent from math/float_trig.h (SinF, CosF, SinCosF, "
                 "Atan2F) and random numbers from world/game_random.h, which give the same bits on every platform.")
  message(FATAL_ERROR "${BUILT}: calls to the C library's trigonometry or random generator")
endif()

# Records the title narration at build time (run with cmake -P).
#   RECIPE     the .say recipe (text, voice, speed, pitch, effects)
#   FALLBACK   a sfxcompile source used when espeak-ng or sox is missing or fails
#   SFXCOMPILE the sfxcompile program
#   OUTPUT     the WAV file to write
#   WORK_DIR   a scratch folder for the intermediate recording
foreach(_v RECIPE FALLBACK SFXCOMPILE OUTPUT WORK_DIR)
  if(NOT DEFINED ${_v})
    message(FATAL_ERROR "narrator.cmake: ${_v} is not set")
  endif()
endforeach()

# Read the recipe: "key value..." lines, '#' starts a comment.
if(NOT EXISTS "${RECIPE}")
  message(FATAL_ERROR "${RECIPE}:0: recipe file is missing")
endif()
file(STRINGS "${RECIPE}" _lines)
set(_n 0)
foreach(_line IN LISTS _lines)
  math(EXPR _n "${_n} + 1")
  string(REGEX REPLACE "#.*$" "" _line "${_line}")
  string(STRIP "${_line}" _line)
  if(_line STREQUAL "")
    continue()
  endif()
  if(NOT _line MATCHES "^([a-z]+)[ \t]+(.+)$")
    message(FATAL_ERROR "${RECIPE}:${_n}: expected 'key value'")
  endif()
  set(_key "${CMAKE_MATCH_1}")
  set(_val "${CMAKE_MATCH_2}")
  if(NOT _key MATCHES "^(text|voice|speed|pitch|effects)$")
    message(FATAL_ERROR "${RECIPE}:${_n}: unknown setting '${_key}' (text, voice, speed, pitch or effects)")
  endif()
  if(_key MATCHES "^(speed|pitch)$" AND NOT _val MATCHES "^[0-9]+$")
    message(FATAL_ERROR "${RECIPE}:${_n}: '${_key}' expects a whole number, got '${_val}'")
  endif()
  set(_say_${_key} "${_val}")
endforeach()
foreach(_k text voice speed pitch effects)
  if(NOT DEFINED _say_${_k})
    message(FATAL_ERROR "${RECIPE}:${_n}: the recipe has no '${_k}' line")
  endif()
endforeach()
separate_arguments(_effects UNIX_COMMAND "${_say_effects}")

get_filename_component(_out_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${_out_dir}" "${WORK_DIR}")
set(_raw "${WORK_DIR}/narrator_raw.wav")
set(_tmp "${OUTPUT}.tmp")
file(REMOVE "${_raw}" "${_tmp}")

find_program(_espeak NAMES espeak-ng)
find_program(_sox NAMES sox)

set(_why "")
if(NOT _espeak)
  set(_why "espeak-ng is not installed")
elseif(NOT _sox)
  set(_why "sox is not installed")
else()
  execute_process(
    COMMAND "${_espeak}" -v "${_say_voice}" -s "${_say_speed}" -p "${_say_pitch}" -z -w "${_raw}" "${_say_text}"
    RESULT_VARIABLE _rc ERROR_VARIABLE _err OUTPUT_QUIET)
  if(NOT _rc EQUAL 0 OR NOT EXISTS "${_raw}")
    set(_why "espeak-ng failed (${_rc}): ${_err}")
  else()
    # -D: no dither, so the result is the same on every build.
    execute_process(
      COMMAND "${_sox}" -D "${_raw}" -b 16 -e signed-integer -r 44100 -c 1 -t wav "${_tmp}" ${_effects}
      RESULT_VARIABLE _rc ERROR_VARIABLE _err OUTPUT_QUIET)
    if(NOT _rc EQUAL 0 OR NOT EXISTS "${_tmp}")
      set(_why "sox failed (${_rc}): ${_err}")
    else()
      # a broken effect chain can leave a stub instead of failing outright:
      # anything under a third of a second (44-byte header, 2 bytes a sample) is no announcement
      file(SIZE "${_tmp}" _bytes)
      if(_bytes LESS 29444)
        set(_why "sox produced only ${_bytes} bytes: ${_err}")
      endif()
    endif()
  endif()
endif()

if(NOT _why STREQUAL "")
  message(WARNING "menu/narrator.wav: ${_why}; using the synthesised fanfare ${FALLBACK} instead")
  file(REMOVE "${_tmp}")
  execute_process(COMMAND "${SFXCOMPILE}" "${FALLBACK}" "${_tmp}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    file(REMOVE "${_tmp}")
    message(FATAL_ERROR "${FALLBACK}: the fallback fanfare could not be rendered")
  endif()
endif()

file(REMOVE "${_raw}")
file(RENAME "${_tmp}" "${OUTPUT}")

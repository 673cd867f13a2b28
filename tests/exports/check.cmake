# Compares what a library exports with a list of names (names.txt): every listed name must be
# exported, and nothing outside the list may be.
#   cmake -DNAMES=<list> -DLIBRARY=<shared library> -P check.cmake
#   cmake -DNAMES=<list> -DSYMBOLS=<name,name,...> -P check.cmake   (the checker's own tests)

cmake_minimum_required(VERSION 3.25)

# --- The list: names one a line, '#' comments.
file(STRINGS ${NAMES} lines)
set(listed)
set(problems)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  elseif(line IN_LIST listed)
    list(APPEND problems "lists ${line} twice")
  else()
    list(APPEND listed "${line}")
  endif()
endforeach()

# --- What the library exports: its defined dynamic symbols, C++ names demangled.
set(exported)
if(DEFINED SYMBOLS)
  string(REPLACE "," ";" exported "${SYMBOLS}")
else()
  execute_process(COMMAND nm -D --defined-only -C ${LIBRARY} OUTPUT_VARIABLE symbols
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
  endif()
  string(REPLACE "\n" ";" symbols "${symbols}")
  foreach(symbol IN LISTS symbols)
    if(symbol MATCHES "^[0-9a-fA-F]* *[A-Za-z] (.+)$")
      list(APPEND exported "${CMAKE_MATCH_1}")
    endif()
  endforeach()
endif()

foreach(name IN LISTS exported)
  if(NOT name IN_LIST listed)
    list(APPEND problems "exports ${name}, which the list does not name")
  endif()
endforeach()
foreach(name IN LISTS listed)
  if(NOT name IN_LIST exported)
    list(APPEND problems "does not export ${name}")
  endif()
endforeach()

list(LENGTH listed total)
list(LENGTH exported count)
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Exports differ from ${NAMES}:\n  ${text}")
endif()
message(STATUS "${count} of ${total} listed functions exported , nothing else")

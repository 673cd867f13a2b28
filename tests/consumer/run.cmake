# Installs the build into a fresh prefix and builds hosts against the installed package, the way
# users do: a C host and a C++ host through find_package (zlib's package disabled; the C++ host
# with clang++ at its default standard), and hosts through pkg-config (g++ -std=c++17 with the C
# module, clang++ with the C++ module, gcc with the C module). A C++ compile below C++17 must stop
# with the header's own message. Each host runs against the simulated cameras.
# Arguments: BUILD_DIR, SOURCE_DIR, WORK_DIR, LIBDIR, GENERATOR, CLANGXX (may be empty).
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}")
  endif()
  message(STATUS "${what}: ok ${out}")
endfunction()

if(NOT CLANGXX)
  message(FATAL_ERROR "clang++ not found: the consumer builds need it (scripts/test.sh installs it)")
endif()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
set(no_zlib -DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=ON -DCMAKE_PREFIX_PATH=${prefix})

run("C host: configure" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/c -B ${WORK_DIR}/c -G ${GENERATOR}
    ${no_zlib})
run("C host: build" ${CMAKE_COMMAND} --build ${WORK_DIR}/c)
run("C host: run" ${WORK_DIR}/c/consumer_c)

run("C++ host, clang++: configure" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/cxx -B ${WORK_DIR}/cxx
    -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CLANGXX} ${no_zlib})
run("C++ host, clang++: build" ${CMAKE_COMMAND} --build ${WORK_DIR}/cxx)
run("C++ host, clang++: run" ${WORK_DIR}/cxx/consumer_cxx)

# pkg-config hosts.
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
set(ENV{LD_LIBRARY_PATH} ${prefix}/${LIBDIR})
function(flags module out)
  execute_process(COMMAND pkg-config --cflags --libs ${module} RESULT_VARIABLE status
                  OUTPUT_VARIABLE text ERROR_VARIABLE error OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pkg-config ${module}: ${error}")
  endif()
  separate_arguments(list UNIX_COMMAND "${text}")
  set(${out} ${list} PARENT_SCOPE)
endfunction()
flags(tqvSDK c_flags)
flags(tqvSDK-cxx cxx_flags)
if(c_flags MATCHES "std=")
  message(FATAL_ERROR "the C module passes a language standard: ${c_flags}")
endif()

run("C host, gcc + pkg-config tqvSDK" gcc -std=c99 -Wall -Werror ${SOURCE_DIR}/c/main.c ${c_flags}
    -o ${WORK_DIR}/pc_c)
run("C host, pkg-config: run" ${WORK_DIR}/pc_c)
run("C++ host, g++ -std=c++17 + pkg-config tqvSDK" g++ -std=c++17 -Wall -Werror
    ${SOURCE_DIR}/cxx/main.cpp ${c_flags} -o ${WORK_DIR}/pc_gxx)
run("C++ host, g++: run" ${WORK_DIR}/pc_gxx)
run("C++ host, clang++ + pkg-config tqvSDK-cxx" ${CLANGXX} -Wall -Werror
    ${SOURCE_DIR}/cxx/main.cpp ${cxx_flags} -o ${WORK_DIR}/pc_clang)
run("C++ host, clang++ + pkg-config: run" ${WORK_DIR}/pc_clang)

execute_process(COMMAND ${CLANGXX} -std=c++14 -fsyntax-only ${SOURCE_DIR}/cxx/main.cpp ${c_flags}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(status EQUAL 0 OR NOT out MATCHES "need C\\+\\+17")
  message(FATAL_ERROR "a C++14 compile of the header did not stop with its message:\n${out}")
endif()
message(STATUS "C++14 compile stops with the header's message: ok")

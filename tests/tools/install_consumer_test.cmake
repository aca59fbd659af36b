# Installs the build into a fresh prefix and builds tools/example-consumer against it with
# find_package(Kestrow); the consumer must sign the known answer. (The release packages get
# the same check, with the installed kestrow-sign and the version, from check-packages.sh.)
# Run by ctest as: cmake -D<variables below> -P install_consumer_test.cmake
#   SOURCE_DIR, BUILD_DIR, WORK_DIR, CONSUMER_SOURCE, GENERATOR, CXX_COMPILER, BUILD_TYPE,
#   EXTRA_FLAGS
cmake_minimum_required(VERSION 3.25)

function(run_step what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run_step("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
# Relocatable: the installed package points into the prefix, never back at the sources.
file(GLOB_RECURSE config_files ${prefix}/*/Kestrow*.cmake)
foreach(config_file IN LISTS config_files)
    file(READ ${config_file} content)
    string(FIND "${content}" "${SOURCE_DIR}/" source_ref)
    string(FIND "${content}" "${BUILD_DIR}" build_ref)
    if(NOT source_ref EQUAL -1 OR NOT build_ref EQUAL -1)
        message(FATAL_ERROR "${config_file} refers to the source or build tree")
    endif()
endforeach()

set(flags)
if(EXTRA_FLAGS)
    list(APPEND flags "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
endif()
run_step("configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build
         -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
         -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF ${flags})
run_step("building the consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)

# Known answer from Python: HMAC-SHA1("kestrow-secret", "UrlInfo2026-12-05T22:26:06.000Z"),
# Base64, URL-encoded (see kestrow_sign_cli_test.py).
run_step("the consumer" ${CMAKE_COMMAND} -E env KESTROW_SECRET_KEY=kestrow-secret
         ${WORK_DIR}/build/kestrow-consumer 1796509566 UrlInfo KESTROWKEYID)
set(expected "2026-12-05T22:26:06.000Z\nClcVShun84K%2BqTqvE25mfgEO5bI%3D\n")
string(FIND "${out}" "${expected}" at)
if(NOT at EQUAL 0 OR NOT out MATCHES "\ncomplete\nvalid\n")
    message(FATAL_ERROR "the consumer signed wrongly:\n${out}")
endif()
message(STATUS "installed package consumed")

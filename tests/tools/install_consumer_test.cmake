# Installs the build into a fresh prefix, builds tools/example-consumer against it with
# find_package(Kestrow), and checks that the consumer and the installed kestrow-sign
# sign alike. Run by ctest as: cmake -D<variables below> -P install_consumer_test.cmake
#   SOURCE_DIR, BUILD_DIR, WORK_DIR, CONSUMER_SOURCE, GENERATOR, CXX_COMPILER, BUILD_TYPE,
#   VERSION (the project's), EXTRA_FLAGS
cmake_minimum_required(VERSION 3.25)

function(run_step what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
    endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run_step("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(header crypto/sha1.h crypto/hmac_sha1.h engine/encoding.h engine/kestrow_engine.h
        engine/utc_timestamp.h app/sample_request.h framework/cstring.h framework/byte_array.h)
    if(NOT EXISTS ${prefix}/include/${header})
        message(FATAL_ERROR "not installed: include/${header}")
    endif()
endforeach()
file(GLOB_RECURSE config_files ${prefix}/*/KestrowConfig.cmake ${prefix}/*/KestrowConfigVersion.cmake
     ${prefix}/*/KestrowTargets.cmake)
list(LENGTH config_files config_count)
if(NOT config_count EQUAL 3)
    message(FATAL_ERROR "package files missing, found: ${config_files}")
endif()
# Relocatable: the installed package points into the prefix, never back at the sources.
foreach(config_file IN LISTS config_files)
    file(READ ${config_file} content)
    string(FIND "${content}" "${SOURCE_DIR}/" source_ref)
    string(FIND "${content}" "${BUILD_DIR}" build_ref)
    if(NOT source_ref EQUAL -1 OR NOT build_ref EQUAL -1)
        message(FATAL_ERROR "${config_file} refers to the source or build tree")
    endif()
endforeach()

# The package answers find_package with the project's version.
file(GLOB_RECURSE version_file ${prefix}/*/KestrowConfigVersion.cmake)
file(STRINGS ${version_file} version_line REGEX "^set\\(PACKAGE_VERSION ")
if(NOT version_line STREQUAL "set(PACKAGE_VERSION \"${VERSION}\")")
    message(FATAL_ERROR "installed package version: '${version_line}', project: ${VERSION}")
endif()

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
set(expected_signature "ClcVShun84K%2BqTqvE25mfgEO5bI%3D")
execute_process(COMMAND ${CMAKE_COMMAND} -E env KESTROW_SECRET_KEY=kestrow-secret
                        ${WORK_DIR}/build/kestrow-consumer 1796509566 UrlInfo KESTROWKEYID
                RESULT_VARIABLE rc OUTPUT_VARIABLE consumer_out ERROR_VARIABLE consumer_err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the consumer failed (${rc}): ${consumer_err}")
endif()
string(REPLACE "\n" ";" consumer_lines "${consumer_out}")
list(GET consumer_lines 0 consumer_timestamp)
list(GET consumer_lines 1 consumer_signature)
list(GET consumer_lines 2 consumer_url)
list(GET consumer_lines 3 consumer_complete)
list(GET consumer_lines 4 consumer_verdict)
if(NOT consumer_timestamp STREQUAL "2026-12-05T22:26:06.000Z"
   OR NOT consumer_signature STREQUAL expected_signature
   OR NOT consumer_complete STREQUAL "complete"
   OR NOT consumer_verdict STREQUAL "valid")
    message(FATAL_ERROR "the consumer signed wrongly:\n${consumer_out}")
endif()

file(GLOB installed_tool ${prefix}/bin/kestrow-sign*)
if(NOT installed_tool)
    message(FATAL_ERROR "kestrow-sign is not installed in ${prefix}/bin")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env KESTROW_SECRET_KEY=kestrow-secret
                        ${installed_tool} --time 2026-12-05T22:26:06Z --access-key-id KESTROWKEYID
                RESULT_VARIABLE rc OUTPUT_VARIABLE tool_out ERROR_VARIABLE tool_err)
string(FIND "${tool_out}" "Sample URL: ${consumer_url}\n" url_at)
if(NOT rc EQUAL 0 OR url_at EQUAL -1)
    message(FATAL_ERROR "installed kestrow-sign disagrees with the consumer (${rc}):\n"
                        "${tool_out}${tool_err}\nconsumer URL: ${consumer_url}")
endif()
message(STATUS "installed package consumed: ${consumer_signature}")

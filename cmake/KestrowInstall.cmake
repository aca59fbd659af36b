# Install rules: kestrow_core with its public headers as the CMake package "Kestrow"
# (target Kestrow::core) and as the pkg-config package "kestrow", and the kestrow-sign tool.
# The headers go into a folder of their own, include/kestrow/, which consumers put on their
# include path: their "engine/kestrow_engine.h" names our file and no other package's.
include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(kestrow_core PROPERTIES EXPORT_NAME core)
add_library(Kestrow::core ALIAS kestrow_core)
set(KESTROW_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/kestrow)
target_include_directories(kestrow_core PUBLIC $<INSTALL_INTERFACE:${KESTROW_INSTALL_INCLUDEDIR}>)

# The headers a user of the core includes, and the framework headers they include.
set(KESTROW_PUBLIC_HEADERS
    crypto/sha1.h
    crypto/hmac_sha1.h
    engine/encoding.h
    engine/decoding.h
    engine/digest_compare.h
    engine/kestrow_engine.h
    engine/kestrow_verifier.h
    engine/request_check.h
    engine/request_url.h
    engine/signing_step.h
    engine/utc_timestamp.h
    app/sample_request.h
    framework/cstring.h
    framework/byte_array.h
    framework/secure_wipe.h)
foreach(header IN LISTS KESTROW_PUBLIC_HEADERS)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header}
        DESTINATION ${KESTROW_INSTALL_INCLUDEDIR}/${folder} COMPONENT core)
endforeach()

install(TARGETS kestrow_core EXPORT KestrowTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT core)
install(TARGETS kestrow-sign
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)

set(KESTROW_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kestrow)
install(EXPORT KestrowTargets NAMESPACE Kestrow:: FILE KestrowTargets.cmake
    DESTINATION ${KESTROW_CONFIG_DIR} COMPONENT core)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KestrowConfig.cmake.in
    ${PROJECT_BINARY_DIR}/KestrowConfig.cmake
    INSTALL_DESTINATION ${KESTROW_CONFIG_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KestrowConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KestrowConfig.cmake
    ${PROJECT_BINARY_DIR}/KestrowConfigVersion.cmake
    DESTINATION ${KESTROW_CONFIG_DIR} COMPONENT core)

# kestrow.pc finds the prefix from where it lies, as the CMake package does, so that an install
# with --prefix or an unpacked package works wherever it is.
set(KESTROW_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH KESTROW_PC_PREFIX /${KESTROW_PC_DIR} /)
string(REGEX REPLACE "/$" "" KESTROW_PC_PREFIX ${KESTROW_PC_PREFIX})
foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
        set(KESTROW_PC_${dir} ${CMAKE_INSTALL_${dir}})
    else()
        set(KESTROW_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/kestrow.pc.in ${PROJECT_BINARY_DIR}/kestrow.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kestrow.pc DESTINATION ${KESTROW_PC_DIR} COMPONENT core)

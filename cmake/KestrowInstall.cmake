# Install rules: kestrow_core with its public headers as the CMake package "Kestrow"
# (target Kestrow::core), and the kestrow-sign tool.
include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(kestrow_core PROPERTIES EXPORT_NAME core)
add_library(Kestrow::core ALIAS kestrow_core)

# The headers a user of the core includes, and the framework headers they include.
set(KESTROW_PUBLIC_HEADERS
    crypto/sha1.h
    crypto/hmac_sha1.h
    engine/encoding.h
    engine/decoding.h
    engine/digest_compare.h
    engine/kestrow_engine.h
    engine/kestrow_verifier.h
    engine/utc_timestamp.h
    app/sample_request.h
    framework/cstring.h
    framework/byte_array.h
    framework/secure_wipe.h)
foreach(header IN LISTS KESTROW_PUBLIC_HEADERS)
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${folder} COMPONENT core)
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

# The Debian package of kestrow-sign and the core (cpack -G DEB; `make dist` runs it):
# the install rules of KestrowInstall.cmake plus the man page, bash completion, copyright
# and changelog.
include_guard(GLOBAL)
include(GNUInstallDirs)

# Compressed without a name or time stamp, so the package is the same from any build.
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${PROJECT_BINARY_DIR}/changelog
    @ONLY)
set(_kestrow_gz_files)
foreach(source ${PROJECT_SOURCE_DIR}/tools/kestrow_sign/kestrow-sign.1
        ${PROJECT_BINARY_DIR}/changelog)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
        COMMAND gzip -9nc ${source} > ${PROJECT_BINARY_DIR}/${name}.gz
        DEPENDS ${source} VERBATIM)
    list(APPEND _kestrow_gz_files ${PROJECT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(kestrow_package_docs ALL DEPENDS ${_kestrow_gz_files})
# cmake --install after building kestrow-sign alone installs its man page too.
add_dependencies(kestrow-sign kestrow_package_docs)
set(_kestrow_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/kestrow)
install(FILES ${PROJECT_BINARY_DIR}/kestrow-sign.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)
# Where bash-completion looks for a command's completion when it is first used.
install(FILES ${PROJECT_SOURCE_DIR}/tools/kestrow_sign/kestrow-sign.bash
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME kestrow-sign
    COMPONENT tools)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${_kestrow_doc_dir} COMPONENT tools)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${_kestrow_doc_dir}
    RENAME copyright COMPONENT tools)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrow)
set(CPACK_PACKAGE_VENDOR ${KESTROW_PUBLISHER})
set(CPACK_PACKAGE_CONTACT "${KESTROW_PUBLISHER} <packages@ombry.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "signing tool and C++ library for Kestrow query requests")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "The command kestrow-sign signs Kestrow query requests: it prints the UTC"
    "timestamp, the HMAC-SHA1 signature (Base64, URL-encoded) and a sample query"
    "URL."
    "The package also holds the portable C++17 core as a static library with its"
    "headers in /usr/include/kestrow, a CMake package (find_package(Kestrow), then"
    "link Kestrow::core) and a pkg-config file (pkg-config --cflags --libs kestrow).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTROW_HOME_PAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Modes independent of the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

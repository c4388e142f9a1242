# A Debian package of the installed program (cpack --preset package): the program, its desktop entry,
# metainfo and icon, and the documents Debian expects beside them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vendrix)
set(CPACK_PACKAGE_VENDOR "Vendrix-Projekt")
set(CPACK_PACKAGE_CONTACT "Vendrix-Projekt <vendrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and order assistant for an electronics parts catalog")
set(CPACK_PACKAGE_DESCRIPTION
    "Vendrix opens the parts catalog of an electronics distributor (a directory\n"
    "of four binary files or a compressed archive), browses it with three\n"
    "cascading selectors, searches it by regular expression, shows article\n"
    "details with net and gross price scales, and turns ordered packing units\n"
    "into an order list to print or save as text or HTML. German interface.")
set(CPACK_PACKAGE_FILE_NAME "vendrix_${PROJECT_VERSION}_amd64")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vendrix.example.org/")
# The libraries come from dpkg-shlibdeps; Qt loads its platform plugins and the German translations of its
# dialogs at run time, which no library dependency names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Debian's documents of a package: the copyright in its machine-readable form, and the changelog and the
# manual page compressed as Debian keeps them.
set(VX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vendrix)
foreach(doc changelog vendrix.1)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${doc}.gz
                     COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/${doc} > ${PROJECT_BINARY_DIR}/${doc}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/data/${doc} VERBATIM)
endforeach()
add_custom_target(docs ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz ${PROJECT_BINARY_DIR}/vendrix.1.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${VX_DOC_DIR})
install(FILES ${PROJECT_BINARY_DIR}/vendrix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(CPack)

# The Debian package: `cmake --build build --target package` writes
# build/qurvia_<version>_amd64.deb with CPack's DEB generator. It holds what
# `cmake --install` installs, under /usr: qurvia in /usr/bin, qurvia-gui and
# qurvia-image in /usr/libexec/qurvia, the manual page, desktop entry, icon,
# AppStream metadata, the document type, and the copyright and changelog in
# /usr/share/doc/qurvia. Its dependencies are those dpkg-shlibdeps finds in
# the programs, plus the fonts the pictures are drawn with. The desktop
# database, the MIME database, the icon cache and the manual index are
# updated by the triggers of the packages that own them, so the package has
# no maintainer scripts and leaves nothing behind when it is removed.
include(GNUInstallDirs)

set(QURVIA_PACKAGE_MAINTAINER "Qurvia maintainers <maintainers@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")

# The changelog's newest entry names the version being packaged: a release
# that forgets it stops here rather than shipping a changelog of another
# version.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^qurvia \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "package/changelog: the newest entry is not version ${PROJECT_VERSION}: ${changelog_top}")
endif()

set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/qurvia)
set(changelog_gz ${CMAKE_BINARY_DIR}/package/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/changelog > ${changelog_gz}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  COMMENT "Compressing the changelog")
add_custom_target(qurvia_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${changelog_gz} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qurvia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QURVIA_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "equation plotter with a chart and a table of values")
# The long description, wrapped as Debian's tools show it (under 80 columns).
set(CPACK_PACKAGE_DESCRIPTION
"Qurvia plots a formula y = f(x) over a range and a step, as a line chart
and as a table of values. Formulas are computed in 80-bit extended
arithmetic by its own expression engine and math library, and every error
is reported with a clear message.

The chart can be zoomed, scrolled, traced with the mouse, saved as a
bitmap, PNG, PDF or metafile, copied and printed; the table can be saved
as text or as comma-separated values for a spreadsheet. The qurvia command
writes tables and images without opening a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QURVIA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The pictures are drawn in Liberation Sans, which no library links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)

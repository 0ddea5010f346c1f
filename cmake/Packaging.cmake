# Installing QuoteShow as a desktop program (menu entry, icon, AppStream
# data, manual page, sample quote file) and packaging it as a .deb.
#
#   cmake --install build [--prefix /usr]      # or DESTDIR=... for staging
#   (cd build && cpack)                         # build/quoteshow_<version>_<arch>.deb

if(QUOTESHOW_QUOTES_ONLY)
  return()
endif()

# The day this version was released, for the AppStream release list.
set(QUOTESHOW_RELEASE_DATE "2026-12-11")
set(QUOTESHOW_MAINTAINER "The QuoteShow Developers <quoteshow@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(_resources ${PROJECT_SOURCE_DIR}/resources)
set(_icons ${_resources}/icon)
set(_staged ${PROJECT_BINARY_DIR}/packaging)

# The sample quote file, in the folder the menu entry starts the program in.
set(QUOTESHOW_SAMPLE_SUBDIR ${CMAKE_INSTALL_DATADIR}/quoteshow)
install(FILES ${PROJECT_SOURCE_DIR}/examples/Jokes.TXT DESTINATION ${QUOTESHOW_SAMPLE_SUBDIR})
# Debian wants the licence as the package's copyright file.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# The menu entry names the sample's folder as an absolute path, and that path
# is known only when installing: a package is installed under /usr while the
# build tree may be set up for /usr/local. So the entry is written then, for
# the prefix actually used.
install(CODE "
  set(_quoteshow_desktop_in \"${_resources}/${QUOTESHOW_APP_ID}.desktop.in\")
  set(_quoteshow_staged \"${_staged}\")
  set(QUOTESHOW_SAMPLE_DIR \"${QUOTESHOW_SAMPLE_SUBDIR}\")
  set(_quoteshow_applications_dir \"${CMAKE_INSTALL_DATADIR}/applications\")
")
install(CODE [[
  foreach(_dir QUOTESHOW_SAMPLE_DIR _quoteshow_applications_dir)
    if(NOT IS_ABSOLUTE "${${_dir}}")
      set(${_dir} "${CMAKE_INSTALL_PREFIX}/${${_dir}}")
    endif()
  endforeach()
  # One copy per prefix: a root-owned copy left by "sudo cmake --install"
  # must not stand in the way of installing elsewhere without root.
  string(MD5 _quoteshow_prefix_hash "${CMAKE_INSTALL_PREFIX}")
  string(SUBSTRING "${_quoteshow_prefix_hash}" 0 12 _quoteshow_prefix_hash)
  get_filename_component(_quoteshow_desktop_name "${_quoteshow_desktop_in}" NAME_WLE)
  set(_quoteshow_desktop_out
      "${_quoteshow_staged}/prefix-${_quoteshow_prefix_hash}/${_quoteshow_desktop_name}")
  configure_file("${_quoteshow_desktop_in}" "${_quoteshow_desktop_out}" @ONLY)
  file(INSTALL DESTINATION "${_quoteshow_applications_dir}" TYPE FILE FILES "${_quoteshow_desktop_out}")
]])

configure_file(${_resources}/${QUOTESHOW_APP_ID}.metainfo.xml.in
               ${_staged}/${QUOTESHOW_APP_ID}.metainfo.xml @ONLY)
install(FILES ${_staged}/${QUOTESHOW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons for the menu and the dock, in the hicolor theme under the app id.
set(_hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${_icons}/quoteshow-16x16-16.png DESTINATION ${_hicolor}/16x16/apps
        RENAME ${QUOTESHOW_APP_ID}.png)
install(FILES ${_icons}/quoteshow-32x32-16.png DESTINATION ${_hicolor}/32x32/apps
        RENAME ${QUOTESHOW_APP_ID}.png)
install(FILES ${_icons}/quoteshow-48x48.png DESTINATION ${_hicolor}/48x48/apps
        RENAME ${QUOTESHOW_APP_ID}.png)
install(FILES ${_icons}/quoteshow.svg DESTINATION ${_hicolor}/scalable/apps
        RENAME ${QUOTESHOW_APP_ID}.svg)

# Manual page, section 6 (games and amusements), compressed as Debian wants.
find_program(QUOTESHOW_GZIP gzip REQUIRED)
set(_man_page ${_staged}/quoteshow.6)
add_custom_command(
  OUTPUT ${_man_page}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/quoteshow.6 ${_man_page}
  COMMAND ${QUOTESHOW_GZIP} -9nf ${_man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/quoteshow.6
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(quoteshow_man_page ALL DEPENDS ${_man_page}.gz)
install(FILES ${_man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quoteshow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${QUOTESHOW_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${QUOTESHOW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random quote viewer")
set(CPACK_PACKAGE_DESCRIPTION
    "QuoteShow reads a plain-text file of quotes, picks one at random and shows\n\
it in a small window, under the file's name and the quote's number. Quote\n\
files are UTF-8 or Windows-1252 text whose quotes are closed by lines that\n\
start with three asterisks. A sample file comes with the program.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUOTESHOW_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the Qt libraries the program links; the font and the
# X11 platform plugin are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-comic-neue, qt6-qpa-plugins")
include(CPack)

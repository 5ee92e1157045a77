# What the desktop game installs (cmake --install, under any prefix) and the Debian
# package made of it (cpack -G DEB, `make deb`): the program, its applications-menu entry
# and icons, its AppStream metainfo, a man page made from --help, and its documents.
include(GNUInstallDirs)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

set(appId io.github.quorvandelle.Quorvandelle)
set(QUORVANDELLE_HOMEPAGE https://github.com/quorvandelle/quorvandelle)
set(QUORVANDELLE_RELEASES ${QUORVANDELLE_HOMEPAGE}/releases)
set(packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
set(made ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${made})
configure_file(${packaging}/${appId}.metainfo.xml.in ${made}/${appId}.metainfo.xml @ONLY)
configure_file(${packaging}/changelog.in ${made}/changelog @ONLY)

# The icon at whole multiples of the console's 48 pixels, drawn from the same shapes.
set(iconSizes 48 96 192)
set(icons)
foreach(size IN LISTS iconSizes)
  add_custom_command(OUTPUT ${made}/icon-${size}.png
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/draw-icon.py ${made}/icon-${size}.png ${size}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/draw-icon.py VERBATIM)
  list(APPEND icons ${made}/icon-${size}.png)
  install(FILES ${made}/icon-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${appId}.png)
endforeach()

# The man page is --help's own text, so that the two cannot disagree.
add_custom_command(OUTPUT ${made}/quorvandelle.6.gz ${made}/changelog.gz
  COMMAND ${HELP2MAN} --no-info --section=6 --name "run a hamster breeding farm for twelve months"
          --output=${made}/quorvandelle.6 $<TARGET_FILE:quorvandelle>
  COMMAND ${GZIP} -9nf ${made}/quorvandelle.6
  COMMAND ${GZIP} -9nkf ${made}/changelog
  DEPENDS quorvandelle ${made}/changelog VERBATIM)
add_custom_target(quorvandelle_package_files ALL DEPENDS ${icons} ${made}/quorvandelle.6.gz ${made}/changelog.gz)

install(TARGETS quorvandelle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/${appId}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${made}/${appId}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${made}/quorvandelle.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging}/copyright ${made}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvandelle)

set(CPACK_PACKAGE_NAME quorvandelle)
set(CPACK_PACKAGE_VENDOR "The Quorvandelle authors")
set(CPACK_PACKAGE_CONTACT "The Quorvandelle authors <quorvandelle@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hamster breeding farm management game")
set(CPACK_PACKAGE_DESCRIPTION "Run a hamster breeding farm for twelve months: each month sell,
couple, buy food and cages, then see the litters born and the losses to
crowding and hunger. After a year the farm is valued and graded. The game
was written for the Nintendo 3DS; this is its desktop program, the
console's two screens in a window, played with the keyboard or a game
controller, and a headless mode that plays replay scripts.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${QUORVANDELLE_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian's "games" section is for programs in /usr/games; this one stands in /usr/bin.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # libSDL2 and the C and C++ libraries, as linked
include(CPack)

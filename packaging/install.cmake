# What `cmake --install` puts in place, and the Debian package (`make package`).
include(GNUInstallDirs)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/velmora)

# Games live in /usr/games on Debian.
install(TARGETS velmora RUNTIME DESTINATION games)
install(FILES packaging/${VELMORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${VELMORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS icon_sizes)
    install(FILES resources/icons/${size}.png RENAME ${VELMORA_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES resources/${VELMORA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Compressed without a timestamp, as Debian wants its manual pages and changelogs.
foreach(file velmora.6 changelog.Debian)
    add_custom_command(OUTPUT ${file}.gz
                       COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${file} > ${file}.gz
                       DEPENDS packaging/${file} VERBATIM)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS velmora.6.gz changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velmora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz packaging/copyright DESTINATION ${docdir})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME velmora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora team <velmora@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/velmora")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Hebrew faces the windows are drawn in, and Qt's display plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "culmus, qt6-qpa-plugins")
# A Wayland desktop without Qt's Wayland plugin would run the game through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "noughts and crosses for two players at one mouse")
# CPack starts each line after the first with the blank Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velmora is a desktop noughts-and-crosses game in Hebrew for two people who
share one mouse. The players take turns placing X and O on a three-by-three
board; the first full row, column or diagonal wins, and a scoreboard counts
the wins of each side and the draws for as long as the game runs. The
players choose who opens each game: always X, always O, or the winner of
the last game.")
include(CPack)

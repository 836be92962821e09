# Installation layout and the Debian package (cpack -G DEB, see scripts/package).
#
# The station reads Einstellungen.ini from the directory of its own executable, so the real
# program lives in /usr/lib/teststation/ beside a link to /etc/teststation/Einstellungen.ini,
# where the administrator keeps the site file; /usr/bin/teststation links to the program (Qt
# resolves the link: applicationDirPath() is /usr/lib/teststation). The unit, the autostart
# entry and the links are drawn for the package's prefix /usr.
# Linux only: the layout, the unit and the autostart entry are a Linux desktop's.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()
include(GNUInstallDirs)

set(TS_PRAEFIX /usr)
set(TS_PROGRAMMVERZEICHNIS ${TS_PRAEFIX}/lib/teststation)
set(TS_BINDIR ${TS_PRAEFIX}/${CMAKE_INSTALL_BINDIR})
set(TS_KONFIGURATION /etc/teststation)
set(TS_PAKETQUELLE ${PROJECT_SOURCE_DIR}/packaging)
set(TS_PAKETBAU ${CMAKE_BINARY_DIR}/paket)
# Everything below goes into this component; the package takes only it, so an install rule
# added elsewhere (tests, the demo generator) never slips into the .deb.
set(TS_KOMPONENTE teststation)

install(TARGETS teststation RUNTIME DESTINATION lib/teststation COMPONENT ${TS_KOMPONENTE})
install(TARGETS teststation-einstellungen teststation-pruefgeraet
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${TS_KOMPONENTE})

# Relative links, made in the build tree and installed as links (file(INSTALL) keeps them),
# so they also resolve inside a staging or chroot directory.
file(MAKE_DIRECTORY ${TS_PAKETBAU}/links)
file(RELATIVE_PATH ts_ziel ${TS_BINDIR} ${TS_PROGRAMMVERZEICHNIS}/teststation)
file(CREATE_LINK ${ts_ziel} ${TS_PAKETBAU}/links/teststation SYMBOLIC)
file(RELATIVE_PATH ts_ziel ${TS_PROGRAMMVERZEICHNIS} ${TS_KONFIGURATION}/Einstellungen.ini)
file(CREATE_LINK ${ts_ziel} ${TS_PAKETBAU}/links/Einstellungen.ini SYMBOLIC)
install(FILES ${TS_PAKETBAU}/links/teststation
    DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETBAU}/links/Einstellungen.ini
    DESTINATION lib/teststation COMPONENT ${TS_KOMPONENTE})
# The site file holds credentials and is written on site; the package only provides its place.
install(DIRECTORY DESTINATION ${TS_KONFIGURATION} COMPONENT ${TS_KOMPONENTE})

configure_file(${TS_PAKETQUELLE}/teststation-kiosk.in ${TS_PAKETBAU}/teststation-kiosk @ONLY)
configure_file(${TS_PAKETQUELLE}/teststation.service.in ${TS_PAKETBAU}/teststation.service
    @ONLY)
configure_file(${TS_PAKETQUELLE}/teststation-autostart.desktop.in
    ${TS_PAKETBAU}/teststation-autostart.desktop @ONLY)
install(PROGRAMS ${TS_PAKETBAU}/teststation-kiosk
    DESTINATION lib/teststation COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETBAU}/teststation.service
    DESTINATION lib/systemd/user COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETBAU}/teststation-autostart.desktop
    DESTINATION /etc/xdg/autostart RENAME teststation.desktop COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETQUELLE}/teststation.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETQUELLE}/teststation.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETQUELLE}/README.Debian
    ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/einstellungen.md
    ${PROJECT_SOURCE_DIR}/docs/database.md
    ${PROJECT_SOURCE_DIR}/db/schema.sql ${PROJECT_SOURCE_DIR}/db/station-rechte.sql
    ${PROJECT_SOURCE_DIR}/db/upgrade.sql
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/teststation COMPONENT ${TS_KOMPONENTE})

# An administrator's edit of the autostart entry (e.g. Hidden=true) survives an upgrade.
file(WRITE ${TS_PAKETBAU}/conffiles "/etc/xdg/autostart/teststation.desktop\n")

set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};${TS_KOMPONENTE};/")
set(CPACK_PACKAGING_INSTALL_PREFIX ${TS_PRAEFIX})
set(CPACK_PACKAGE_NAME teststation)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Muster GmbH")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Teststation Personenerdung: ESD-Erdungsprüfung am Kiosk")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Full-screen touch kiosk at the entrance of an electrostatic-protected area.\n"
    "Employees tap their photo on a department board and stand on an ESD tester\n"
    "connected to a serial port; every result is stored in a MariaDB/MySQL database.\n"
    "Includes the settings tool teststation-einstellungen and the tester simulator\n"
    "teststation-pruefgeraet.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Teststation-Entwicklung <teststation@muster.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform (xcb) and JPEG plugins are loaded at run time, invisible to dpkg-shlibdeps; they
# come with libqt6gui6, the SVG plugins with libqt6svg6, which the linked libraries pull in.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TS_PAKETBAU}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

find_program(TS_DPKG_DEB dpkg-deb)
if(TS_DPKG_DEB)
    add_test(NAME tst_paket COMMAND ${PROJECT_SOURCE_DIR}/tests/tst_paket.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(tst_paket PROPERTIES TIMEOUT 300
        ENVIRONMENT "CPACK=${CMAKE_CPACK_COMMAND};TS_VERSION=${PROJECT_VERSION}")
endif()

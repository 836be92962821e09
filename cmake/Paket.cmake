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
set(TS_DOKU ${CMAKE_INSTALL_DATADIR}/doc/teststation)
set(TS_PAKETQUELLE ${PROJECT_SOURCE_DIR}/packaging)
set(TS_PAKETBAU ${CMAKE_BINARY_DIR}/paket)
# Everything below goes into this component; the package takes only it, so an install rule
# added elsewhere (tests, the demo generator) never slips into the .deb.
set(TS_KOMPONENTE teststation)

install(TARGETS teststation RUNTIME DESTINATION lib/teststation COMPONENT ${TS_KOMPONENTE})
install(TARGETS teststation-einstellungen teststation-pruefgeraet teststation-bericht
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${TS_KOMPONENTE})
# The administrator's database setup, with the SQL files it loads where it looks for them.
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/datenbank-einrichten
    DESTINATION ${CMAKE_INSTALL_SBINDIR} RENAME teststation-datenbank-einrichten
    COMPONENT ${TS_KOMPONENTE})
install(FILES ${PROJECT_SOURCE_DIR}/db/schema.sql ${PROJECT_SOURCE_DIR}/db/station-rechte.sql
    ${PROJECT_SOURCE_DIR}/db/upgrade.sql ${PROJECT_SOURCE_DIR}/db/bericht-rechte.sql
    DESTINATION ${CMAKE_INSTALL_DATADIR}/teststation/db COMPONENT ${TS_KOMPONENTE})

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
# The site file holds credentials and is written on site. Its directory is made by postinst,
# not shipped: dpkg would otherwise warn at removal that the directory it owns is not empty.
# postrm removes both on purge.

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
    ${PROJECT_SOURCE_DIR}/docs/database.md ${PROJECT_SOURCE_DIR}/docs/setup.md
    ${PROJECT_SOURCE_DIR}/docs/troubleshooting.md ${PROJECT_SOURCE_DIR}/docs/kiosk.md
    DESTINATION ${TS_DOKU} COMPONENT ${TS_KOMPONENTE})

# An administrator's edit of the autostart entry (e.g. Hidden=true) survives an upgrade.
file(WRITE ${TS_PAKETBAU}/conffiles "/etc/xdg/autostart/teststation.desktop\n")

# --- What Debian wants besides: copyright, changelog, manual pages, lintian overrides ----------
find_program(TS_GZIP gzip REQUIRED)
set(TS_HANDBUCH ${TS_PAKETBAU}/handbuch)

# The changelog is kept by hand; its newest entry names the version the package gets, and its
# date dates the manual pages (so a rebuild gives the same pages).
file(STRINGS ${TS_PAKETQUELLE}/changelog ts_kopf LIMIT_COUNT 1)
file(STRINGS ${TS_PAKETQUELLE}/changelog ts_unterschrift REGEX "^ -- " LIMIT_COUNT 1)
string(REPLACE "." "\\." ts_version_muster ${PROJECT_VERSION})
if(NOT ts_kopf MATCHES "^teststation \\(${ts_version_muster}\\) ")
    message(FATAL_ERROR "packaging/changelog: der neueste Eintrag ist nicht die Version "
        "${PROJECT_VERSION} aus project(); bitte oben einen Eintrag für sie ergänzen.")
endif()
string(REGEX REPLACE "^.*>  " "" ts_datum "${ts_unterschrift}")
execute_process(COMMAND date -u -d "${ts_datum}" "+%s;%Y-%m-%d"
    OUTPUT_VARIABLE ts_zeit OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
list(GET ts_zeit 0 TS_PAKETZEIT)
list(GET ts_zeit 1 TS_HANDBUCHDATUM)

# gzip -9n: no name and no time in the header, so the same input gives the same bytes.
function(ts_gzip quelle ziel)
    add_custom_command(OUTPUT ${ziel}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${quelle} ${ziel}
        COMMAND ${TS_GZIP} -9nf ${ziel}
        DEPENDS ${quelle} VERBATIM)
endfunction()

# The version has no Debian revision: a native package, whose changelog is changelog.gz.
ts_gzip(${TS_PAKETQUELLE}/changelog ${TS_PAKETBAU}/changelog)
set(ts_erzeugt ${TS_PAKETBAU}/changelog.gz)
# The station needs a display and takes no options: its page is written by hand.
configure_file(${TS_PAKETQUELLE}/teststation.1.in ${TS_PAKETBAU}/teststation.1 @ONLY)
ts_gzip(${TS_PAKETBAU}/teststation.1 ${TS_HANDBUCH}/teststation.1)
set(ts_seiten ${TS_HANDBUCH}/teststation.1.gz)
configure_file(${TS_PAKETQUELLE}/teststation-datenbank-einrichten.8.in
    ${TS_PAKETBAU}/teststation-datenbank-einrichten.8 @ONLY)
ts_gzip(${TS_PAKETBAU}/teststation-datenbank-einrichten.8
    ${TS_HANDBUCH}/teststation-datenbank-einrichten.8)
set(ts_seiten8 ${TS_HANDBUCH}/teststation-datenbank-einrichten.8.gz)

# The tools' pages come from their --help and --version through help2man, with the sections of
# packaging/PROGRAMM.h2m. help2man reads German headings ("Aufruf:", "Optionen:") only under a
# German locale: one is made in the build tree, so the machine needs none installed.
find_program(TS_HELP2MAN help2man)
find_program(TS_LOCALEDEF localedef)
set(ts_locale ${TS_HANDBUCH}/locale)
if(TS_HELP2MAN AND TS_LOCALEDEF AND EXISTS /usr/share/i18n/locales/de_DE)
    add_custom_command(OUTPUT ${ts_locale}/de_DE.UTF-8/LC_CTYPE
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ts_locale}
        COMMAND ${TS_LOCALEDEF} -i de_DE -f UTF-8 ${ts_locale}/de_DE.UTF-8
        VERBATIM)
    # ts_handbuchseite(PROGRAMM LOCALE [help2man options])
    function(ts_handbuchseite programm locale)
        set(seite ${TS_HANDBUCH}/${programm}.1)
        add_custom_command(OUTPUT ${seite}.gz
            COMMAND ${CMAKE_COMMAND} -E env LOCPATH=${ts_locale} SOURCE_DATE_EPOCH=${TS_PAKETZEIT}
                ${TS_HELP2MAN} --locale=${locale} --no-info --section=1
                --include=${TS_PAKETQUELLE}/${programm}.h2m ${ARGN} --output=${seite}
                $<TARGET_FILE:${programm}>
            COMMAND ${TS_GZIP} -9nf ${seite}
            DEPENDS ${programm} ${TS_PAKETQUELLE}/${programm}.h2m
                ${ts_locale}/de_DE.UTF-8/LC_CTYPE
            VERBATIM)
    endfunction()
    ts_handbuchseite(teststation-einstellungen de_DE.UTF-8)
    ts_handbuchseite(teststation-bericht de_DE.UTF-8)
    # Its --help still carries Qt's English headings and it has no --version: English section
    # names until it speaks German throughout.
    ts_handbuchseite(teststation-pruefgeraet C.UTF-8 --version-string=${PROJECT_VERSION})
    list(APPEND ts_seiten ${TS_HANDBUCH}/teststation-einstellungen.1.gz
        ${TS_HANDBUCH}/teststation-bericht.1.gz
        ${TS_HANDBUCH}/teststation-pruefgeraet.1.gz)
else()
    message(WARNING "help2man oder die deutsche Locale-Quelle (Paket locales) fehlt: das Paket "
        "bekommt keine Handbuchseiten der Werkzeuge (scripts/lib/pakete.sh installiert beides).")
endif()
add_custom_target(ts_paketdateien ALL DEPENDS ${ts_erzeugt} ${ts_seiten} ${ts_seiten8})

install(FILES ${TS_PAKETQUELLE}/copyright ${TS_PAKETBAU}/changelog.gz
    DESTINATION ${TS_DOKU} COMPONENT ${TS_KOMPONENTE})
install(FILES ${ts_seiten} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${TS_KOMPONENTE})
install(FILES ${ts_seiten8} DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT ${TS_KOMPONENTE})
install(FILES ${TS_PAKETQUELLE}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME teststation
    COMPONENT ${TS_KOMPONENTE})

set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};${TS_KOMPONENTE};/")
set(CPACK_PACKAGING_INSTALL_PREFIX ${TS_PRAEFIX})
set(CPACK_PACKAGE_NAME teststation)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Muster GmbH")
# The synopsis must not start with the package name (lintian).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ESD-Erdungsprüfung von Personen am Touch-Kiosk")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Full-screen touch kiosk at the entrance of an electrostatic-protected area.\n"
    "Employees tap their photo on a department board and stand on an ESD tester\n"
    "connected to a serial port; every result is stored in a MariaDB/MySQL database.\n"
    "Includes the settings tool teststation-einstellungen, the database setup\n"
    "teststation-datenbank-einrichten, the report tool teststation-bericht (day\n"
    "and period reports as PDF and CSV) and the tester simulator\n"
    "teststation-pruefgeraet.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Teststation-Entwicklung <teststation@muster.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# teststation-datenbank-einrichten talks to the server through the mariadb client.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mariadb-client")
# Qt's platform (xcb) and JPEG plugins are loaded at run time, invisible to dpkg-shlibdeps; they
# come with libqt6gui6, the SVG plugins with libqt6svg6, which the linked libraries pull in.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TS_PAKETBAU}/conffiles ${TS_PAKETQUELLE}/postinst
    ${TS_PAKETQUELLE}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

find_program(TS_DPKG_DEB dpkg-deb)
if(TS_DPKG_DEB)
    add_test(NAME tst_paket COMMAND ${PROJECT_SOURCE_DIR}/tests/tst_paket.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(tst_paket PROPERTIES TIMEOUT 300
        ENVIRONMENT "CPACK=${CMAKE_CPACK_COMMAND};TS_VERSION=${PROJECT_VERSION}")
endif()

# The Debian package (scripts/package.sh): the installed programs and data under /usr, its
# dependencies worked out from the programs by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orba)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Katalog und Bestellung von Medien für das Schultheater")
set(CPACK_PACKAGE_DESCRIPTION
    "ORBA ist der Katalog und das Bestellprogramm einer Ausleihe für das Schultheater: \
Theaterstücke, Werkbücher und AV-Medien suchen, in einer privaten Liste mit Notizen \
merken, in einem Bestellkorb mit Reservierungsdatum sammeln, Bestellungen drucken \
oder per E-Mail senden.\n\
Aus dem Menü gestartet arbeitet ORBA im Datenordner des Benutzers, den der erste \
Start aus dem mitgelieferten Datenbestand füllt.")
set(CPACK_PACKAGE_CONTACT ${ORBA_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORBA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt's own dialogs in German, and the metric twin of Arial that reports are laid out in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2")
# Installing or packaging builds nothing: scripts/package.sh builds just what is installed,
# not every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

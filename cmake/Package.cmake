# The Debian package (scripts/package.sh): the installed programs and data under /usr, its
# dependencies worked out from the programs by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orba)
# The version names the data set (4.0+demo, 4.0+spielberatung.2027.01), and so does the last
# paragraph of the description; the demo's summary says it is one.
set(CPACK_PACKAGE_VERSION ${ORBA_PACKAGE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Katalog und Bestellung von Medien für das Schultheater")
if(ORBA_DEMO)
    string(APPEND CPACK_PACKAGE_DESCRIPTION_SUMMARY " (Demo)")
endif()

# Debian wants the lines of the long description at most 80 characters wide; CPack indents
# each by one.
function(orba_wrapped_lines text out)
    string(REPLACE " " ";" words "${text}")
    set(lines "")
    set(line "")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(line AND length GREATER 76)
            string(APPEND lines "${line}\n")
            set(line "${word}")
        elseif(line)
            string(APPEND line " ${word}")
        else()
            set(line "${word}")
        endif()
    endforeach()
    set(${out} "${lines}${line}" PARENT_SCOPE)
endfunction()
set(CPACK_PACKAGE_DESCRIPTION "")
foreach(paragraph
        "ORBA ist der Katalog und das Bestellprogramm einer Ausleihe für das Schultheater: \
Theaterstücke, Werkbücher und AV-Medien suchen, in einer privaten Liste mit Notizen merken, in \
einem Bestellkorb mit Reservierungsdatum sammeln, Bestellungen drucken oder per E-Mail senden."
        "Aus dem Menü gestartet arbeitet ORBA im Datenordner des Benutzers, den der erste Start \
aus dem mitgelieferten Datenbestand füllt. Systemweite Einstellungen für alle Benutzer stehen in \
${ORBA_SYSTEM_SETTINGS_DIR}/orbaw.ini."
        "${ORBA_DATA_SET_NOTE}")
    orba_wrapped_lines("${paragraph}" lines)
    if(CPACK_PACKAGE_DESCRIPTION)
        string(APPEND CPACK_PACKAGE_DESCRIPTION "\n\n")
    endif()
    string(APPEND CPACK_PACKAGE_DESCRIPTION "${lines}")
endforeach()
set(CPACK_PACKAGE_CONTACT ${ORBA_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORBA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg keeps an administrator's edits of the system-wide settings across upgrades.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/data/conffiles)
# Qt's own dialogs in German, and the metric twin of Arial that reports are laid out in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2")
# Installing or packaging builds nothing: scripts/package.sh builds just what is installed,
# not every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

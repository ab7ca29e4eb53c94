# The data set the package installs and each user's data folder is filled from: the
# organisation's catalogue, statistics, keyword list, information, masks, help and settings
# orbaw.ini. The demo is the default, for trying ORBA out; an organisation names the folder of
# its own (scripts/package.sh --daten).
set(ORBA_DEMO_DATA_SET ${PROJECT_SOURCE_DIR}/demo)
set(ORBA_DATA_SET ${ORBA_DEMO_DATA_SET} CACHE PATH "Folder of the data set the package installs")
get_filename_component(ORBA_DATA_SET "${ORBA_DATA_SET}" ABSOLUTE)
option(ORBA_DEMO "The data set is a demo (local test mail server, the demo's update key)" OFF)
if(ORBA_DATA_SET STREQUAL ORBA_DEMO_DATA_SET)
    set(ORBA_DEMO ON)
endif()
set(ORBA_DATA_SET_NAME "" CACHE STRING
    "Short name of the data set in the package's version; empty for the folder's name")

# The name as a Debian version allows it: lower case, digits and dots.
set(name "${ORBA_DATA_SET_NAME}")
if(NOT name)
    get_filename_component(name "${ORBA_DATA_SET}" NAME)
endif()
string(TOLOWER "${name}" name)
string(REGEX REPLACE "[^a-z0-9.]+" "." name "${name}")
string(REGEX REPLACE "^\\.+|\\.+$" "" name "${name}")
if(NOT name MATCHES "^[a-z0-9]")
    message(FATAL_ERROR "Der Datenbestand braucht einen Namen aus Buchstaben und Ziffern "
                        "(ORBA_DATA_SET_NAME).")
endif()
set(ORBA_DATA_SET_LABEL ${name})
set(ORBA_PACKAGE_VERSION ${PROJECT_VERSION}+${name})

# Where the package puts the data set's settings as the system-wide settings of every user
# (SystemSettings::defaultPath).
set(ORBA_SYSTEM_SETTINGS_DIR /etc/orba)

include(${CMAKE_CURRENT_LIST_DIR}/CheckDataSet.cmake)
# A changed key in the data set's settings is checked again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORBA_DATA_SET}/orbaw.ini)

# Refuses a data set that cannot work: one without its catalogue or settings, and one whose
# update key is the demo's unless it is declared a demo, as the demo's secret key is public
# and anyone could sign updates for it. Also runs alone:
#   cmake -DORBA_DATA_SET=folder -DORBA_DEMO=OFF -P cmake/CheckDataSet.cmake

# What "orbasign schluessel --demo" prints.
set(demo_key "/m42TfnP2Z1p+x9JIa5UwrGt8ovOzpAXd5Zqh36PQBE=")

foreach(file orb32.dat orbaw.ini)
    if(NOT EXISTS "${ORBA_DATA_SET}/${file}")
        message(FATAL_ERROR "Im Datenbestand ${ORBA_DATA_SET} fehlt ${file}.")
    endif()
endforeach()

# Key "Schluessel" of section "Aktualisierung", in any letter case and with blanks around.
file(READ "${ORBA_DATA_SET}/orbaw.ini" settings)
string(REGEX MATCH
       "\n[ \t]*\\[[ \t]*[Aa][Kk][Tt][Uu][Aa][Ll][Ii][Ss][Ii][Ee][Rr][Uu][Nn][Gg][ \t]*\\][^[]*"
       section "\n${settings}")
string(REGEX MATCH "\n[ \t]*[Ss][Cc][Hh][Ll][Uu][Ee][Ss][Ss][Ee][Ll][ \t]*=[^\r\n]*" line
       "${section}")
set(key "")
if(line)
    string(FIND "${line}" "=" equals)
    math(EXPR equals "${equals} + 1")
    string(SUBSTRING "${line}" ${equals} -1 key)
    string(STRIP "${key}" key)
endif()
if(key STREQUAL demo_key AND NOT ORBA_DEMO)
    message(FATAL_ERROR
            "Der Datenbestand ${ORBA_DATA_SET} trägt den Demo-Schlüssel für Aktualisierungen, "
            "dessen geheimen Schlüssel jeder kennt. Eine Organisation trägt ihren eigenen "
            "Schlüssel ein (orbasign schluessel); eine Demo wird als solche gebaut "
            "(ORBA_DEMO=ON, scripts/package.sh --demo).")
endif()

# Many stations at once: twenty load drivers (tools/stationslast) against a server of the test's
# own, while the board is read in a loop.
ts_add_test(tst_viele_stationen SOURCES tst_viele_stationen.cpp
    LIBS ts_demofirma ts_main_window)
target_compile_definitions(tst_viele_stationen PRIVATE
    STATIONSLAST="$<TARGET_FILE:teststation-stationslast>"
    STATION_RECHTE="${PROJECT_SOURCE_DIR}/db/station-rechte.sql"
    TS_BUILD_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(tst_viele_stationen teststation-stationslast)
ts_eigene_testdb(tst_viele_stationen)
# The load takes both cores, so the test runs alone; 10 000 measurements need their time.
set_tests_properties(tst_viele_stationen PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE LABELS last)

# Stations on a three-node Galera cluster of their own (scripts/testdb cluster, directory
# build/testcluster): fail-over, conflicts between nodes, a node's return.
set(TS_CLUSTER_DIR ${CMAKE_BINARY_DIR}/testcluster)
add_test(NAME testcluster_start
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/testdb cluster start ${TS_CLUSTER_DIR})
add_test(NAME testcluster_stop
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/testdb cluster stop ${TS_CLUSTER_DIR})
# Two state transfers on a busy machine.
set_tests_properties(testcluster_start PROPERTIES FIXTURES_SETUP cluster TIMEOUT 600 LABELS cluster)
set_tests_properties(testcluster_stop PROPERTIES FIXTURES_CLEANUP cluster TIMEOUT 120 LABELS cluster)

ts_add_test(tst_cluster SOURCES tst_cluster.cpp LIBS ts_tester ts_journal)
target_compile_definitions(tst_cluster PRIVATE
    TS_CLUSTER_DIR="${TS_CLUSTER_DIR}"
    TS_TESTDB_SKRIPT="${PROJECT_SOURCE_DIR}/scripts/testdb"
    TS_BUILD_DIR="${CMAKE_BINARY_DIR}")
# Three servers and a dozen writers take both cores.
set_tests_properties(tst_cluster PROPERTIES FIXTURES_REQUIRED cluster TIMEOUT 900 RUN_SERIAL TRUE
    LABELS cluster)

# One line per test or benchmark program:
#   trellicap_add_test(NAME SOURCES a.cpp b.cpp LIBS ... [WIDGETS])
# WIDGETS: the test drives windows and gets the QApplication main; otherwise it runs on a
# QGuiApplication and links no widgets. Tests link the libraries and never re-list sources.
include(GoogleTest)
find_package(GTest REQUIRED)

function(trellicap_add_test name)
    cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
    if(ARG_WIDGETS)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} trellicap_test_main)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} trellicap_test_main_core)
    endif()
    set(env "QT_QPA_PLATFORM=offscreen" ${TRELLICAP_TEST_ENVIRONMENT})
    if(TARGET instrument-sim)
        list(APPEND env "TRELLICAP_SIM=$<TARGET_FILE:instrument-sim>")
        add_dependencies(${name} instrument-sim)
    endif()
    # The environment is one property value: escape its list separators.
    string(REPLACE ";" "\\;" env "${env}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120)
endfunction()

function(trellicap_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

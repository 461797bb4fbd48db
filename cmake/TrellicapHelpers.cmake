# One test program per folder of tests/, one line each:
#   trellicap_add_test(NAME SOURCES a.cpp b.cpp LIBS ... [WIDGETS] [DEFINITIONS D=V ...]
#                      [DEPENDS target ...])
# WIDGETS: the tests drive windows and get the QApplication main; otherwise they run on a
# QGuiApplication and link no widgets. Tests link the libraries and never re-list sources.
# gtest discovery still makes one CTest case per test, each run in a process of its own.
include(GoogleTest)
find_package(GTest REQUIRED)

function(trellicap_add_test name)
    cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS;DEFINITIONS;DEPENDS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
    # Every model the registry knows, the test models among them.
    set(registry trellicap_all_model_names trellicap_all_model_profiles)
    if(ARG_WIDGETS)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} trellicap_test_main ${registry})
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} trellicap_test_main_core ${registry})
    endif()
    if(ARG_WIDGETS)
        trellicap_precompile(${name} WIDGETS TEST)
    else()
        trellicap_precompile(${name} GUI TEST)
    endif()
    if(ARG_DEFINITIONS)
        target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    endif()
    if(ARG_DEPENDS)
        add_dependencies(${name} ${ARG_DEPENDS})
    endif()
    set(env "QT_QPA_PLATFORM=offscreen" ${TRELLICAP_TEST_ENVIRONMENT})
    if(TARGET instrument-sim)
        list(APPEND env "TRELLICAP_SIM=$<TARGET_FILE:instrument-sim>")
        add_dependencies(${name} instrument-sim)
        target_compile_definitions(${name} PRIVATE
            TRELLICAP_SIM_PATH="$<TARGET_FILE:instrument-sim>")
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
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark trellicap_model_names
                                          trellicap_model_profiles)
endfunction()

# Precompiled headers: the standard and Qt headers most files of a target include, parsed
# once per target instead of once per file. The set follows the Qt modules the target can
# see: CORE (Qt Core), GUI (and Qt Gui), WIDGETS (and Qt Widgets); tests add GoogleTest.
set(TRELLICAP_PCH_CORE <algorithm> <array> <functional> <memory> <optional> <span>
    <string_view> <vector> <QByteArray> <QDir> <QFile> <QFileInfo> <QList> <QObject> <QString>
    <QStringList> <QTimer>)
set(TRELLICAP_PCH_GUI ${TRELLICAP_PCH_CORE} <QColor> <QFont> <QImage> <QPainter>)
set(TRELLICAP_PCH_WIDGETS ${TRELLICAP_PCH_GUI} <QDialog> <QLabel> <QLineEdit> <QListWidget>
    <QPushButton> <QWidget>)

function(trellicap_precompile target flavour)
    if(NOT TRELLICAP_PCH)
        return()
    endif()
    set(headers ${TRELLICAP_PCH_${flavour}})
    if(ARGC GREATER 2 AND ARGV2 STREQUAL "TEST")
        list(APPEND headers <gtest/gtest.h>)
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

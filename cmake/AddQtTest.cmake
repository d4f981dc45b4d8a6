# add_qt_test(<name> SOURCES <files...> [LIBS <targets...>] [XVFB] [TIMEOUT <s>] [LABELS <l...>])
#
# Builds a QtTest executable and registers it with CTest. Tests run offscreen by
# default; XVFB runs the test on a private X server for real windows. Every test gets
# its own HOME and XDG_RUNTIME_DIR so settings, lock files and WebEngine profiles of
# one run never leak into another.
function(add_qt_test name)
    cmake_parse_arguments(T "XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE project_options Qt5::Test ${T_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    set(sandbox ${CMAKE_CURRENT_BINARY_DIR}/${name}.home)
    set(runner ${PROJECT_SOURCE_DIR}/cmake/run-test.sh)
    if(T_XVFB)
        add_test(NAME ${name} COMMAND ${runner} ${sandbox} xvfb $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${runner} ${sandbox} offscreen $<TARGET_FILE:${name}>)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    # QTest ends any one function after five minutes of its own; a sweep that may take the
    # test's whole budget on a loaded machine must be stopped by that budget alone.
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "LAUNCHER_BIN_DIR=${LAUNCHER_OUTPUT_DIR};LAUNCHER_SOURCE_DIR=${PROJECT_SOURCE_DIR};QTEST_FUNCTION_TIMEOUT=${T_TIMEOUT}000")
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()

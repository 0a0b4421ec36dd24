# quintaris_add_test(<name> SOURCES <files...> [LIBS <targets...>] [SERIAL])
# One Qt Test executable registered with CTest, run headless against the shared private engine root.
function(quintaris_add_test name)
    cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE quintaris_testsupport Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime;QUINTARIS_FIREBIRD_ROOT=${CMAKE_BINARY_DIR}/engine-root"
        TIMEOUT 600)
    if(ARG_SERIAL)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()

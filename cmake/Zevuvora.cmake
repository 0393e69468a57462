# Build helpers shared by every layer.

# The layers, lowest first (src/ and tests/ hold one folder each). A layer links only the layers
# below it.
set(ZV_LAYERS platform imaging controls settings capture device session window app)

# Sanitizers apply to every target of the build tree, the tests included.
function(zv_enable_sanitizers list)
    if(list STREQUAL "")
        return()
    endif()
    string(REPLACE "," ";" names "${list}")
    foreach(name IN LISTS names)
        add_compile_options(-fsanitize=${name})
        add_link_options(-fsanitize=${name})
    endforeach()
    add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endfunction()

function(zv_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Werror)
endfunction()

# zv_add_layer(<name> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per layer, named zv_<name>; headers are included as "<layer>/<file>.h".
function(zv_add_layer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(zv_${name} STATIC ${ARG_SOURCES})
    target_include_directories(zv_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(zv_${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    zv_warnings(zv_${name})
endfunction()

# zv_add_test(<name> LABEL <layer> SOURCES ... [LIBS ...] [GUI] [EXTRA_LABELS ...])
# One test program per unit under test. GUI programs get a QApplication on the offscreen
# platform; the others a plain GoogleTest main. Tests of threaded code carry the extra label
# "tsan": the target zv_tsan_tests builds just those, for the ThreadSanitizer tree.
function(zv_add_test name)
    cmake_parse_arguments(ARG "GUI" "LABEL" "SOURCES;LIBS;EXTRA_LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    zv_warnings(${name})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} zv_test_support_gui)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} zv_test_support)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    if("tsan" IN_LIST ARG_EXTRA_LABELS)
        add_dependencies(zv_tsan_tests ${name})
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "${ARG_LABEL};${ARG_EXTRA_LABELS}"
        ENVIRONMENT "${ZV_TEST_ENVIRONMENT}")
endfunction()

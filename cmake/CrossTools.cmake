# A build for another system (Windows from Linux): the tools that run during the build come
# from the build machine, GoogleTest is built from Debian's sources for the target.

# lrelease of the build machine's Qt (the same version as the target's).
find_program(CPS_HOST_LRELEASE lrelease PATHS /usr/lib/qt6/bin ${QT_HOST_PATH}/lib/qt6/bin
             NO_CMAKE_FIND_ROOT_PATH REQUIRED)
function(qt_add_lrelease target)
    cmake_parse_arguments(L "" "QM_FILES_OUTPUT_VARIABLE" "TS_FILES" ${ARGN})
    set(qm_files "")
    foreach(ts ${L_TS_FILES})
        get_filename_component(base ${ts} NAME_WE)
        get_source_file_property(dir ${ts} OUTPUT_LOCATION)
        if(NOT dir)
            set(dir ${CMAKE_CURRENT_BINARY_DIR})
        endif()
        set(qm ${dir}/${base}.qm)
        add_custom_command(OUTPUT ${qm}
            COMMAND ${CPS_HOST_LRELEASE} -silent ${ts} -qm ${qm}
            DEPENDS ${ts} VERBATIM)
        list(APPEND qm_files ${qm})
    endforeach()
    add_custom_target(${target}_lrelease ALL DEPENDS ${qm_files})
    add_dependencies(${target} ${target}_lrelease)
    if(L_QM_FILES_OUTPUT_VARIABLE)
        set(${L_QM_FILES_OUTPUT_VARIABLE} ${qm_files} PARENT_SCOPE)
    endif()
endfunction()

# GoogleTest for the target, from the sources libgtest-dev installs.
set(CPS_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for a cross build")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${CPS_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main)
    # Its own code is not held to this project's warnings.
    target_compile_options(${t} PRIVATE -w)
    if(NOT TARGET GTest::${t})
        add_library(GTest::${t} ALIAS ${t})
    endif()
endforeach()

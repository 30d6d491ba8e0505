# The libraries of the Windows build that Debian ships only for Linux, made for the target
# from Debian's own sources (included after project() by the `windows` preset):
#   GoogleTest    from /usr/src/googletest (googletest)
#   CLI11, json   their headers, copied away from /usr/include, which must not be searched
#   RE2           its Debian source package, unpacked by scripts/setup-windows and built here
#                 once per build folder
# zlib is Debian's libz-mingw-w64-dev and found as usual.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32)
    return()
endif()

set(deps_dir ${CMAKE_BINARY_DIR}/windows-deps)

# Runs before the project's options are declared: unset means the default, on.
if(NOT DEFINED KESTRUNE_BUILD_TESTS OR KESTRUNE_BUILD_TESTS)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${deps_dir}/googletest EXCLUDE_FROM_ALL SYSTEM)
    foreach(library gtest gtest_main)
        if(NOT TARGET GTest::${library})
            add_library(GTest::${library} ALIAS ${library})
        endif()
    endforeach()
endif()

foreach(header_folder CLI nlohmann)
    if(NOT EXISTS /usr/include/${header_folder})
        message(FATAL_ERROR "/usr/include/${header_folder} is missing: run scripts/setup-windows")
    endif()
    file(COPY /usr/include/${header_folder} DESTINATION ${deps_dir}/include)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${deps_dir}/include)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${deps_dir}/include)
# find_package() looks here before anywhere else, in module mode too: the targets above answer.
foreach(package gtest cli11 nlohmann_json)
    file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${package}-config.cmake
         "# Made for the target by WindowsDeps.cmake.\n")
endforeach()

# RE2: configured, built and installed into the build folder at the first configure.
set(KESTRUNE_RE2_SOURCE ${PROJECT_SOURCE_DIR}/build/windows-sources/re2 CACHE PATH
    "RE2's source (Debian's source package re2, unpacked by scripts/setup-windows)")
set(re2_prefix ${deps_dir}/re2)
if(NOT EXISTS ${re2_prefix}/lib/libre2.a)
    if(NOT EXISTS ${KESTRUNE_RE2_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "RE2's source is not at ${KESTRUNE_RE2_SOURCE}: run scripts/setup-windows")
    endif()
    message(STATUS "Building RE2 for Windows from ${KESTRUNE_RE2_SOURCE}")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -S ${KESTRUNE_RE2_SOURCE} -B ${deps_dir}/re2-build -G Ninja
                -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_LIST_DIR}/MinGW64.cmake
                -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=${re2_prefix}
                -DRE2_BUILD_TESTING=OFF -DBUILD_SHARED_LIBS=OFF
                -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
                -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
        COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${deps_dir}/re2-build --target install
                    COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
endif()
# The log viewer finds it through pkg-config, as on Linux; the host's own .pc files are not
# looked at, so nothing of /usr/include or /usr/lib comes into the Windows build.
file(WRITE ${deps_dir}/pkgconfig/re2.pc "prefix=${re2_prefix}
Name: re2
Description: RE2 for Windows, built from Debian's source
Version: 20220601
Cflags: -I\${prefix}/include
Libs: -L\${prefix}/lib -lre2
")
set(ENV{PKG_CONFIG_LIBDIR} ${deps_dir}/pkgconfig)
list(APPEND CMAKE_FIND_ROOT_PATH ${re2_prefix})
set(ENV{PKG_CONFIG_PATH} "")

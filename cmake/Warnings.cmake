# The stricter warnings our own code is held to, on top of kestrune_options' -Wall -Wextra
# -Wpedantic: a name that hides another, a conversion that can change a value, a C-style cast,
# an overload that hides a virtual function, and a class with virtual functions whose destructor
# is not virtual. With KESTRUNE_WERROR they are errors like the rest.
#
# They are given to a target PRIVATE-ly, by kestrune_strict_warnings(TARGET...), so they apply to
# the sources of the targets that ask and not to whatever links them. Other libraries' headers
# (MinGW's, Qt's, GoogleTest's) come in as system headers and stay quiet.
add_library(kestrune_warnings INTERFACE)
if(NOT MSVC)
    target_compile_options(kestrune_warnings INTERFACE
        $<$<COMPILE_LANGUAGE:CXX>:-Wshadow;-Wconversion;-Wold-style-cast;-Woverloaded-virtual;-Wnon-virtual-dtor>)
endif()
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # clang's -Wconversion also takes in -Wsign-conversion, which GCC's does not for C++; the
    # fuzz build (clang) asks for the same as the others (GCC).
    target_compile_options(kestrune_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-sign-conversion>)
endif()

function(kestrune_strict_warnings)
    foreach(target IN LISTS ARGN)
        target_link_libraries(${target} PRIVATE kestrune_warnings)
    endforeach()
endfunction()

# The Qt code's own strictness: no bare signals/slots/emit keywords, no QString made from a
# narrow literal without saying its encoding, no narrowing argument in a connection.
function(kestrune_qt_strictness)
    foreach(target IN LISTS ARGN)
        target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII
            QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
    endforeach()
endfunction()
